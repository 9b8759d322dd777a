// Plain 32-bit surfaces and raw pixel access for the drawing tests; SDL's start-up and the
// pixel probe come from the shared test support.
#pragma once

#include <SDL.h>

#include "render/surface.h"
#include "support/sdl.h"

namespace rendertest {

inline void startMedia() { testsupport::startSdl(); }

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

inline Uint32 rawPixel(SDL_Surface* s, int x, int y) {
  return reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch)[x];
}

inline void setRawPixel(SDL_Surface* s, int x, int y, Uint32 value) {
  reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x] = value;
}

using testsupport::pixelAt;

}  // namespace rendertest
