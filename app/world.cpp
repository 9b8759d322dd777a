// Colour tables of the World.
#include "app/world.h"

namespace {
uint32_t mapColour(const SDL_PixelFormat* format, int r, int g, int b) {
  if (format) return SDL_MapRGB(const_cast<SDL_PixelFormat*>(format), r, g, b);
  return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
         static_cast<uint32_t>(b);
}
}  // namespace

void mapWorldColours(World& world, const SDL_PixelFormat* format) {
  for (int i = 0; i < 10; ++i) {
    world.houseColours[i] = mapColour(format, 50 + 10 * i, 58, 18);
    world.lawnColours[i] = mapColour(format, 100 - 9 * i, 200 - 5 * i, 50 - 2 * i);
  }
  world.sidewalkGrey = mapColour(format, 88, 88, 88);
  world.roadGrey = mapColour(format, 133, 133, 133);
}
