// The fill and picture blit the city is painted with give exactly SDL's own results; turned
// pictures keep their key pixels and corners transparent.
#include "render/blit.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "render/rotate.h"
#include "support/sdl.h"

using namespace testsupport;

namespace {

// Two screens with the same noisy content, one for SDL and one for our helpers.
struct Twins {
  SurfacePtr sdl, ours;
  Twins(int w, int h) : sdl(plainSurface(w, h)), ours(plainSurface(w, h)) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const Uint32 v = static_cast<Uint32>(std::rand());
        rawPixel(sdl.get(), x, y) = v;
        rawPixel(ours.get(), x, y) = v;
      }
  }
  void clip(SDL_Rect* r) {
    SDL_SetClipRect(sdl.get(), r);
    SDL_SetClipRect(ours.get(), r);
  }
  int differences() const {
    int n = 0;
    for (int y = 0; y < sdl->h; ++y)
      for (int x = 0; x < sdl->w; ++x) n += rawPixel(sdl.get(), x, y) != rawPixel(ours.get(), x, y);
    return n;
  }
};

}  // namespace

TEST(FillRect, MatchesSdlForRectanglesAnywhereAndInsideAClip) {
  startSdl();
  std::srand(7);
  Twins screens(97, 61);
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) {
      SDL_Rect clip{10, 5, 50, 40};
      screens.clip(&clip);
    }
    for (int i = 0; i < 300; ++i) {
      const SDL_Rect r{
          static_cast<Sint16>(std::rand() % 160 - 40), static_cast<Sint16>(std::rand() % 120 - 40),
          static_cast<Uint16>(std::rand() % 90), static_cast<Uint16>(std::rand() % 70)};
      const Uint32 colour = static_cast<Uint32>(std::rand());
      SDL_Rect copy = r;
      SDL_FillRect(screens.sdl.get(), &copy, colour);
      fillRect(screens.ours.get(), r, colour);
      ASSERT_EQ(screens.differences(), 0)
          << "rect " << r.x << "," << r.y << " " << r.w << "x" << r.h << " pass " << pass;
    }
  }
  // Extremes of the 16-bit rectangle.
  for (SDL_Rect r : {SDL_Rect{-32768, -32768, 65535, 65535}, SDL_Rect{32767, 0, 65535, 10},
                     SDL_Rect{0, 0, 0, 0}}) {
    SDL_Rect copy = r;
    SDL_FillRect(screens.sdl.get(), &copy, 0x123456);
    fillRect(screens.ours.get(), r, 0x123456);
    EXPECT_EQ(screens.differences(), 0) << r.x << "," << r.y;
  }
  fillRect(nullptr, SDL_Rect{0, 0, 5, 5}, 0);

  // A 16-bit surface is filled in its own layout, to its edges and no further.
  SurfacePtr deep16(SDL_CreateRGBSurface(SDL_SWSURFACE, 9, 7, 16, 0xF800, 0x07E0, 0x001F, 0));
  fillRect(deep16.get(), SDL_Rect{2, 1, 30, 30}, 0xFFFF);
  auto at = [&](int x, int y) { return static_cast<Uint16*>(deep16->pixels)[y * deep16->pitch / 2 + x]; };
  EXPECT_EQ(at(2, 1), 0xFFFF);
  EXPECT_EQ(at(8, 6), 0xFFFF);
  EXPECT_EQ(at(1, 1), 0);
  EXPECT_EQ(at(2, 0), 0);
}

TEST(BlitAt, TurnedPicturesAndPartsOfKeyedOnesLandExactlyAsSdlBlitsThem) {
  startSdl();
  std::srand(11);
  // A keyed frame with a pure-green border and a few stray green pixels inside.
  SurfacePtr frame = plainSurface(23, 31, rgb(10, 200, 30));
  for (int i = 0; i < 60; ++i) {
    Uint32& p = rawPixel(frame.get(), std::rand() % 23, std::rand() % 31);
    p = i % 3 ? static_cast<Uint32>(std::rand()) & 0xFFFFFF : 0x00FF00;
  }
  SDL_SetColorKey(frame.get(), SDL_SRCCOLORKEY, 0x00FF00);
  Twins screens(120, 90);
  // The last pass blits the turned pictures without key or alpha: every pixel lands as it is.
  for (int pass = 0; pass < 3; ++pass) {
    if (pass == 1) {
      SDL_Rect clip{20, 10, 60, 50};
      screens.clip(&clip);
    }
    for (int i = 0; i < 120; ++i) {
      SurfacePtr picture = rotateSprite(frame.get(), std::rand() % 360, 1.0);
      ASSERT_TRUE(picture);
      // Set the key the way the drawing code does, from the frame's format.
      if (pass < 2)
        SDL_SetColorKey(picture.get(), SDL_SRCCOLORKEY, SDL_MapRGB(frame->format, 0, 255, 0));
      else
        SDL_SetAlpha(picture.get(), 0, SDL_ALPHA_OPAQUE);
      const int x = std::rand() % 180 - 50, y = std::rand() % 140 - 50;
      SDL_Rect at{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
      SDL_BlitSurface(picture.get(), nullptr, screens.sdl.get(), &at);
      blitAt(screens.ours.get(), picture.get(), x, y);
      ASSERT_EQ(screens.differences(), 0) << "at " << x << "," << y << " pass " << pass;
    }
  }
  // Part of a keyed picture in the screen's own layout: the key pixels are skipped as SDL does.
  screens.clip(nullptr);
  const SDL_Rect part{3, 2, 18, 25};
  SDL_Rect from = part, to = part;
  SDL_BlitSurface(frame.get(), &from, screens.sdl.get(), &to);
  blitPart(screens.ours.get(), frame.get(), part);
  EXPECT_EQ(screens.differences(), 0);
}

TEST(RotateSprite, KeyPixelsAndTheCornersOutsideThePictureAreTransparent) {
  startSdl();
  // A red picture with a green band, keyed green, in the display's layout, as 24-bit and with
  // blue in the high byte: all of them turn to the same pixels.
  auto banded = [](int bits, Uint32 rMask = 0xFF0000, Uint32 bMask = 0xFF) {
    SurfacePtr s(SDL_CreateRGBSurface(SDL_SWSURFACE, 20, 40, bits, rMask, 0xFF00, bMask, 0));
    SDL_FillRect(s.get(), nullptr, SDL_MapRGB(s->format, 200, 0, 0));
    SDL_Rect band{0, 10, 20, 5};
    SDL_FillRect(s.get(), &band, SDL_MapRGB(s->format, 0, 255, 0));
    SDL_SetColorKey(s.get(), SDL_SRCCOLORKEY, SDL_MapRGB(s->format, 0, 255, 0));
    return s;
  };
  SurfacePtr source = banded(32);
  SurfacePtr others[] = {banded(24), banded(32, 0xFF, 0xFF0000)};
  for (double angle : {0.0, 1.0, 45.0, 90.0, 180.0, 270.0}) {
    SurfacePtr turned = rotateSprite(source.get(), angle, 1.0);
    ASSERT_TRUE(turned);
    for (const SurfacePtr& other : others) {
      SurfacePtr alike = rotateSprite(other.get(), angle, 1.0);
      ASSERT_TRUE(alike && alike->w == turned->w && alike->h == turned->h) << angle;
      for (int y = 0; y < turned->h; ++y)
        for (int x = 0; x < turned->w; ++x)
          ASSERT_EQ(rawPixel(alike.get(), x, y), rawPixel(turned.get(), x, y))
              << angle << " at " << x << "," << y << " red mask " << other->format->Rmask;
    }
    int opaque = 0, clear = 0;
    for (int y = 0; y < turned->h; ++y)
      for (int x = 0; x < turned->w; ++x) {
        const Uint32 p = rawPixel(turned.get(), x, y);
        // Every pixel is either cleared or opaque red: no green survives anywhere.
        if (p == 0)
          ++clear;
        else {
          EXPECT_EQ(p, 0xFF0000C8u) << angle << " at " << x << "," << y;
          ++opaque;
        }
      }
    // About 20 x 35 red pixels survive; turned pictures add cleared corners around them.
    EXPECT_NEAR(opaque, 20 * 35, 60) << angle;
    EXPECT_GT(clear, 20 * 5 - 30) << angle;
    if (angle != 0) {
      EXPECT_EQ(rawPixel(turned.get(), 0, 0), 0u) << angle;
    }
  }
}

// Pictures of 8192 pixels and more take the careful per-pixel way: every column comes along.
TEST(RotateSprite, AVeryWidePictureKeepsItsFirstColumn) {
  startSdl();
  SurfacePtr wide = plainSurface(8192, 3, rgb(0, 0, 200));
  for (int y = 0; y < 3; ++y) rawPixel(wide.get(), 0, y) = rgb(200, 0, 0);
  SurfacePtr turned = rotateSprite(wide.get(), 180.0, 1.0);
  ASSERT_TRUE(turned);
  int red = 0;
  for (int y = 0; y < turned->h; ++y)
    for (int x = 0; x < turned->w; ++x) red += rawPixel(turned.get(), x, y) == 0xFF0000C8u;
  EXPECT_GE(red, 3);
  // The smallest picture turns into a 2 x 2 one.
  turned = rotateSprite(plainSurface(1, 1, rgb(0, 0, 200)).get(), 45.0, 1.0);
  ASSERT_TRUE(turned);
  EXPECT_EQ(turned->w, 2);
  EXPECT_EQ(turned->h, 2);
}
