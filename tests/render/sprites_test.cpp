// Image loading: conversion, frame names, colour keys, and missing files left empty.
#include "render/sprites.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "render/media.h"
#include "render_support.h"

using namespace rendertest;
namespace fs = std::filesystem;

namespace {

// Runs a test inside a fresh temporary folder and returns to the repository afterwards.
class InTempDir {
 public:
  InTempDir() {
    home_ = fs::current_path();
    char pattern[] = "/tmp/zor_sprites_XXXXXX";
    dir_ = mkdtemp(pattern);
    fs::current_path(dir_);
  }
  ~InTempDir() {
    fs::current_path(home_);
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

 private:
  fs::path home_, dir_;
};

// Writes a small BMP (IMG_Load reads by content, so the name may end in .png) whose
// top-left pixel has the given colour and the rest mid grey.
void writeImage(const std::string& path, Uint32 corner, int w = 6, int h = 4) {
  const fs::path folder = fs::path(path).parent_path();
  if (!folder.empty()) fs::create_directories(folder);
  SurfacePtr s = plainSurface(w, h, rgb(128, 128, 128));
  setRawPixel(s.get(), 0, 0, corner);
  ASSERT_EQ(SDL_SaveBMP(s.get(), path.c_str()), 0) << path;
}

bool keyedWith(const SurfacePtr& s, Uint8 r, Uint8 g, Uint8 b) {
  return s && (s->flags & SDL_SRCCOLORKEY) && s->format->colorkey == SDL_MapRGB(s->format, r, g, b);
}

}  // namespace

TEST(LoadImage, ConvertsToThirtyTwoBitsAndGivesNothingForABadFile) {
  startMedia();
  InTempDir temp;
  writeImage("pic.png", rgb(0, 76, 161), 7, 5);
  SurfacePtr image = loadImage("pic.png");
  ASSERT_TRUE(image);
  EXPECT_EQ(image->w, 7);
  EXPECT_EQ(image->h, 5);
  EXPECT_EQ(image->format->BitsPerPixel, 32);
  Uint8 r, g, b;
  SDL_GetRGB(rawPixel(image.get(), 0, 0), image->format, &r, &g, &b);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(g, 76);
  EXPECT_EQ(b, 161);
  SDL_GetRGB(rawPixel(image.get(), 6, 4), image->format, &r, &g, &b);
  EXPECT_EQ(r, 128);

  EXPECT_FALSE(loadImage("missing.png"));
  {
    std::FILE* junk = std::fopen("junk.png", "wb");
    ASSERT_TRUE(junk);
    std::fputs("not an image at all", junk);
    std::fclose(junk);
  }
  EXPECT_FALSE(loadImage("junk.png"));
  EXPECT_FALSE(loadImage(""));
}

TEST(LoadFrames, BuildsNamesFromStemAndIndexAndKeysEveryLoadedFrame) {
  startMedia();
  InTempDir temp;
  // The pedestrian stem ends in a dot, so its names carry two.
  writeImage("peds/pedestrant.0.png", rgb(1, 0, 0));
  writeImage("peds/pedestrant.5.png", rgb(5, 0, 0));
  std::array<SurfacePtr, 10> table;
  loadFrames("peds/", "pedestrant.", 7, "png", table.data(), 0x0000FF00);
  ASSERT_TRUE(table[0]);
  ASSERT_TRUE(table[5]);
  EXPECT_EQ(colourAt(table[5].get(), 0, 0), rgb(5, 0, 0));
  for (int i : {0, 5}) {
    EXPECT_TRUE(table[i]->flags & SDL_SRCCOLORKEY) << i;
    EXPECT_EQ(table[i]->format->colorkey, 0x0000FF00u) << i;
  }
  for (int i : {1, 2, 3, 4, 6, 7, 8, 9}) EXPECT_FALSE(table[i]) << i;
}

TEST(LoadSprites, FillsEveryFieldWithItsKeyAndSkipsMissingFiles) {
  startMedia();
  InTempDir temp;
  writeImage("GFX/background.png", rgb(0, 255, 0), 12, 10);
  writeImage("GFX/status/money.png", rgb(0, 76, 161));
  writeImage("GFX/status/heart.png", rgb(0, 76, 161));
  writeImage("GFX/money.png", rgb(0, 255, 0));
  writeImage("GFX/status/star.png", rgb(0, 255, 0));
  writeImage("GFX/arrows/arrow0.png", rgb(0, 255, 0));
  writeImage("GFX/Playeranimation/player7.png", rgb(7, 7, 7));
  writeImage("GFX/bullets/bullet1.png", rgb(1, 1, 1));
  writeImage("GFX/cars/car0.png", rgb(2, 2, 2));
  writeImage("GFX/weapons/weapon2.png", rgb(3, 3, 3));
  writeImage("GFX/pedestrants/pedestrant1/pedestrant.5.png", rgb(4, 4, 4));
  // Files outside the lists are never read.
  writeImage("GFX/cars/car2.png", rgb(9, 9, 9));
  writeImage("GFX/targets/target1.png", rgb(9, 9, 9));

  Media media;
  loadSprites(media);

  ASSERT_TRUE(media.background);
  EXPECT_FALSE(media.background->flags & SDL_SRCCOLORKEY);
  EXPECT_TRUE(keyedWith(media.moneyIcon, 0, 76, 161));
  EXPECT_TRUE(keyedWith(media.heartIcon, 0, 76, 161));
  EXPECT_TRUE(keyedWith(media.moneyImage, 0, 255, 0));
  EXPECT_TRUE(keyedWith(media.starIcon, 0, 255, 0));
  EXPECT_TRUE(keyedWith(media.arrowImage[0], 0, 255, 0));
  EXPECT_FALSE(media.crosshair);
  EXPECT_FALSE(media.bloodStain);
  EXPECT_FALSE(media.weaponBackground);
  EXPECT_FALSE(media.targetImage[0]);
  EXPECT_FALSE(media.targetImage[1]);

  EXPECT_TRUE(keyedWith(media.playerFrames[7], 0, 255, 0));
  EXPECT_EQ(colourAt(media.playerFrames[7].get(), 0, 0), rgb(7, 7, 7));
  EXPECT_TRUE(keyedWith(media.bulletFrames[1], 0, 255, 0));
  EXPECT_TRUE(keyedWith(media.carFrames[0], 0, 255, 0));
  EXPECT_FALSE(media.carFrames[1]);
  EXPECT_FALSE(media.carFrames[2]);
  EXPECT_TRUE(keyedWith(media.weaponFrames[2], 0, 255, 0));
  EXPECT_EQ(colourAt(media.weaponFrames[2].get(), 0, 0), rgb(3, 3, 3));
  EXPECT_TRUE(keyedWith(media.pedestrianFrames[5], 0, 255, 0));
  EXPECT_EQ(colourAt(media.pedestrianFrames[5].get(), 0, 0), rgb(4, 4, 4));
  for (int i = 0; i < 80; ++i) EXPECT_EQ(media.pedestrianFrames[i] != nullptr, i == 5) << i;
  EXPECT_FALSE(media.dotImage);  // the game's start loads dot.bmp
}

TEST(LoadSprites, WithoutTheIconsTheOtherImagesAreStillKeyedGreen) {
  startMedia();
  InTempDir temp;
  writeImage("GFX/crosshair.png", rgb(0, 255, 0));
  writeImage("GFX/cars/car1.png", rgb(2, 2, 2));
  Media media;
  loadSprites(media);
  EXPECT_FALSE(media.heartIcon);
  EXPECT_FALSE(media.moneyIcon);
  EXPECT_TRUE(keyedWith(media.crosshair, 0, 255, 0));
  EXPECT_TRUE(keyedWith(media.carFrames[1], 0, 255, 0));
}

// The game's own art, as far as it has been drawn: every listed file that exists loads.
TEST(LoadSprites, LoadsWhateverOfTheGamesArtIsPresent) {
  startMedia();
  Media media;
  loadSprites(media);
  const struct {
    const char* path;
    const SurfacePtr* slot;
  } files[] = {
      {"GFX/background.png", &media.background},
      {"GFX/status/heart.png", &media.heartIcon},
      {"GFX/status/money.png", &media.moneyIcon},
      {"GFX/money.png", &media.moneyImage},
      {"GFX/crosshair.png", &media.crosshair},
      {"GFX/status/star.png", &media.starIcon},
      {"GFX/status/weaponbackground.png", &media.weaponBackground},
      {"GFX/bloodstain.png", &media.bloodStain},
      {"GFX/targets/target0.png", &media.targetImage[0]},
      {"GFX/arrows/arrow0.png", &media.arrowImage[0]},
      {"GFX/Playeranimation/player0.png", &media.playerFrames[0]},
      {"GFX/Playeranimation/player7.png", &media.playerFrames[7]},
      {"GFX/bullets/bullet1.png", &media.bulletFrames[1]},
      {"GFX/cars/car0.png", &media.carFrames[0]},
      {"GFX/cars/car1.png", &media.carFrames[1]},
      {"GFX/weapons/weapon2.png", &media.weaponFrames[2]},
      {"GFX/pedestrants/pedestrant1/pedestrant.5.png", &media.pedestrianFrames[5]},
  };
  for (const auto& f : files) {
    if (!fs::exists(f.path)) {
      EXPECT_FALSE(*f.slot) << f.path;
      continue;
    }
    ASSERT_TRUE(*f.slot) << f.path;
    EXPECT_EQ((*f.slot)->format->BitsPerPixel, 32) << f.path;
    if (f.slot != &media.background) {
      EXPECT_TRUE((*f.slot)->flags & SDL_SRCCOLORKEY) << f.path;
    }
  }
}

TEST(LoadImage, WithAVideoModeImagesTakeTheDisplayFormat) {
  startMedia();
  ASSERT_TRUE(SDL_SetVideoMode(64, 48, 32, SDL_SWSURFACE));
  InTempDir temp;
  writeImage("pic.png", rgb(10, 20, 30));
  SurfacePtr image = loadImage("pic.png");
  ASSERT_TRUE(image);
  const SDL_PixelFormat* display = SDL_GetVideoSurface()->format;
  EXPECT_EQ(image->format->BitsPerPixel, display->BitsPerPixel);
  EXPECT_EQ(image->format->Rmask, display->Rmask);
  EXPECT_EQ(image->format->Gmask, display->Gmask);
  EXPECT_EQ(image->format->Bmask, display->Bmask);
  EXPECT_EQ(rawPixel(image.get(), 0, 0) & (display->Rmask | display->Gmask | display->Bmask),
            SDL_MapRGB(const_cast<SDL_PixelFormat*>(display), 10, 20, 30));
}
