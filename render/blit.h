// Small helpers every drawing file shares: blitting at a corner, and the fill and picture blit
// the city is painted with.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "world/saturate.h"

// Rows of 32-bit pixels with 8-bit colour channels and no alpha: the screen and the frames.
bool plain32(const SDL_PixelFormat* format);
// The part of (x, y, w, h) inside the surface's clip rectangle; false when nothing is left.
bool clipTo(const SDL_Surface* surface, int& x, int& y, int& w, int& h);
inline Uint32* rowOf(SDL_Surface* surface, int y) {
  return reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch);
}

// SDL_FillRect's result (clipped to the surface's clip rectangle), written with plain stores:
// SDL's own 32-bit fill streams past the cache and is many times slower on the small and
// unaligned rectangles of lawns, sidewalks, roads and houses.
void fillRect(SDL_Surface* surface, const SDL_Rect& rect, Uint32 colour);

// SDL_BlitSurface of the whole image with its top-left corner at (x, y) (16-bit coordinates,
// as SDL keeps them); an empty image or screen draws nothing. Turned, keyed pictures whose
// pixels are all fully opaque or fully clear are copied directly, with exactly SDL's result;
// `twoLevelAlpha` promises that (turnsOpaqueOrClear of the frame) and saves checking it.
void blitAt(SDL_Surface* screen, SDL_Surface* image, int64_t x, int64_t y,
            bool twoLevelAlpha = false);
// The part `area` of what blitAt(screen, image, 0, 0) draws.
void blitPart(SDL_Surface* screen, SDL_Surface* image, const SDL_Rect& area);
