// The small geometry types of the city: a rectangle in world units and the view on the city.
#pragma once

// The city is a square of this many pixels.
constexpr int WORLD_SIZE = 3000;

// An axis-aligned rectangle by its top-left corner and size.
struct Rect {
  double x, y, w, h;
};
// A rectangle with a negative (or NaN) width or height covers nothing: it is not drawn and
// blocks no one, whatever a map file or the property panel says.
inline bool hasArea(const Rect& r) { return r.w >= 0 && r.h >= 0; }

// The part of the city the screen shows: x, y = world position of its top-left corner (16-bit,
// as the screen's coordinates are); w, h = the screen's size, set by whoever opens the screen.
struct View {
  int x = 0, y = 0;
  int w = 0, h = 0;
};
