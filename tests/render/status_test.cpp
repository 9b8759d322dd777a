// The status display read back from a screen: stars, icons, the weapon panel on foot, the car's
// life in a car; and the text helpers it draws with.
#include "render/status.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "render/media.h"
#include "world/world.h"
#include "render/text.h"
#include "render_support.h"

using namespace rendertest;

namespace {

const Uint32 kPaper = rgb(240, 240, 240);
const Uint32 kStar = rgb(250, 0, 0);
const Uint32 kHeart = rgb(200, 0, 100);
const Uint32 kCoin = rgb(200, 180, 0);
const Uint32 kPanel = rgb(150, 200, 250);
const Uint32 kGun = rgb(100, 0, 0);
constexpr int W = 800, H = 600;

struct Hud {
  SurfacePtr screen;
  World world;
  Media media;
  bool font = false;

  Hud() {
    startMedia();
    screen = plainSurface(W, H, kPaper);
    media.screen = screen.get();
    media.starIcon = plainSurface(10, 10, kStar);
    media.heartIcon = plainSurface(12, 12, kHeart);
    media.moneyIcon = plainSurface(12, 12, kCoin);
    media.weaponBackground = plainSurface(120, 120, kPanel);
    media.weaponFrames[1] = plainSurface(40, 10, kGun);
    std::vector<std::unique_ptr<Weapon>> guns;
    guns.push_back(makeM4(0, 0));
    world.player = makePerson("Valdero", nullptr, 1, false, false, 100, 12.5, 0, 100, 100, 29, 18,
                              std::move(guns), 100, 1000);
    if (std::filesystem::exists("GFX/fonts/ADVERT.TTF")) {
      media.smallFont.reset(TTF_OpenFont("GFX/fonts/ADVERT.TTF", 12));
      font = media.smallFont != nullptr;
    }
  }
  Uint32 at(int x, int y) { return colourAt(screen.get(), x, y); }
  void redraw() {
    SDL_FillRect(screen.get(), nullptr, kPaper);
    drawStatus(media, world);
  }
  bool dark(int x, int y, int w, int h) { return hasDarkPixel(screen.get(), x, y, w, h); }
};

}  // namespace

TEST(DrawStatus, OneStarPerWholeWantedLevel) {
  Hud hud;
  auto starsShown = [&]() {
    int n = 0;
    for (int i = 1; 20 * i - 10 < W; ++i)
      if (hud.at(20 * i - 10 + 2, H - 185 + 2) == kStar) ++n;
    return n;
  };
  hud.world.player->wantedLevel = 2.9;
  hud.redraw();
  EXPECT_EQ(starsShown(), 2);
  EXPECT_EQ(hud.at(10, H - 185), kStar);
  EXPECT_EQ(hud.at(30, H - 185), kStar);
  EXPECT_EQ(hud.at(50, H - 185), kPaper);
  hud.world.player->wantedLevel = 0;
  hud.redraw();
  EXPECT_EQ(starsShown(), 0);
  hud.world.player->wantedLevel = -3;
  hud.redraw();
  EXPECT_EQ(starsShown(), 0);
  hud.world.player->wantedLevel = 5;
  hud.redraw();
  EXPECT_EQ(starsShown(), 5);
  // A wild level fills the row to the screen's edge and stops there.
  hud.world.player->wantedLevel = 1e12;
  hud.redraw();
  EXPECT_EQ(starsShown(), 40);
  EXPECT_EQ(hud.at(799, H - 185), kStar);
}

TEST(DrawStatus, LifeAndMoneySitAtTheBottomLeft) {
  Hud hud;
  hud.redraw();
  EXPECT_EQ(hud.at(10, H - 130), kHeart);
  EXPECT_EQ(hud.at(21, H - 119), kHeart);
  EXPECT_EQ(hud.at(10, H - 80), kCoin);
  EXPECT_EQ(hud.at(21, H - 69), kCoin);
  if (!hud.font) FAIL() << "the font GFX/fonts/ADVERT.TTF does not open";
  EXPECT_TRUE(hud.dark(70, H - 120, 60, 16));  // 87.5
  EXPECT_TRUE(hud.dark(70, H - 60, 60, 16));   // 1000
  EXPECT_FALSE(hud.dark(0, 0, W, H - 200));
}

TEST(DrawStatus, OnFootTheCurrentWeaponShowsWithItsAmmunition) {
  Hud hud;
  hud.redraw();
  EXPECT_EQ(hud.at(W - 120, H - 120), kPanel);
  // The gun picture is centred 60 above the bottom: top at H - 5 - 60.
  EXPECT_EQ(hud.at(W - 110, H - 65), kGun);
  EXPECT_EQ(hud.at(W - 71, H - 56), kGun);
  EXPECT_EQ(hud.at(W - 110, H - 66), kPanel);
  if (!hud.font) FAIL() << "the font GFX/fonts/ADVERT.TTF does not open";
  EXPECT_TRUE(hud.dark(W - 90, H - 120, 60, 16));  // "M4"
  EXPECT_TRUE(hud.dark(W - 50, H - 30, 40, 16));   // 1000
  EXPECT_FALSE(hud.dark(W - 95, H - 30, 44, 16));

  hud.world.player->weapons[1]->ammo = -1;
  hud.redraw();
  EXPECT_TRUE(hud.dark(W - 95, H - 30, 40, 16));  // "Unlimited"

  hud.world.player->weapons[1]->ammo = 0;
  hud.redraw();
  EXPECT_FALSE(hud.dark(W - 95, H - 30, 44, 16));
  EXPECT_TRUE(hud.dark(W - 50, H - 30, 20, 16));  // 0

  // Bare hands: weapon picture 0 is missing here, the panel and texts still show.
  hud.world.player->currentWeapon = 0;
  hud.redraw();
  EXPECT_EQ(hud.at(W - 120, H - 120), kPanel);
  EXPECT_EQ(hud.at(W - 110, H - 65), kPanel);
  EXPECT_TRUE(hud.dark(W - 95, H - 30, 40, 16));  // the hands are unlimited

  // An index that names no weapon shows no weapon at all.
  hud.world.player->currentWeapon = 7;
  hud.redraw();
  EXPECT_EQ(hud.at(W - 120, H - 120), kPaper);
  EXPECT_FALSE(hud.dark(W - 120, H - 120, 120, 120));
}

TEST(DrawStatus, InACarOnlyThePanelAndTheCarsLifeShow) {
  Hud hud;
  auto car = makeMapCar(500, 500, 20, 40, 30, 100, 0, 5, 0, 4, 0, 0.1);
  hud.world.player->inCar = true;
  hud.world.player->targetCar = car.get();
  hud.redraw();
  EXPECT_EQ(hud.at(W - 120, H - 120), kPanel);
  EXPECT_EQ(hud.at(W - 110, H - 65), kPanel);  // no gun
  if (hud.font) {
    EXPECT_TRUE(hud.dark(W - 70, H - 70, 30, 16));     // 70
    EXPECT_FALSE(hud.dark(W - 90, H - 120, 80, 40));   // no weapon name
    EXPECT_FALSE(hud.dark(W - 120, H - 32, 120, 32));  // no ammunition
  }
  // Marked as in a car but without one: neither panel.
  hud.world.player->targetCar = nullptr;
  hud.redraw();
  EXPECT_EQ(hud.at(W - 120, H - 120), kPaper);
}

TEST(DrawStatus, MissingImagesAndNoScreenDrawNothing) {
  Hud hud;
  hud.media.starIcon.reset();
  hud.media.heartIcon.reset();
  hud.media.moneyIcon.reset();
  hud.media.weaponBackground.reset();
  hud.media.weaponFrames[1].reset();
  hud.media.smallFont.reset();
  hud.world.player->wantedLevel = 3;
  hud.redraw();
  for (int y = 0; y < H; y += 5)
    for (int x = 0; x < W; x += 5) ASSERT_EQ(hud.at(x, y), kPaper) << x << "," << y;
  hud.media.screen = nullptr;
  drawStatus(hud.media, hud.world);
}

TEST(ToText, DoublesUseTheDefaultStreamAndIntsArePlain) {
  EXPECT_EQ(toText(100), "100");
  EXPECT_EQ(toText(-42), "-42");
  EXPECT_EQ(toText(100.0), "100");
  EXPECT_EQ(toText(100.0 - 12.5), "87.5");
  EXPECT_EQ(toText(1234.567), "1234.57");
  EXPECT_EQ(toText(0.1 + 0.2), "0.3");
  EXPECT_EQ(toText(12345678.0), "1.23457e+07");
  EXPECT_EQ(toText(-0.5), "-0.5");
}

TEST(DrawText, KeepsOnlyTheLastRenderedTextAndDrawsItAtItsCorner) {
  startMedia();
  SurfacePtr screen = plainSurface(200, 100, kPaper);
  Media media;
  media.screen = screen.get();
  // Without a font nothing is drawn and the kept text stays.
  media.textSurface = plainSurface(3, 3);
  SDL_Surface* kept = media.textSurface.get();
  drawText(media, nullptr, "x", media.black, 0, 0);
  EXPECT_EQ(media.textSurface.get(), kept);
  media.smallFont.reset(TTF_OpenFont("GFX/fonts/ADVERT.TTF", 12));
  ASSERT_TRUE(media.smallFont);

  drawText(media, media.smallFont.get(), "Hej", media.black, 50, 40);
  ASSERT_TRUE(media.textSurface);
  int w = 0, h = 0;
  TTF_SizeText(media.smallFont.get(), "Hej", &w, &h);
  EXPECT_EQ(media.textSurface->w, w);
  EXPECT_TRUE(hasDarkPixel(screen.get(), 50, 40, w, h));
  EXPECT_FALSE(hasDarkPixel(screen.get(), 0, 0, 50, 100));
  EXPECT_FALSE(hasDarkPixel(screen.get(), 0, 0, 200, 40));

  // Latin-1 bytes are drawn as they are: a-umlaut is one letter, not two.
  drawText(media, media.smallFont.get(), "V\xe4gar", media.black, 0, 0);
  ASSERT_TRUE(media.textSurface);
  TTF_SizeText(media.smallFont.get(), "V\xe4gar", &w, &h);
  EXPECT_EQ(media.textSurface->w, w);
  int utf8W = 0;
  TTF_SizeUTF8(media.smallFont.get(), "V\xc3\xa4gar", &utf8W, &h);
  EXPECT_EQ(w, utf8W);

  // An empty text renders nothing and leaves no text kept.
  drawText(media, media.smallFont.get(), "", media.black, 0, 0);
  EXPECT_FALSE(media.textSurface);

  // White text (the selected menu item) is drawn in white.
  SDL_FillRect(screen.get(), nullptr, 0);
  drawText(media, media.smallFont.get(), "Play", media.white, 10, 10);
  bool bright = false;
  for (int y = 10; y < 30; ++y)
    for (int x = 10; x < 60; ++x) bright |= colourAt(screen.get(), x, y) == rgb(255, 255, 255);
  EXPECT_TRUE(bright);
}
