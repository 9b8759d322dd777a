// Geometry kit shared by every mover: corners, clearances, pre-tests, the move commit, headings.
#pragma once

#include <SDL.h>

#include "world/records.h"

struct World;

constexpr double BLOCK_DISTANCE = 1.0;  // a move is refused below this clearance
constexpr int WORLD_SIZE = 3000;
constexpr double PI = 3.141592653589793;

// An axis-aligned rectangle by its top-left corner and size.
struct Rect {
  double x, y, w, h;
};
inline Rect rectOf(const House& r) { return {r.x, r.y, r.w, r.h}; }
inline Rect rectOf(const Segment& r) { return {r.x, r.y, r.w, r.h}; }
inline Rect rectOf(const Lawn& r) { return {r.x, r.y, r.w, r.h}; }
inline Rect rectOf(const MoneyItem& r) { return {r.x, r.y, r.w, r.h}; }
// A drop lies centred on its position, where it is drawn.
inline Rect rectOf(const MoneyDrop& r) { return {r.x - r.w / 2, r.y - r.h / 2, r.w, r.h}; }
// A body's centre and size read as a rectangle (how movers face a car or the player).
inline Rect rectOf(const Body& b) { return {b.x, b.y, b.w, b.h}; }

// Corner k (0 front-left, 1 rear-left, 2 rear-right, 3 front-right); k outside 0..3 gives 0.
double cornerX(const Body& body, int k);
double cornerY(const Body& body, int k);
// The same around the tentative centre.
double nextCornerX(const Body& body, int k);
double nextCornerY(const Body& body, int k);

double halfDiagonal(const Body& body);
double pointDistance(double x1, double y1, double x2, double y2);
double pointRectDistance(double px, double py, const Rect& rect);
double pointOutlineDistance(double px, double py, const Body& body);
double boxRectClearance(const Body& body, const Rect& rect);
double nextBoxRectClearance(const Body& body, const Rect& rect);
double boxBoxClearance(const Body& a, const Body& b);
double nextBoxBoxClearance(const Body& a, const Body& b);
// boxBoxClearance(a, b) < limit (and the tentative form), without measuring what lies beyond
// the limit: for callers that only compare the clearance with it.
bool boxBoxCloserThan(const Body& a, const Body& b, double limit);
bool nextBoxBoxCloserThan(const Body& a, const Body& b, double limit);

bool nearHouse(const Rect& house, const Body& body);     // at the tentative centre, d <= r
bool nearHouseNow(const Rect& house, const Body& body);  // at the current centre, d < r
bool hitsHouse(const World& world, const Body& body);

bool anyCornerInView(const Body& body, const SDL_Rect& view);
// Any part of the rectangle in the view (edges included); a negative size covers nothing.
bool rectInView(const Rect& rect, const SDL_Rect& view);

// Accepts the tentative centre axis by axis (y first) inside the world's bands.
void commitMove(Body& body);
// Turns the mover toward a rectangle.
void faceRect(Body& mover, const Rect& rect);
// Wraps any heading into 0..360.
int normalizeHeading(int heading);
// Turn by a step (+5, -5, +180, +-20): above 360 subtract 360, below 0 add 360.
int turnHeading(int heading, int degrees);
