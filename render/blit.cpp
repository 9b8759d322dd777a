// The fill and blit the city is painted with: SDL's results, without SDL's slow paths for the
// small rectangles and the turned, keyed alpha pictures drawn every frame.
#include "render/blit.h"

#include <algorithm>
#include <cstring>

#include "platform/platform.h"

namespace {

// The layout rotateSprite makes (red low, alpha high), keyed the way the drawing code keys it.
bool turnedPicture(const SDL_Surface* s) {
  const SDL_PixelFormat* f = s->format;
  return f->BytesPerPixel == 4 && f->Rmask == 0x000000FF && f->Gmask == 0x0000FF00 &&
         f->Bmask == 0x00FF0000 && f->Amask == 0xFF000000 && (s->flags & SDL_SRCALPHA) &&
         (s->flags & SDL_SRCCOLORKEY) && platformSurfaceAlpha(s) == SDL_ALPHA_OPAQUE;
}

// Eight pixels per 32-byte store where the compiler can, which plain per-pixel loops at -O2
// do not give.
void fillRow(Uint32* p, int n, Uint32 colour) {
  const Uint32 pattern[8] = {colour, colour, colour, colour, colour, colour, colour, colour};
  int i = 0;
  for (; i + 8 <= n; i += 8) std::memcpy(p + i, pattern, sizeof pattern);
  for (; i < n; ++i) p[i] = colour;
}

// True when every pixel of the picture is fully opaque or fully clear, as turned pictures are.
bool onlyOpaqueOrClear(SDL_Surface* picture) {
  for (int r = 0; r < picture->h; ++r) {
    const Uint32* in = rowOf(picture, r);
    for (int c = 0; c < picture->w; ++c) {
      const Uint32 alpha = in[c] >> 24;
      if (alpha != 0 && alpha != 0xFF) return false;
    }
  }
  return true;
}

// What SDL's blit of a keyed picture with two-level alpha writes: key pixels are skipped,
// opaque ones copied, and clear ones keep their colour but lose the spare byte.
void copyTurned(SDL_Surface* picture, SDL_Surface* screen, int x, int y) {
  int dx = x, dy = y, w = picture->w, h = picture->h;
  if (!clipTo(screen, dx, dy, w, h)) return;
  const int sx = dx - x, sy = dy - y;
  Uint32 key = 0;
  platformColorKey(picture, key);
  key &= 0x00FFFFFF;
  const SDL_PixelFormat* f = screen->format;
  const int rs = f->Rshift, gs = f->Gshift, bs = f->Bshift;
  const Uint32 rgbMask = f->Rmask | f->Gmask | f->Bmask;
  for (int r = 0; r < h; ++r) {
    const Uint32* in = rowOf(picture, sy + r) + sx;
    Uint32* out = rowOf(screen, dy + r) + dx;
    for (int c = 0; c < w; ++c) {
      const Uint32 p = in[c];
      if ((p & 0x00FFFFFF) == key) continue;
      if (p >> 24)
        out[c] = ((p & 0xFF) << rs) | (((p >> 8) & 0xFF) << gs) | (((p >> 16) & 0xFF) << bs);
      else
        out[c] &= rgbMask;
    }
  }
}

}  // namespace

bool plain32(const SDL_PixelFormat* f) {
  return f->BytesPerPixel == 4 && f->Amask == 0 && !f->Rloss && !f->Gloss && !f->Bloss;
}

bool clipTo(const SDL_Surface* s, int& x, int& y, int& w, int& h) {
  const SDL_Rect& c = s->clip_rect;
  const int x0 = std::max(x, static_cast<int>(c.x)), y0 = std::max(y, static_cast<int>(c.y));
  const int x1 = std::min(x + w, c.x + static_cast<int>(c.w));
  const int y1 = std::min(y + h, c.y + static_cast<int>(c.h));
  if (x1 <= x0 || y1 <= y0) return false;
  x = x0;
  y = y0;
  w = x1 - x0;
  h = y1 - y0;
  return true;
}

void fillRect(SDL_Surface* surface, const SDL_Rect& rect, Uint32 colour) {
  if (!surface) return;
  if (surface->format->BytesPerPixel != 4 || !platformDirectPixels()) {
    SDL_Rect copy = rect;
    SDL_FillRect(surface, &copy, colour);
    return;
  }
  int x = rect.x, y = rect.y, w = rect.w, h = rect.h;
  if (!clipTo(surface, x, y, w, h)) return;
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
  for (int r = 0; r < h; ++r) fillRow(rowOf(surface, y + r) + x, w, colour);
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

void blitAt(SDL_Surface* screen, SDL_Surface* image, int64_t x, int64_t y, bool twoLevelAlpha) {
  if (!image || !screen) return;
  // Saturated, not wrapped: a picture far off the screen never lands on it.
  SDL_Rect at{toSint16(x), toSint16(y), 0, 0};
  if (platformDirectPixels() && turnedPicture(image) && plain32(screen->format) &&
      !SDL_MUSTLOCK(image) && (twoLevelAlpha || onlyOpaqueOrClear(image))) {
    if (SDL_MUSTLOCK(screen) && SDL_LockSurface(screen) != 0) return;
    copyTurned(image, screen, at.x, at.y);
    if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
    return;
  }
  SDL_BlitSurface(image, nullptr, screen, &at);
}

void blitPart(SDL_Surface* screen, SDL_Surface* image, const SDL_Rect& area) {
  if (!image || !screen) return;
  const SDL_PixelFormat *from = image->format, *to = screen->format;
  // Without a key or alpha and in the screen's own layout, SDL's blit copies the pixels as they
  // are; source and screen pixels keep the same place, so the part is the area within both.
  if (platformDirectPixels() && plain32(to) && from->BytesPerPixel == 4 &&
      from->Rmask == to->Rmask && from->Gmask == to->Gmask && from->Bmask == to->Bmask &&
      from->Amask == 0 && !(image->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA)) &&
      !SDL_MUSTLOCK(image)) {
    int x = std::max<int>(area.x, 0), y = std::max<int>(area.y, 0);
    int w = std::min<int>(area.x + area.w, image->w) - x;
    int h = std::min<int>(area.y + area.h, image->h) - y;
    if (w <= 0 || h <= 0 || !clipTo(screen, x, y, w, h)) return;
    if (SDL_MUSTLOCK(screen) && SDL_LockSurface(screen) != 0) return;
    for (int r = y; r < y + h; ++r)
      std::memcpy(rowOf(screen, r) + x, rowOf(image, r) + x, static_cast<size_t>(w) * 4);
    if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
    return;
  }
  SDL_Rect part = area, at{area.x, area.y, 0, 0};
  SDL_BlitSurface(image, &part, screen, &at);
}
