// Geometry kit shared by every mover: corners, clearances, pre-tests, the move commit, headings.
#pragma once

#include <cmath>
#include <memory>

#include "world/records.h"
#include "world/rect.h"

struct World;

constexpr double BLOCK_DISTANCE = 1.0;  // a move is refused below this clearance
constexpr double PI = 3.141592653589793;


// Corner k (0 front-left, 1 rear-left, 2 rear-right, 3 front-right); k outside 0..3 gives 0.
double cornerX(const Body& body, int k);
double cornerY(const Body& body, int k);
// The same around the tentative centre.
double nextCornerX(const Body& body, int k);
double nextCornerY(const Body& body, int k);

// The sampled outlines measured lately, found again by everything they depend on. The same
// outlines are measured again and again within a frame (a car against each of its neighbours,
// both of a pair that touch, every step of a jam); a hit gives exactly what measuring again
// would, so every measure below has the same result with a memo or without one. The world's
// scratch keeps one for the simulation's passes.
class OutlineMemo {
 public:
  OutlineMemo();
  ~OutlineMemo();
  OutlineMemo(const OutlineMemo&) = delete;
  OutlineMemo& operator=(const OutlineMemo&) = delete;

  struct Entry;
  Entry& slot(size_t hash);
  // The corners' offsets from the centre by shape and whole heading (see collision.cpp).
  struct Shapes;
  Shapes& shapes();

 private:
  std::unique_ptr<Entry[]> entries_;  // made on first use
  std::unique_ptr<Shapes> shapes_;    // made on first use
};

// The answers of the closer-than test for pairs of outlines, found again by everything they
// depend on. Cars in a jam stand still and try the same steps frame after frame, so the same
// pairs are asked again and again; a hit gives exactly what measuring again would.
class PairMemo {
 public:
  PairMemo();
  ~PairMemo();
  PairMemo(const PairMemo&) = delete;
  PairMemo& operator=(const PairMemo&) = delete;

  struct Entry;
  Entry& slot(size_t hash);
  // Where a pair of bodies was last found in contact (see collision.cpp).
  struct Hint;
  Hint& hint(const void* a, const void* b);

 private:
  std::unique_ptr<Entry[]> entries_;  // made on first use
  std::unique_ptr<Hint[]> hints_;     // made on first use
};

// Inline: the pre-tests of every pair ask these in their inner loops.
inline double halfDiagonal(const Body& body) {
  return std::sqrt((0.5 * body.h) * (0.5 * body.h) + (0.5 * body.w) * (0.5 * body.w));
}
inline double pointDistance(double x1, double y1, double x2, double y2) {
  double dx = x2 - x1, dy = y2 - y1;
  return std::sqrt(dx * dx + dy * dy);
}
double pointRectDistance(double px, double py, const Rect& rect);
double pointOutlineDistance(double px, double py, const Body& body);
double boxRectClearance(const Body& body, const Rect& rect, OutlineMemo* memo = nullptr);
double nextBoxRectClearance(const Body& body, const Rect& rect, OutlineMemo* memo = nullptr);
// boxRectClearance(body, rect) < limit (and the tentative form), without measuring the rest.
bool boxRectCloserThan(const Body& body, const Rect& rect, double limit,
                       OutlineMemo* memo = nullptr);
bool nextBoxRectCloserThan(const Body& body, const Rect& rect, double limit,
                           OutlineMemo* memo = nullptr);
double boxBoxClearance(const Body& a, const Body& b, OutlineMemo* memo = nullptr);
double nextBoxBoxClearance(const Body& a, const Body& b, OutlineMemo* memo = nullptr);
// boxBoxClearance(a, b) < limit (and the tentative form), without measuring what lies beyond
// the limit: for callers that only compare the clearance with it. With `pairs`, the answers for
// pairs asked before are taken from it.
bool boxBoxCloserThan(const Body& a, const Body& b, double limit, OutlineMemo* memo = nullptr,
                      PairMemo* pairs = nullptr);
bool nextBoxBoxCloserThan(const Body& a, const Body& b, double limit,
                          OutlineMemo* memo = nullptr, PairMemo* pairs = nullptr);

bool nearHouse(const Rect& house, const Body& body);     // at the tentative centre, d <= r
bool nearHouseNow(const Rect& house, const Body& body);  // at the current centre, d < r
bool hitsHouse(const World& world, const Body& body);

bool anyCornerInView(const Body& body, const View& view);
// Any part of the rectangle in the view (edges included); a negative size covers nothing.
bool rectInView(const Rect& rect, const View& view);

// Accepts the tentative centre axis by axis (y first) inside the world's bands.
void commitMove(Body& body);
// Turns the mover toward a rectangle: straight across where the mover is beside it, else at
// its nearest corner; a mover on the rectangle keeps its heading.
void faceRect(Body& mover, const Rect& rect);
// Turns the mover toward a point (a rectangle of no size).
void facePoint(Body& mover, double px, double py);
// Wraps any heading into 0..360.
int normalizeHeading(int heading);
// Turn by a step (+5, -5, +180, +-20): above 360 subtract 360, below 0 add 360.
int turnHeading(int heading, int degrees);
