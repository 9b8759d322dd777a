// SDL for tests: one start-up on the dummy driver (a screen and the fonts), plain surfaces and
// the pixel probes.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdlib>
#include <functional>

#include "render/surface.h"

namespace testsupport {

constexpr const char* FONT = "GFX/fonts/ADVERT.TTF";

// Starts SDL video on the dummy driver and TTF unless they run already (a test that quit them
// gets them back). Returns the screen: the open one when it is w x h and as full-screen as
// `flags` ask, else a new w x h x 32 one (each new mode costs the SDL 1.2 layer a small leak).
inline SDL_Surface* startSdl(int w = 800, int h = 600, Uint32 flags = SDL_SWSURFACE) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_Init(SDL_INIT_VIDEO) != 0) return nullptr;
  if (!TTF_WasInit() && TTF_Init() != 0) return nullptr;
  SDL_EnableUNICODE(1);
  SDL_Surface* screen = SDL_GetVideoSurface();
  if (!screen || screen->w != w || screen->h != h || ((screen->flags ^ flags) & SDL_FULLSCREEN))
    screen = SDL_SetVideoMode(w, h, 32, flags);
  return screen;
}

// A software surface in the plain 32-bit layout the display uses (0x00RRGGBB), filled.
inline SurfacePtr plainSurface(int w, int h, Uint32 fill = 0) {
  SurfacePtr s(
      SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0));
  if (s) SDL_FillRect(s.get(), nullptr, fill);
  return s;
}

inline Uint32 rgb(Uint8 r, Uint8 g, Uint8 b) { return (Uint32(r) << 16) | (Uint32(g) << 8) | b; }

// Raw 32-bit pixels of a software surface (no locking needed).
inline Uint32& rawPixel(SDL_Surface* s, int x, int y) {
  return reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x];
}

// The colour at (x, y) without its alpha byte; 32-bit surfaces only.
inline Uint32 pixelAt(SDL_Surface* s, int x, int y) {
  SDL_LockSurface(s);
  const Uint32 p = rawPixel(s, x, y);
  SDL_UnlockSurface(s);
  return p & 0x00FFFFFF;
}

// Counts the pixels of a rectangle (clipped to the surface) whose raw 32-bit value passes `test`.
template <class Test>
int countRaw(SDL_Surface* s, int x0, int y0, int w, int h, Test test) {
  int n = 0;
  SDL_LockSurface(s);
  for (int y = y0 < 0 ? 0 : y0; y < y0 + h && y < s->h; ++y)
    for (int x = x0 < 0 ? 0 : x0; x < x0 + w && x < s->w; ++x) n += test(rawPixel(s, x, y));
  SDL_UnlockSurface(s);
  return n;
}

// Counts the pixels of a rectangle whose colour passes `test`.
inline int countPixels(SDL_Surface* s, int x0, int y0, int w, int h,
                       const std::function<bool(Uint8 r, Uint8 g, Uint8 b)>& test) {
  return countRaw(s, x0, y0, w, h, [&](Uint32 p) {
    Uint8 r, g, b;
    SDL_GetRGB(p, s->format, &r, &g, &b);
    return test(r, g, b);
  });
}

// Counts the pixels of one exact colour, as mapped for the surface (alpha ignored).
inline int countColour(SDL_Surface* s, int x0, int y0, int w, int h, Uint32 colour) {
  const Uint32 mask = ~s->format->Amask;
  return countRaw(s, x0, y0, w, h, [&](Uint32 p) { return (p & mask) == (colour & mask); });
}

// Counts the near-black pixels of a rectangle: drawn text shows as these.
inline int darkPixels(SDL_Surface* s, int x0, int y0, int w, int h) {
  return countPixels(s, x0, y0, w, h, [](Uint8 r, Uint8 g, Uint8 b) {
    return r <= 40 && g <= 40 && b <= 40;
  });
}

}  // namespace testsupport
