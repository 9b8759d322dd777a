// The status display read back from a screen: stars, icons, the weapon panel on foot, the car's
// life in a car.
#include "render/status.h"

#include <gtest/gtest.h>

#include <memory>

#include "render/media.h"
#include "world/builders.h"
#include "world/world.h"
#include "support/sdl.h"

using namespace testsupport;

namespace {

const Uint32 kPaper = rgb(240, 240, 240);
const Uint32 kStar = rgb(250, 0, 0);
const Uint32 kHeart = rgb(200, 0, 100);
const Uint32 kCoin = rgb(200, 180, 0);
const Uint32 kPanel = rgb(150, 200, 250);
const Uint32 kGun = rgb(100, 0, 0);
constexpr int W = 800, H = 600;

class DrawStatus : public ::testing::Test {
 protected:
  SurfacePtr screen;
  World world;
  Media media;

  DrawStatus() {
    startSdl();
    screen = plainSurface(W, H, kPaper);
    media.screen = screen.get();
    media.starIcon = plainSurface(10, 10, kStar);
    media.heartIcon = plainSurface(12, 12, kHeart);
    media.moneyIcon = plainSurface(12, 12, kCoin);
    media.weaponBackground = plainSurface(120, 120, kPanel);
    media.weaponFrames[1] = plainSurface(40, 10, kGun);
    world.player = PersonSpec{}.gun(makeM4(0, 0)).holding(1).damage(12.5).money(1000).make();
    media.smallFont.reset(TTF_OpenFont(FONT, 12));
  }
  Uint32 at(int x, int y) { return pixelAt(screen.get(), x, y); }
  void redraw() {
    SDL_FillRect(screen.get(), nullptr, kPaper);
    drawStatus(media, world);
  }
  bool dark(int x, int y, int w, int h) { return darkPixels(screen.get(), x, y, w, h) > 0; }
};

}  // namespace

TEST_F(DrawStatus, OneStarPerWholeWantedLevel) {
  auto starsShown = [&]() {
    int n = 0;
    for (int i = 1; 20 * i - 10 < W; ++i)
      if (at(20 * i - 10 + 2, H - 185 + 2) == kStar) ++n;
    return n;
  };
  for (const auto& [level, stars] : {std::pair{2.9, 2}, {0.0, 0}, {-3.0, 0}, {5.0, 5}}) {
    world.player->wantedLevel = level;
    redraw();
    EXPECT_EQ(starsShown(), stars) << level;
  }
  // A wild level fills the row to the screen's edge and stops there.
  world.player->wantedLevel = 1e12;
  redraw();
  EXPECT_EQ(starsShown(), 40);
  EXPECT_EQ(at(799, H - 185), kStar);
}

TEST_F(DrawStatus, OnFootTheCurrentWeaponShowsWithItsAmmunition) {
  redraw();
  EXPECT_EQ(at(W - 120, H - 120), kPanel);
  // The gun picture is centred 60 above the bottom: top at H - 5 - 60.
  EXPECT_EQ(at(W - 110, H - 65), kGun);
  EXPECT_EQ(at(W - 71, H - 56), kGun);
  EXPECT_EQ(at(W - 110, H - 66), kPanel);
  ASSERT_TRUE(media.smallFont) << "run from the repository root";
  EXPECT_TRUE(dark(W - 90, H - 120, 60, 16));  // "M4"
  EXPECT_TRUE(dark(W - 50, H - 30, 40, 16));   // 1000
  EXPECT_FALSE(dark(W - 95, H - 30, 44, 16));

  world.player->weapons[1]->ammo = -1;
  redraw();
  EXPECT_TRUE(dark(W - 95, H - 30, 40, 16));  // "Unlimited"

  world.player->weapons[1]->ammo = 0;
  redraw();
  EXPECT_FALSE(dark(W - 95, H - 30, 44, 16));
  EXPECT_TRUE(dark(W - 50, H - 30, 20, 16));  // 0

  // Bare hands: weapon picture 0 is missing here, the panel and texts still show.
  world.player->currentWeapon = 0;
  redraw();
  EXPECT_EQ(at(W - 120, H - 120), kPanel);
  EXPECT_EQ(at(W - 110, H - 65), kPanel);
  EXPECT_TRUE(dark(W - 95, H - 30, 40, 16));  // the hands are unlimited

  // An index that names no weapon shows no weapon at all.
  world.player->currentWeapon = 7;
  redraw();
  EXPECT_EQ(at(W - 120, H - 120), kPaper);
  EXPECT_FALSE(dark(W - 120, H - 120, 120, 120));
}

TEST_F(DrawStatus, LifeAndMoneyBesideTheirIconsAndInACarTheCarsLife) {
  ASSERT_TRUE(media.smallFont) << "run from the repository root";
  auto car = std::make_unique<Car>();
  car->life = 80;
  world.player->targetCar = car.get();
  world.player->inCar = true;
  redraw();
  EXPECT_EQ(at(10, H - 130), kHeart);
  EXPECT_EQ(at(10, H - 80), kCoin);
  EXPECT_TRUE(dark(70, H - 120, 60, 16));  // life left
  EXPECT_TRUE(dark(70, H - 60, 60, 16));   // money
  EXPECT_EQ(at(W - 120, H - 120), kPanel);
  EXPECT_EQ(at(W - 110, H - 65), kPanel);  // no weapon in a car
  EXPECT_TRUE(dark(W - 70, H - 70, 40, 16));
  EXPECT_FALSE(dark(W - 90, H - 120, 60, 16));

  world.player->targetCar = nullptr;  // no car to tell about: no panel
  redraw();
  EXPECT_EQ(at(W - 120, H - 120), kPaper);
}
