// Turning sprites: key pixels and the corners outside the picture stay transparent.
#include "render/rotate.h"

#include <gtest/gtest.h>

#include "support/sdl.h"

using namespace testsupport;

constexpr Uint32 kGreen = 0x0000FF00;  // pure green in the plain layout: the game's key

TEST(RotateSprite, KeyPixelsAndTheCornersOutsideThePictureAreTransparent) {
  startSdl();
  SurfacePtr source = plainSurface(20, 40, rgb(200, 0, 0));
  SDL_Rect band{0, 10, 20, 5};
  SDL_FillRect(source.get(), &band, kGreen);
  SDL_SetColorKey(source.get(), SDL_SRCCOLORKEY, kGreen);
  for (double angle : {0.0, 1.0, 45.0, 90.0, 180.0, 270.0}) {
    SurfacePtr turned = rotateSprite(source.get(), angle, 1.0);
    ASSERT_TRUE(turned);
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
}
