// The desktop side of the platform layer: colour keys, surface alpha and Latin-1 text behave as
// the drawing and editor code expect of them.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "render/surface.h"
#include "support/sdl.h"

TEST(Platform, ColourKeyAndSurfaceAlphaAreReportedAsSet) {
  ASSERT_TRUE(testsupport::startSdl(64, 48));
  SurfacePtr image = testsupport::plainSurface(3, 1);
  Uint32 key = 1;
  EXPECT_FALSE(platformColorKey(image.get(), key));
  platformSetColorKey(image.get(), SDL_MapRGB(image->format, 0, 255, 0));
  ASSERT_TRUE(platformColorKey(image.get(), key));
  EXPECT_EQ(key & 0x00FFFFFF, 0x00FF00u);

  EXPECT_EQ(platformSurfaceAlpha(image.get()), SDL_ALPHA_OPAQUE);
  SDL_SetAlpha(image.get(), SDL_SRCALPHA, 128);
  EXPECT_EQ(platformSurfaceAlpha(image.get()), 128);
  // Desktop pixels never count as carrying their own transparency: SDL's blit applies it.
  EXPECT_FALSE(platformPixelsCarryAlpha(image.get()));
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
