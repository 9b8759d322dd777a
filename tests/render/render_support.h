// Shared set-up of the drawing tests: SDL started once, plain surfaces, pixel access.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>

#include "render/surface.h"

namespace rendertest {

// SDL video (dummy driver under ctest) and TTF, started once for the whole test program and
// left running: surfaces held by test worlds are freed while SDL still runs.
inline void startMedia() {
  static const bool started = [] {
    SDL_Init(SDL_INIT_VIDEO);
    TTF_Init();
    return true;
  }();
  (void)started;
}

// A software surface in the plain 32-bit layout the display uses (0x00RRGGBB), filled.
inline SurfacePtr plainSurface(int w, int h, Uint32 fill = 0) {
  SurfacePtr s(
      SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0));
  if (s) SDL_FillRect(s.get(), nullptr, fill);
  return s;
}

inline Uint32 rgb(Uint8 r, Uint8 g, Uint8 b) {
  return (static_cast<Uint32>(r) << 16) | (static_cast<Uint32>(g) << 8) | b;
}

// Raw 32-bit pixel (surfaces of these tests are all 32-bit).
inline Uint32 rawPixel(SDL_Surface* s, int x, int y) {
  return reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch)[x];
}

inline void setRawPixel(SDL_Surface* s, int x, int y, Uint32 value) {
  reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x] = value;
}

// Pixel of a plain surface with the unused top byte dropped.
inline Uint32 colourAt(SDL_Surface* s, int x, int y) { return rawPixel(s, x, y) & 0x00FFFFFF; }

inline Uint8 alphaAt(SDL_Surface* s, int x, int y) {
  Uint8 r, g, b, a;
  SDL_GetRGBA(rawPixel(s, x, y), s->format, &r, &g, &b, &a);
  return a;
}

// True when some pixel of the area is darker than `limit` in every channel (black text).
inline bool hasDarkPixel(SDL_Surface* s, int x0, int y0, int w, int h, int limit = 90) {
  for (int y = y0; y < y0 + h && y < s->h; ++y)
    for (int x = x0; x < x0 + w && x < s->w; ++x) {
      if (x < 0 || y < 0) continue;
      const Uint32 p = colourAt(s, x, y);
      if (static_cast<int>((p >> 16) & 0xFF) < limit && static_cast<int>((p >> 8) & 0xFF) < limit &&
          static_cast<int>(p & 0xFF) < limit)
        return true;
    }
  return false;
}

}  // namespace rendertest
