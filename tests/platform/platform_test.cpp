// The desktop side of the platform layer: colour keys, the display format, Latin-1 text and
// typed characters behave as the drawing and editor code expect of them.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include "platform/platform.h"
#include "render/surface.h"

namespace {

constexpr const char* kFont = "GFX/fonts/ADVERT.TTF";

void startMedia() {
  static const bool started = [] {
    SDL_Init(SDL_INIT_VIDEO);
    TTF_Init();
    return true;
  }();
  (void)started;
}

SurfacePtr plainRow(std::initializer_list<Uint32> pixels) {
  SurfacePtr s(SDL_CreateRGBSurface(SDL_SWSURFACE, static_cast<int>(pixels.size()), 1, 32,
                                    0x00FF0000, 0x0000FF00, 0x000000FF, 0));
  Uint32* row = static_cast<Uint32*>(s->pixels);
  for (Uint32 p : pixels) *row++ = p;
  return s;
}

Uint32 pixelAt(SDL_Surface* s, int x) { return static_cast<Uint32*>(s->pixels)[x] & 0x00FFFFFF; }

}  // namespace

TEST(Platform, ColourKeyIsSkippedByBlitsAndReportedWithTheSurfaceAlpha) {
  startMedia();
  constexpr Uint32 green = 0x00FF00, red = 0xFF0000, blue = 0x0000FF, white = 0xFFFFFF;
  SurfacePtr image = plainRow({green, red, green, blue});
  Uint32 key = 1;
  EXPECT_FALSE(platformColorKey(image.get(), key));

  platformSetColorKey(image.get(), SDL_MapRGB(image->format, 0, 255, 0));
  ASSERT_TRUE(platformColorKey(image.get(), key));
  EXPECT_EQ(key & 0x00FFFFFF, green);
  SurfacePtr under = plainRow({white, white, white, white});
  SDL_BlitSurface(image.get(), nullptr, under.get(), nullptr);
  EXPECT_EQ(pixelAt(under.get(), 0), white);
  EXPECT_EQ(pixelAt(under.get(), 1), red);
  EXPECT_EQ(pixelAt(under.get(), 2), white);
  EXPECT_EQ(pixelAt(under.get(), 3), blue);

  EXPECT_EQ(platformSurfaceAlpha(image.get()), SDL_ALPHA_OPAQUE);
  SDL_SetAlpha(image.get(), SDL_SRCALPHA, 128);
  EXPECT_EQ(platformSurfaceAlpha(image.get()), 128);
  // Desktop pixels never count as carrying their own transparency: SDL's blit applies it.
  EXPECT_FALSE(platformPixelsCarryAlpha(image.get()));
}

TEST(Platform, DisplayFormatTakesTheScreensLayoutAndKeepsTheColours) {
  startMedia();
  SDL_Surface* screen = SDL_SetVideoMode(64, 48, 32, SDL_SWSURFACE);
  ASSERT_NE(screen, nullptr);
  // An image with an alpha channel in the other byte order, as IMG_Load gives for a PNG.
  SDL_Surface* loaded =
      SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 1, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
  ASSERT_NE(loaded, nullptr);
  static_cast<Uint32*>(loaded->pixels)[0] = 0xFF0000FF;  // opaque red
  static_cast<Uint32*>(loaded->pixels)[1] = 0xFFFF0000;  // opaque blue
  SurfacePtr shown(platformDisplayFormat(loaded));  // takes `loaded` over
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->format->BytesPerPixel, screen->format->BytesPerPixel);
  EXPECT_EQ(shown->format->Rmask, screen->format->Rmask);
  Uint8 r, g, b;
  SDL_GetRGB(static_cast<Uint32*>(shown->pixels)[0], shown->format, &r, &g, &b);
  EXPECT_EQ((r << 16) | (g << 8) | b, 0xFF0000);
  SDL_GetRGB(static_cast<Uint32*>(shown->pixels)[1], shown->format, &r, &g, &b);
  EXPECT_EQ((r << 16) | (g << 8) | b, 0x0000FF);
}

TEST(Platform, TextIsLatin1ByteForByteAndEmptyTextRendersNothing) {
  startMedia();
  EXPECT_EQ(platformOpenFont("GFX/fonts/no-such-font.ttf", 12), nullptr);
  FontPtr font(platformOpenFont(kFont, 12));
  ASSERT_TRUE(font) << "run from the repository root";
  const SDL_Color black{0, 0, 0, 0};
  EXPECT_EQ(platformRenderText(font.get(), "", black), nullptr);
  // The Swedish letter is one Latin-1 byte drawn as one glyph as wide as its plain letter, not
  // a broken UTF-8 sequence.
  SurfacePtr swedish(platformRenderText(font.get(), "V\xe4g", black));
  SurfacePtr plain(platformRenderText(font.get(), "Vag", black));
  ASSERT_TRUE(swedish);
  ASSERT_TRUE(plain);
  EXPECT_EQ(swedish->w, plain->w);
  EXPECT_EQ(swedish->h, plain->h);
}

TEST(Platform, TypedCharacterIsTheKeysOwnCharacter) {
  SDL_keysym key{};
  key.sym = SDLK_a;
  key.unicode = 'A';
  EXPECT_EQ(platformTypedCharacter(key), 'A');
  key.unicode = 0xE4;  // a Swedish letter typed on the desktop keeps its Latin-1 code
  EXPECT_EQ(platformTypedCharacter(key), 0xE4);
  key.sym = SDLK_UP;
  key.unicode = 0;
  EXPECT_EQ(platformTypedCharacter(key), 0);
}
