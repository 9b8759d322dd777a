// Turning a colour-keyed sprite to a heading.
#pragma once

#include "render/surface.h"

// A new 32-bit surface with alpha holding the image turned counter-clockwise by `angle`
// degrees and sized to the turned bounding box; empty when the input is empty.
SurfacePtr rotateSprite(SDL_Surface* source, double angle, double zoom);
// True when every picture rotateSprite makes from this source is fully opaque or fully clear
// pixel by pixel: the source has no alpha channel and no surface-wide translucency.
bool turnsOpaqueOrClear(const SDL_Surface* source);
