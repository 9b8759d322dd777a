// Small helpers every drawing file shares: overflow-safe truncation and blitting at a corner.
#pragma once

#include <SDL.h>

#include <cstdint>

// Truncation toward zero that saturates instead of overflowing on a wild value.
inline int truncateToInt(double v) {
  if (!(v > -2147483648.0)) return INT32_MIN;
  if (!(v < 2147483647.0)) return INT32_MAX;
  return static_cast<int>(v);
}

// Blits the whole image with its top-left corner at the screen point (16-bit coordinates, as
// SDL keeps them); an empty image or screen draws nothing.
inline void blitAt(SDL_Surface* screen, SDL_Surface* image, int x, int y) {
  if (!image || !screen) return;
  SDL_Rect at{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
  SDL_BlitSurface(image, nullptr, screen, &at);
}
