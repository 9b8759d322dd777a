// The drawing of the city in layer order.
#pragma once

#include <SDL.h>

#include "render/surface.h"

struct Bullet;
struct Media;
struct TurnedPicture;
struct MoneyItem;
struct View;
struct World;

// Draws the city as the world's view shows it.
void drawWorld(Media& media, const World& world);

// How the ground (background, lawns, sidewalks, roads) and the houses are painted. Both give
// the same picture; painting layer by layer is the plain reference the tests compare with.
enum class GroundPainting {
  // each screen pixel of the ground and the houses written by the topmost rectangle over it
  // only, and the whole city painted a band of rows at a time
  EachPixelOnce,
  // the background over the whole screen, then every rectangle and picture in order, straight
  // onto the screen
  LayerByLayer,
};
void setGroundPainting(GroundPainting painting);

// The bullet's picture turned to its heading, from the media's kept pictures; nullptr without
// a frame.
const TurnedPicture* bulletPicture(Media& media, const Bullet& bullet);

// Where the arrow toward an off-screen money item sits: 30 pixels inside the screen edge on
// the item's side, or the player's centre when the item is in no listed direction.
struct ArrowPlace {
  double x, y;
};
ArrowPlace arrowPlace(const MoneyItem& item, const View& view, int screenW, int screenH,
                      double playerX, double playerY);

// Draws the frame turned by angle degrees, keyed pure green, centred on the world point
// (x, y). An empty frame draws nothing.
void drawRotated(Media& media, const View& view, SDL_Surface* frame, double angle, double x,
                 double y);
