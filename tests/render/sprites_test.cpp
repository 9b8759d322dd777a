// Image loading: conversion, frame names, colour keys, and missing files left empty.
#include "render/sprites.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "render/media.h"
#include "support/sdl.h"
#include "support/scratch.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

// Writes a small BMP (IMG_Load reads by content, so the name may end in .png) whose
// top-left pixel has the given colour and the rest mid grey.
void writeImage(const std::string& path, Uint32 corner, int w = 6, int h = 4) {
  const fs::path folder = fs::path(path).parent_path();
  if (!folder.empty()) fs::create_directories(folder);
  SurfacePtr s = plainSurface(w, h, rgb(128, 128, 128));
  rawPixel(s.get(), 0, 0) = corner;
  ASSERT_EQ(SDL_SaveBMP(s.get(), path.c_str()), 0) << path;
}

bool keyedWith(const SurfacePtr& s, Uint8 r, Uint8 g, Uint8 b) {
  return s && (s->flags & SDL_SRCCOLORKEY) && s->format->colorkey == SDL_MapRGB(s->format, r, g, b);
}

}  // namespace

TEST(LoadSprites, FillsEveryFieldWithItsKeyAndSkipsMissingFiles) {
  startSdl();
  testsupport::ScratchDir scratch;
  writeImage("GFX/background.png", rgb(0, 255, 0), 12, 10);
  writeImage("GFX/status/money.png", rgb(0, 76, 161));
  writeImage("GFX/status/heart.png", rgb(0, 76, 161));
  writeImage("GFX/money.png", rgb(0, 255, 0));
  writeImage("GFX/crosshair.png", rgb(1, 1, 1));
  writeImage("GFX/targets/target0.png", rgb(1, 1, 1));
  writeImage("GFX/cars/car0.png", rgb(2, 2, 2));
  writeImage("GFX/weapons/weapon2.png", rgb(3, 4, 5));
  writeImage("GFX/pedestrants/pedestrant1/pedestrant.5.png", rgb(4, 5, 6));
  writeImage("GFX/Playeranimation/player7.png", rgb(5, 6, 7));
  // Files outside the lists are never read.
  writeImage("GFX/cars/car2.png", rgb(9, 9, 9));
  writeImage("GFX/targets/target1.png", rgb(9, 9, 9));

  Media media;
  loadSprites(media);

  // The background has no key, the status icons are keyed blue, all else pure green.
  ASSERT_TRUE(media.background);
  EXPECT_FALSE(media.background->flags & SDL_SRCCOLORKEY);
  EXPECT_TRUE(keyedWith(media.moneyIcon, 0, 76, 161));
  EXPECT_TRUE(keyedWith(media.heartIcon, 0, 76, 161));
  EXPECT_TRUE(keyedWith(media.moneyImage, 0, 255, 0));
  EXPECT_TRUE(keyedWith(media.crosshair, 0, 255, 0));
  EXPECT_TRUE(keyedWith(media.targetImage[0], 0, 255, 0));
  EXPECT_FALSE(media.targetImage[1]);
  EXPECT_TRUE(keyedWith(media.carFrames[0], 0, 255, 0));
  EXPECT_FALSE(media.carFrames[1]);
  EXPECT_FALSE(media.carFrames[2]);
  EXPECT_TRUE(keyedWith(media.weaponFrames[2], 0, 255, 0));
  EXPECT_EQ(pixelAt(media.weaponFrames[2].get(), 0, 0), rgb(3, 4, 5));
  EXPECT_TRUE(keyedWith(media.pedestrianFrames[5], 0, 255, 0));
  EXPECT_EQ(pixelAt(media.pedestrianFrames[5].get(), 0, 0), rgb(4, 5, 6));
  for (int i = 0; i < 80; ++i) EXPECT_EQ(media.pedestrianFrames[i] != nullptr, i == 5) << i;
  EXPECT_TRUE(keyedWith(media.playerFrames[7], 0, 255, 0));
  EXPECT_FALSE(media.dotImage);  // the game's start loads dot.bmp

  // Without the heart icon the frames are keyed green all the same.
  fs::remove("GFX/status/heart.png");
  loadSprites(media);
  EXPECT_FALSE(media.heartIcon);
  EXPECT_TRUE(keyedWith(media.carFrames[0], 0, 255, 0));
}
