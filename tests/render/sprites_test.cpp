// Image loading: conversion, frame names, colour keys, and missing files left empty.
#include "render/sprites.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/world.h"
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

  World world;
  loadSprites(world);

  ASSERT_TRUE(world.background);
  EXPECT_FALSE(world.background->flags & SDL_SRCCOLORKEY);
  EXPECT_TRUE(keyedWith(world.moneyIcon, 0, 76, 161));
  EXPECT_TRUE(keyedWith(world.heartIcon, 0, 76, 161));
  EXPECT_TRUE(keyedWith(world.moneyImage, 0, 255, 0));
  EXPECT_TRUE(keyedWith(world.starIcon, 0, 255, 0));
  EXPECT_TRUE(keyedWith(world.arrowImage[0], 0, 255, 0));
  EXPECT_FALSE(world.crosshair);
  EXPECT_FALSE(world.bloodStain);
  EXPECT_FALSE(world.weaponBackground);
  EXPECT_FALSE(world.targetImage[0]);
  EXPECT_FALSE(world.targetImage[1]);

  EXPECT_TRUE(keyedWith(world.playerFrames[7], 0, 255, 0));
  EXPECT_EQ(colourAt(world.playerFrames[7].get(), 0, 0), rgb(7, 7, 7));
  EXPECT_TRUE(keyedWith(world.bulletFrames[1], 0, 255, 0));
  EXPECT_TRUE(keyedWith(world.carFrames[0], 0, 255, 0));
  EXPECT_FALSE(world.carFrames[1]);
  EXPECT_FALSE(world.carFrames[2]);
  EXPECT_TRUE(keyedWith(world.weaponFrames[2], 0, 255, 0));
  EXPECT_EQ(colourAt(world.weaponFrames[2].get(), 0, 0), rgb(3, 3, 3));
  EXPECT_TRUE(keyedWith(world.pedestrianFrames[5], 0, 255, 0));
  EXPECT_EQ(colourAt(world.pedestrianFrames[5].get(), 0, 0), rgb(4, 4, 4));
  for (int i = 0; i < 80; ++i) EXPECT_EQ(world.pedestrianFrames[i] != nullptr, i == 5) << i;
  EXPECT_FALSE(world.dotImage);  // the World's own construction loads dot.bmp
}

TEST(LoadSprites, WithoutTheIconsTheOtherImagesAreStillKeyedGreen) {
  startMedia();
  InTempDir temp;
  writeImage("GFX/crosshair.png", rgb(0, 255, 0));
  writeImage("GFX/cars/car1.png", rgb(2, 2, 2));
  World world;
  loadSprites(world);
  EXPECT_FALSE(world.heartIcon);
  EXPECT_FALSE(world.moneyIcon);
  EXPECT_TRUE(keyedWith(world.crosshair, 0, 255, 0));
  EXPECT_TRUE(keyedWith(world.carFrames[1], 0, 255, 0));
}

// The game's own art, as far as it has been drawn: every listed file that exists loads.
TEST(LoadSprites, LoadsWhateverOfTheGamesArtIsPresent) {
  startMedia();
  World world;
  loadSprites(world);
  const struct {
    const char* path;
    const SurfacePtr* slot;
  } files[] = {
      {"GFX/background.png", &world.background},
      {"GFX/status/heart.png", &world.heartIcon},
      {"GFX/status/money.png", &world.moneyIcon},
      {"GFX/money.png", &world.moneyImage},
      {"GFX/crosshair.png", &world.crosshair},
      {"GFX/status/star.png", &world.starIcon},
      {"GFX/status/weaponbackground.png", &world.weaponBackground},
      {"GFX/bloodstain.png", &world.bloodStain},
      {"GFX/targets/target0.png", &world.targetImage[0]},
      {"GFX/arrows/arrow0.png", &world.arrowImage[0]},
      {"GFX/Playeranimation/player0.png", &world.playerFrames[0]},
      {"GFX/Playeranimation/player7.png", &world.playerFrames[7]},
      {"GFX/bullets/bullet1.png", &world.bulletFrames[1]},
      {"GFX/cars/car0.png", &world.carFrames[0]},
      {"GFX/cars/car1.png", &world.carFrames[1]},
      {"GFX/weapons/weapon2.png", &world.weaponFrames[2]},
      {"GFX/pedestrants/pedestrant1/pedestrant.5.png", &world.pedestrianFrames[5]},
  };
  for (const auto& f : files) {
    if (!fs::exists(f.path)) {
      EXPECT_FALSE(*f.slot) << f.path;
      continue;
    }
    ASSERT_TRUE(*f.slot) << f.path;
    EXPECT_EQ((*f.slot)->format->BitsPerPixel, 32) << f.path;
    if (f.slot != &world.background) {
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
