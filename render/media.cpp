// Colour tables of the media.
#include "render/media.h"

namespace {
uint32_t mapColour(const SDL_PixelFormat* format, int r, int g, int b) {
  if (format) return SDL_MapRGB(const_cast<SDL_PixelFormat*>(format), r, g, b);
  return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
         static_cast<uint32_t>(b);
}
}  // namespace

void mapMediaColours(Media& media, const SDL_PixelFormat* format) {
  for (int i = 0; i < 10; ++i) {
    media.houseColours[i] = mapColour(format, 50 + 10 * i, 58, 18);
    media.lawnColours[i] = mapColour(format, 100 - 9 * i, 200 - 5 * i, 50 - 2 * i);
  }
  media.sidewalkGrey = mapColour(format, 88, 88, 88);
  media.roadGrey = mapColour(format, 133, 133, 133);
}
