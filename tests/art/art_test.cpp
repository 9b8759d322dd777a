// The game's pictures: every file the game loads is there with its size and no alpha, and the
// generator reproduces the committed files byte for byte.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "art.h"
#include "render/surface.h"
#include "support/scratch.h"

using testsupport::readFile;

namespace {

struct Expect {
  std::string path;
  int minW, maxW, minH, maxH;
};

// Every file the game loads, with the size range its records and screen places allow.
std::vector<Expect> expectedFiles() {
  std::vector<Expect> e = {
      {"GFX/background.png", 2560, 8192, 1600, 8192},
      {"GFX/status/heart.png", 44, 56, 44, 56},
      {"GFX/status/money.png", 44, 56, 44, 56},
      {"GFX/money.png", 26, 34, 36, 44},
      {"GFX/crosshair.png", 15, 15, 15, 15},
      {"GFX/status/star.png", 16, 20, 16, 20},
      {"GFX/status/weaponbackground.png", 110, 130, 110, 130},
      {"GFX/bloodstain.png", 26, 34, 36, 44},
      {"GFX/targets/target0.png", 26, 34, 26, 34},
      {"GFX/arrows/arrow0.png", 26, 34, 16, 24},
      {"GFX/bullets/bullet0.png", 10, 10, 5, 5},
      {"GFX/bullets/bullet1.png", 10, 10, 5, 5},
      {"GFX/cars/car0.png", 69, 69, 94, 94},
      {"GFX/cars/car1.png", 69, 69, 94, 94},
      // Weapons sit at panel x 10 and must leave the name row and the ammo row free.
      {"GFX/weapons/weapon0.png", 20, 100, 16, 56},
      {"GFX/weapons/weapon1.png", 60, 100, 16, 56},
      {"GFX/weapons/weapon2.png", 60, 100, 16, 56},
      {"dot.bmp", 1, 8, 1, 8},
  };
  for (int i = 0; i < 8; ++i) {
    e.push_back({"GFX/Playeranimation/player" + std::to_string(i) + ".png", 29, 29, 18, 18});
    e.push_back({"GFX/pedestrants/pedestrant1/pedestrant." + std::to_string(i) + ".png", 30, 30, 20, 20});
  }
  return e;
}

// The generator writes exactly the files the game loads, byte for byte as committed, plus the
// contact sheet and the icon; each file the game loads has its size and no alpha channel.
TEST(ArtFiles, TheGeneratorRedrawsEveryFileTheGameLoadsWithItsSizeAndNoAlpha) {
  const std::vector<art::ArtFile> files = art::generateAll(".");
  std::set<std::string> paths;
  for (const art::ArtFile& file : files) {
    paths.insert(file.path);
    EXPECT_TRUE(std::string(file.bytes.begin(), file.bytes.end()) == readFile(file.path))
        << file.path << ": committed file is stale: run make art";
  }
  EXPECT_EQ(paths.count("docs/art/contact_sheet.png"), 1u);
  EXPECT_EQ(paths.count("dist/zor.png"), 1u);
  EXPECT_EQ(paths.size(), expectedFiles().size() + 2);
  IMG_Init(IMG_INIT_PNG);
  for (const Expect& e : expectedFiles()) {
    SCOPED_TRACE(e.path);
    EXPECT_EQ(paths.count(e.path), 1u);
    SurfacePtr s(IMG_Load(e.path.c_str()));
    ASSERT_TRUE(s) << IMG_GetError();
    EXPECT_TRUE(e.minW <= s->w && s->w <= e.maxW && e.minH <= s->h && s->h <= e.maxH)
        << s->w << " x " << s->h;
    // Transparency is the colour key alone: the files carry no alpha channel.
    EXPECT_EQ(s->format->BitsPerPixel, 24);
  }
  // The title screen stays a reasonable download.
  EXPECT_LT(readFile("GFX/background.png").size(), 3u * 1024 * 1024);
}

}  // namespace
