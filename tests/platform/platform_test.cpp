// The desktop side of the platform layer: colour keys, the display format and Latin-1 text
// behave as the drawing and editor code expect of them.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "render/surface.h"
#include "support/sdl.h"

using testsupport::pixelAt;

namespace {

// A one-row 32-bit surface of 0xRRGGBB colours, in the screen's byte order or a PNG's.
SurfacePtr row(std::initializer_list<Uint32> pixels, bool pngOrder = false) {
  SurfacePtr s(pngOrder ? SDL_CreateRGBSurface(SDL_SWSURFACE, int(pixels.size()), 1, 32, 0xFF,
                                               0xFF00, 0xFF0000, 0xFF000000)
                        : SDL_CreateRGBSurface(SDL_SWSURFACE, int(pixels.size()), 1, 32,
                                               0xFF0000, 0xFF00, 0xFF, 0));
  Uint32* p = static_cast<Uint32*>(s->pixels);
  for (Uint32 c : pixels) *p++ = SDL_MapRGBA(s->format, c >> 16, c >> 8 & 0xFF, c & 0xFF, 255);
  return s;
}

}  // namespace

TEST(Platform, ColourKeyIsSkippedByBlitsAndReportedWithTheSurfaceAlpha) {
  ASSERT_TRUE(testsupport::startSdl(64, 48));
  SurfacePtr image = row({0x00FF00, 0xFF0000, 0x00FF00});
  Uint32 key = 1;
  EXPECT_FALSE(platformColorKey(image.get(), key));
  platformSetColorKey(image.get(), SDL_MapRGB(image->format, 0, 255, 0));
  ASSERT_TRUE(platformColorKey(image.get(), key));
  EXPECT_EQ(key & 0x00FFFFFF, 0x00FF00u);
  SurfacePtr under = row({0xFFFFFF, 0xFFFFFF, 0xFFFFFF});
  SDL_BlitSurface(image.get(), nullptr, under.get(), nullptr);
  EXPECT_EQ(pixelAt(under.get(), 0, 0), 0xFFFFFFu);
  EXPECT_EQ(pixelAt(under.get(), 1, 0), 0xFF0000u);

  EXPECT_EQ(platformSurfaceAlpha(image.get()), SDL_ALPHA_OPAQUE);
  SDL_SetAlpha(image.get(), SDL_SRCALPHA, 128);
  EXPECT_EQ(platformSurfaceAlpha(image.get()), 128);
  // Desktop pixels never count as carrying their own transparency: SDL's blit applies it.
  EXPECT_FALSE(platformPixelsCarryAlpha(image.get()));
}

TEST(Platform, DisplayFormatTakesTheScreensLayoutAndKeepsTheColours) {
  SDL_Surface* screen = testsupport::startSdl(64, 48);
  ASSERT_TRUE(screen);
  // An image with an alpha channel in the other byte order, as IMG_Load gives for a PNG.
  SurfacePtr loaded = row({0xFF0000, 0x0000FF}, true);
  SurfacePtr shown(platformDisplayFormat(loaded.release()));  // takes the image over
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->format->Rmask, screen->format->Rmask);
  Uint8 r, g, b;
  SDL_GetRGB(static_cast<Uint32*>(shown->pixels)[1], shown->format, &r, &g, &b);
  EXPECT_EQ((r << 16) | (g << 8) | b, 0x0000FF);
}

TEST(Platform, TextIsLatin1ByteForByteAndEmptyTextRendersNothing) {
  ASSERT_TRUE(testsupport::startSdl(64, 48));
  EXPECT_EQ(platformOpenFont("GFX/fonts/no-such-font.ttf", 12), nullptr);
  FontPtr font(platformOpenFont(testsupport::FONT, 12));
  ASSERT_TRUE(font) << "run from the repository root";
  const SDL_Color black{0, 0, 0, 0};
  EXPECT_EQ(platformRenderText(font.get(), "", black), nullptr);
  // A Swedish letter is one Latin-1 byte drawn as one glyph, not a broken UTF-8 sequence.
  SurfacePtr swedish(platformRenderText(font.get(), "V\xe4g", black));
  SurfacePtr plain(platformRenderText(font.get(), "Vag", black));
  ASSERT_TRUE(swedish && plain);
  EXPECT_EQ(swedish->w, plain->w);
}
