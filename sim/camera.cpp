// The camera of the game and of the editor.
#include "sim/camera.h"

#include <cstdint>

#include "world/saturate.h"
#include "world/world.h"

void centreView(View& view, int x, int y) {
  // In wide ints, so that no wild position overflows; the corner is a 16-bit screen value.
  int64_t left = static_cast<int64_t>(x) - view.w / 2;
  int64_t top = static_cast<int64_t>(y) - view.h / 2;
  if (left < 0) left = 0;
  if (top < 0) top = 0;
  if (left > WORLD_SIZE - view.w) left = WORLD_SIZE - view.w;
  if (top > WORLD_SIZE - view.h) top = WORLD_SIZE - view.h;
  view.x = static_cast<int16_t>(left);
  view.y = static_cast<int16_t>(top);
}

void updateCamera(World& world) {
  if (!world.player) return;
  centreView(world.view, truncateToInt(world.player->x), truncateToInt(world.player->y));
}
