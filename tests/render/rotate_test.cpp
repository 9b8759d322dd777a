// Turning sprites: result sizes, transparency of key pixels, where pixels land, and agreement
// with the plain blit-then-sample algorithm for every kind of source.
#include "render/rotate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "render_support.h"

using namespace rendertest;

namespace {

constexpr Uint32 kGreen = 0x0000FF00;  // pure green in the plain layout: the game's key

// The turning exactly as the game defines it: blit onto a zeroed alpha copy, then sample it
// in 16.16 fixed point with 32-bit integers.
SurfacePtr referenceRotate(SDL_Surface* source, double angle) {
  SurfacePtr copy(SDL_CreateRGBSurface(SDL_SWSURFACE, source->w, source->h, 32, 0xFF, 0xFF00,
                                       0xFF0000, 0xFF000000));
  SDL_BlitSurface(source, nullptr, copy.get(), nullptr);
  const int w = copy->w, h = copy->h;
  if (std::fabs(angle) <= 0.001) {
    SurfacePtr out(
        SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) setRawPixel(out.get(), x, y, rawPixel(copy.get(), x, y));
    return out;
  }
  const double rad = angle * 0.017453292522222223;
  const double sz = std::sin(rad), cz = std::cos(rad);
  const double sinInv = std::sin(rad) * 65536.0, cosInv = std::cos(rad) * 65536.0;
  const int hx = w / 2, hy = h / 2;
  const double cx = cz * hx, cy = cz * hy, sx = sz * hx, sy = sz * hy;
  int halfW =
      static_cast<int>(std::ceil(std::fmax(std::fmax(std::fabs(cx + sy), std::fabs(cx - sy)),
                                           std::fmax(std::fabs(-cx + sy), std::fabs(-cx - sy)))));
  int halfH =
      static_cast<int>(std::ceil(std::fmax(std::fmax(std::fabs(sx + cy), std::fabs(sx - cy)),
                                           std::fmax(std::fabs(-sx + cy), std::fabs(-sx - cy)))));
  if (halfW < 1) halfW = 1;
  if (halfH < 1) halfH = 1;
  SurfacePtr out(SDL_CreateRGBSurface(SDL_SWSURFACE, 2 * halfW, 2 * halfH, 32, 0xFF, 0xFF00,
                                      0xFF0000, 0xFF000000));
  const int icos = static_cast<int>(cosInv), isin = static_cast<int>(sinInv);
  const int xd = (w - out->w) * 32768, yd = (h - out->h) * 32768;
  const int ax = halfW * 65536 - icos * halfW, ay = halfH * 65536 - isin * halfW;
  for (int r = 0; r < out->h; ++r) {
    const int dy = halfH - r;
    int sdx = ax + isin * dy + xd, sdy = ay - icos * dy + yd;
    for (int c = 0; c < out->w; ++c) {
      const short px = static_cast<short>(sdx >> 16), py = static_cast<short>(sdy >> 16);
      if (px >= 0 && py >= 0 && px < w && py < h)
        setRawPixel(out.get(), c, r, rawPixel(copy.get(), px, py));
      sdx += icos;
      sdy += isin;
    }
  }
  return out;
}

// A picture with a different colour in every pixel, a key-coloured border and a few key
// pixels inside, so any misplaced or wrongly converted pixel shows.
void paintPattern(SDL_Surface* s) {
  SDL_LockSurface(s);
  for (int y = 0; y < s->h; ++y)
    for (int x = 0; x < s->w; ++x) {
      const bool key = x == 0 || y == 0 || x == s->w - 1 || y == s->h - 1 || (x * 7 + y) % 11 == 0;
      const Uint32 colour = key ? SDL_MapRGB(s->format, 0, 255, 0)
                                : SDL_MapRGB(s->format, (x * 13) & 0xFF, 40 + y, (x * y) & 0xFF);
      if (s->format->BytesPerPixel == 4) {
        setRawPixel(s, x, y, colour);
      } else {
        Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
        for (int i = 0; i < s->format->BytesPerPixel; ++i) p[i] = (colour >> (8 * i)) & 0xFF;
      }
    }
  SDL_UnlockSurface(s);
}

void expectSamePixels(SDL_Surface* expected, SDL_Surface* actual, const char* what, double angle) {
  ASSERT_TRUE(actual) << what << " at " << angle;
  ASSERT_EQ(expected->w, actual->w) << what << " at " << angle;
  ASSERT_EQ(expected->h, actual->h) << what << " at " << angle;
  int wrong = 0;
  for (int y = 0; y < expected->h; ++y)
    for (int x = 0; x < expected->w; ++x)
      if (rawPixel(expected, x, y) != rawPixel(actual, x, y)) ++wrong;
  EXPECT_EQ(wrong, 0) << what << " at " << angle;
}

struct Size {
  int w, h;
};

Size sizeOf(const SurfacePtr& s) { return {s->w, s->h}; }

}  // namespace

TEST(RotateSprite, SizesFollowTheTurnedBoxWithTheCeilingQuirk) {
  startMedia();
  SurfacePtr tall = plainSurface(20, 40, rgb(200, 10, 10));
  const struct {
    double angle;
    int w, h;
  } cases[] = {{0, 20, 40}, {90, 42, 22},  {180, 22, 42}, {270, 42, 22},
               {1, 22, 42}, {-90, 42, 22}, {360, 22, 42}, {0.0005, 20, 40}};
  for (const auto& c : cases) {
    SurfacePtr turned = rotateSprite(tall.get(), c.angle, 1.0);
    ASSERT_TRUE(turned) << c.angle;
    EXPECT_EQ(turned->w, c.w) << c.angle;
    EXPECT_EQ(turned->h, c.h) << c.angle;
  }
  SurfacePtr square = plainSurface(10, 10, rgb(1, 2, 3));
  SurfacePtr turned = rotateSprite(square.get(), 45, 1.0);
  EXPECT_EQ(turned->w, 16);
  EXPECT_EQ(turned->h, 16);

  // A single pixel still gives a picture of at least 2 x 2.
  SurfacePtr dot = plainSurface(1, 1, rgb(9, 9, 9));
  turned = rotateSprite(dot.get(), 30, 1.0);
  EXPECT_EQ(turned->w, 2);
  EXPECT_EQ(turned->h, 2);
}

TEST(RotateSprite, ResultIsA32BitAlphaPictureAndEmptyInputGivesNothing) {
  startMedia();
  EXPECT_FALSE(rotateSprite(nullptr, 45, 1.0));
  SurfacePtr source = plainSurface(8, 6, rgb(10, 20, 30));
  for (double angle : {0.0, 33.0}) {
    SurfacePtr turned = rotateSprite(source.get(), angle, 1.0);
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->format->BitsPerPixel, 32);
    EXPECT_EQ(turned->format->Rmask, 0x000000FFu);
    EXPECT_EQ(turned->format->Gmask, 0x0000FF00u);
    EXPECT_EQ(turned->format->Bmask, 0x00FF0000u);
    EXPECT_EQ(turned->format->Amask, 0xFF000000u);
    EXPECT_TRUE(turned->flags & SDL_SRCALPHA);
  }
}

TEST(RotateSprite, AngleZeroIsAnOpaqueCopyWithKeyPixelsCleared) {
  startMedia();
  SurfacePtr source = plainSurface(5, 4, rgb(10, 20, 30));
  setRawPixel(source.get(), 1, 2, kGreen);
  setRawPixel(source.get(), 4, 0, rgb(250, 128, 1));
  SDL_SetColorKey(source.get(), SDL_SRCCOLORKEY, kGreen);
  SurfacePtr copy = rotateSprite(source.get(), 0, 1.0);
  ASSERT_TRUE(copy);
  ASSERT_EQ(copy->w, 5);
  ASSERT_EQ(copy->h, 4);
  // Picture byte order: red low, alpha high.
  EXPECT_EQ(rawPixel(copy.get(), 0, 0), 0xFF1E140Au);
  EXPECT_EQ(rawPixel(copy.get(), 4, 0), 0xFF0180FAu);
  EXPECT_EQ(rawPixel(copy.get(), 1, 2), 0u);

  // Without a key on the source, green is an ordinary opaque colour.
  SDL_SetColorKey(source.get(), 0, 0);
  copy = rotateSprite(source.get(), 0, 1.0);
  EXPECT_EQ(rawPixel(copy.get(), 1, 2), 0xFF00FF00u);
}

TEST(RotateSprite, KeyPixelsAndTheCornersOutsideThePictureAreTransparent) {
  startMedia();
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

TEST(RotateSprite, PositiveAnglesTurnCounterClockwise) {
  startMedia();
  // Upright picture with its top row marked: the marked row is where the sprite faces.
  SurfacePtr source = plainSurface(20, 40, rgb(0, 0, 200));
  SDL_Rect top{0, 0, 20, 2};
  SDL_FillRect(source.get(), &top, rgb(255, 0, 0));
  const Uint32 red = 0xFF0000FF;

  auto markedCentre = [&](double angle, double& mx, double& my, Size& size) {
    SurfacePtr turned = rotateSprite(source.get(), angle, 1.0);
    ASSERT_TRUE(turned);
    size = sizeOf(turned);
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = 0; y < turned->h; ++y)
      for (int x = 0; x < turned->w; ++x)
        if (rawPixel(turned.get(), x, y) == red) {
          sx += x;
          sy += y;
          ++n;
        }
    ASSERT_GT(n, 0) << angle;
    mx = sx / n;
    my = sy / n;
  };
  double mx, my;
  Size size;
  markedCentre(90, mx, my, size);  // top turns to the left
  EXPECT_LT(mx, 3);
  EXPECT_NEAR(my, size.h / 2.0, 2);
  markedCentre(270, mx, my, size);  // top turns to the right
  EXPECT_GT(mx, size.w - 4);
  EXPECT_NEAR(my, size.h / 2.0, 2);
  markedCentre(180, mx, my, size);  // top turns to the bottom
  EXPECT_GT(my, size.h - 4);
  EXPECT_NEAR(mx, size.w / 2.0, 2);
  markedCentre(45, mx, my, size);  // up-left
  EXPECT_LT(mx, size.w / 2.0 - 5);
  EXPECT_LT(my, size.h / 2.0 - 5);
}

TEST(RotateSprite, MatchesTheBlitThenSampleAlgorithmForEverySourceKind) {
  startMedia();
  struct Source {
    const char* what;
    SurfacePtr surface;
  };
  std::vector<Source> sources;
  // Display layout with a key (the game's frames), and without one.
  sources.push_back({"keyed 32-bit", plainSurface(23, 37)});
  sources.push_back({"unkeyed 32-bit", plainSurface(16, 9)});
  // Layouts read through a real copy: 24-bit, alpha picture, blue-first 32-bit.
  sources.push_back({"keyed 24-bit", SurfacePtr(SDL_CreateRGBSurface(SDL_SWSURFACE, 13, 30, 24,
                                                                     0xFF0000, 0xFF00, 0xFF, 0))});
  sources.push_back(
      {"alpha 32-bit", SurfacePtr(SDL_CreateRGBSurface(SDL_SWSURFACE, 12, 12, 32, 0xFF, 0xFF00,
                                                       0xFF0000, 0xFF000000))});
  sources.push_back(
      {"keyed bgr 32-bit",
       SurfacePtr(SDL_CreateRGBSurface(SDL_SWSURFACE, 31, 8, 32, 0xFF, 0xFF00, 0xFF0000, 0))});
  for (Source& s : sources) {
    ASSERT_TRUE(s.surface) << s.what;
    paintPattern(s.surface.get());
    if (std::string(s.what).find("keyed") == 0)
      SDL_SetColorKey(s.surface.get(), SDL_SRCCOLORKEY, SDL_MapRGB(s.surface->format, 0, 255, 0));
  }
  std::vector<double> angles = {0, 0.0009, 1, 45, 90, 180, 270, 359, -30, 12.5, 725};
  for (int a = 3; a < 360; a += 17) angles.push_back(a);
  for (Source& s : sources)
    for (double angle : angles) {
      SurfacePtr expected = referenceRotate(s.surface.get(), angle);
      SurfacePtr actual = rotateSprite(s.surface.get(), angle, 1.0);
      expectSamePixels(expected.get(), actual.get(), s.what, angle);
    }
  // Every size from a single pixel up, at every whole degree over a few turns.
  std::srand(3);
  for (int i = 0; i < 400; ++i) {
    SurfacePtr source = plainSurface(1 + std::rand() % 40, 1 + std::rand() % 40);
    paintPattern(source.get());
    SDL_SetColorKey(source.get(), SDL_SRCCOLORKEY, kGreen);
    const double angle = std::rand() % 1080 - 360;
    SurfacePtr expected = referenceRotate(source.get(), angle);
    SurfacePtr actual = rotateSprite(source.get(), angle, 1.0);
    expectSamePixels(expected.get(), actual.get(), "random size", angle);
  }
}
