// Geometry kit: corners of turned boxes, outline clearances, pre-tests, the move commit, headings.
#include "sim/collision.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "world/world.h"
#include "sim/scratch.h"
#include "sim/spatial_grid.h"

namespace {

double toRadians(double degrees) { return degrees * PI / 180; }

// The half-angle of the box's diagonal, in degrees; 0 for a body of no size (not NaN).
double diagonalAngle(const Body& body) {
  return (body.w == 0 && body.h == 0) ? 0.0 : std::atan(body.h / body.w) * 180 / PI;
}

// Direction of corner k from the centre, in degrees.
double cornerAngle(const Body& body, double phi, int k) {
  switch (k) {
    case 0: return 270 - body.heading + phi;  // front-left
    case 1: return 270 - body.heading - phi;  // rear-left
    case 2: return 90 - body.heading + phi;   // rear-right
    default: return 90 - body.heading - phi;  // front-right
  }
}

double cornerXAt(const Body& body, double cx, int k) {
  if (k < 0 || k > 3) return 0;
  return cx + halfDiagonal(body) * std::cos(toRadians(cornerAngle(body, diagonalAngle(body), k)));
}

double cornerYAt(const Body& body, double cy, int k) {
  if (k < 0 || k > 3) return 0;
  return cy + halfDiagonal(body) * std::sin(toRadians(cornerAngle(body, diagonalAngle(body), k)));
}

// The four corners of a body around a given centre, computed once per measure.
struct Outline {
  double x[4], y[4];
};

// Corner k lies at the centre plus these offsets; they depend on the shape and heading only.
struct CornerOffsets {
  double x[4], y[4];
};

CornerOffsets cornerOffsets(const Body& body) {
  const double phi = diagonalAngle(body), r = halfDiagonal(body);
  CornerOffsets c;
  for (int k = 0; k < 4; ++k) {
    double radians = toRadians(cornerAngle(body, phi, k));
    c.x[k] = r * std::cos(radians);
    c.y[k] = r * std::sin(radians);
  }
  return c;
}

Outline outlineAround(const CornerOffsets& c, double cx, double cy) {
  Outline o;
  for (int k = 0; k < 4; ++k) {
    o.x[k] = cx + c.x[k];
    o.y[k] = cy + c.y[k];
  }
  return o;
}

Outline outlineAt(const Body& body, double cx, double cy) {
  return outlineAround(cornerOffsets(body), cx, cy);
}

// A shape at one heading: its corners' offsets and the smallest and largest of them on each
// axis. Rounded addition keeps order, so the centre plus the smallest offset is exactly the
// smallest corner coordinate.
struct TurnedShape {
  CornerOffsets offsets;
  double lowX, highX, lowY, highY;
};

TurnedShape turnedShape(const Body& body) {
  TurnedShape t;
  t.offsets = cornerOffsets(body);
  const double* x = t.offsets.x;
  const double* y = t.offsets.y;
  t.lowX = std::min(std::min(x[0], x[1]), std::min(x[2], x[3]));
  t.highX = std::max(std::max(x[0], x[1]), std::max(x[2], x[3]));
  t.lowY = std::min(std::min(y[0], y[1]), std::min(y[2], y[3]));
  t.highY = std::max(std::max(y[0], y[1]), std::max(y[2], y[3]));
  return t;
}

}  // namespace

// Few shapes move about (the bullet, the walkers, the car models) and headings are whole
// degrees, so the sines and cosines of the corners are worked out once per shape and heading.
// The offsets are the very products the corner formula adds to the centre, so an outline from
// the table is the measured one bit for bit.
struct OutlineMemo::Shapes {
  static constexpr int HEADINGS = 361;  // 0 to 360
  static constexpr size_t MOST = 16;    // shapes kept; beyond them the oldest is dropped
  struct Shape {
    uint64_t w = 0, h = 0;  // the size's bits: -0 and 0 turn differently
    std::vector<TurnedShape> turned = std::vector<TurnedShape>(HEADINGS);
    std::vector<char> filled = std::vector<char>(HEADINGS, 0);
  };
  std::vector<std::unique_ptr<Shape>> shapes;  // most recently added last
  // The two shapes asked for last, the latest first: a pair test asks for two in turn.
  Shape* recent[2] = {nullptr, nullptr};

  // A shape asked for lately at a heading met before is found at once; the rest is looked up.
  const TurnedShape* turned(const Body& body) {
    uint64_t w, h;
    std::memcpy(&w, &body.w, sizeof w);
    std::memcpy(&h, &body.h, sizeof h);
    if (body.heading >= 0 && body.heading < HEADINGS) {
      const size_t a = static_cast<size_t>(body.heading);
      for (Shape* shape : recent)
        if (shape && shape->w == w && shape->h == h && shape->filled[a]) return &shape->turned[a];
    }
    return lookUp(body, w, h);
  }

  const TurnedShape* lookUp(const Body& body, uint64_t w, uint64_t h) {
    if (body.heading < 0 || body.heading >= HEADINGS) return nullptr;
    Shape* shape = nullptr;
    for (size_t i = 0; !shape && i < shapes.size(); ++i)
      if (shapes[i]->w == w && shapes[i]->h == h) shape = shapes[i].get();
    if (!shape) {
      if (shapes.size() == MOST) {
        for (Shape*& r : recent)
          if (r == shapes.front().get()) r = nullptr;
        shapes.erase(shapes.begin());
      }
      shapes.push_back(std::make_unique<Shape>());
      shape = shapes.back().get();
      shape->w = w;
      shape->h = h;
    }
    if (recent[0] != shape) {
      recent[1] = recent[0];
      recent[0] = shape;
    }
    const size_t a = static_cast<size_t>(body.heading);
    if (!shape->filled[a]) {
      shape->turned[a] = turnedShape(body);
      shape->filled[a] = 1;
    }
    return &shape->turned[a];
  }
};

OutlineMemo::Shapes& OutlineMemo::shapes() {
  if (!shapes_) shapes_ = std::make_unique<Shapes>();
  return *shapes_;
}

namespace {

// The outline around a centre, its corners from the memo's table when there is one.
Outline outlineAt(const Body& body, double cx, double cy, OutlineMemo* memo) {
  if (memo)
    if (const TurnedShape* t = memo->shapes().turned(body))
      return outlineAround(t->offsets, cx, cy);
  return outlineAt(body, cx, cy);
}

// A box wider than the world is nonsense from a bad map; its edges are sampled no further
// than this, so a measure always ends.
constexpr double kMaxEdgeSamples = 4.0 * WORLD_SIZE;

// The sampled points of one edge: point(i) for every whole i from first to last.
struct EdgeSamples {
  enum Shape { kVertical, kShallow, kSteep } shape = kVertical;
  double x1 = 0, y1 = 0, s = 0;  // start corner and slope dy/dx
  int64_t first = 0, last = -1;  // no samples when first > last

  double pointX(double i) const {
    return shape == kVertical ? x1 : (shape == kShallow ? x1 + i : x1 + i / s);
  }
  double pointY(double i) const {
    return shape == kVertical ? y1 + i : (shape == kShallow ? y1 + s * i : y1 + i);
  }
};

// Edge k runs from corner k to corner k+1 (corner 3 back to corner 0). i steps along the
// major extent e: 0, 1, ... while i < e; or from e truncated toward zero up to -1, so an
// edge walked backwards leaves out its start corner.
EdgeSamples edgeSamples(const Outline& o, int k) {
  EdgeSamples edge;
  int n = (k + 1) % 4;
  double x1 = o.x[k], y1 = o.y[k];
  double dx = o.x[n] - x1, dy = o.y[n] - y1;
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(dx) || !std::isfinite(dy))
    return edge;
  if (dx == 0 && dy == 0) return edge;
  edge.x1 = x1;
  edge.y1 = y1;
  double extent;
  if (dx == 0) {
    edge.shape = EdgeSamples::kVertical;
    extent = dy;
  } else if (std::fabs(dx) > std::fabs(dy)) {
    edge.shape = EdgeSamples::kShallow;
    edge.s = dy / dx;
    extent = dx;
  } else {
    edge.shape = EdgeSamples::kSteep;
    edge.s = dy / dx;
    extent = dy;
  }
  if (extent > kMaxEdgeSamples) extent = kMaxEdgeSamples;
  if (extent < -kMaxEdgeSamples) extent = -kMaxEdgeSamples;
  if (extent > 0) {
    edge.first = 0;
    edge.last = static_cast<int64_t>(std::ceil(extent)) - 1;
  } else {
    edge.first = static_cast<int64_t>(extent);
    edge.last = -1;
  }
  return edge;
}

// The straight stretch from an edge's first sample to its last, which holds all of them.
struct Stretch {
  double x1, y1, x2, y2;
};

Stretch stretchOf(const EdgeSamples& edge) {
  const double first = static_cast<double>(edge.first), last = static_cast<double>(edge.last);
  return {edge.pointX(first), edge.pointY(first), edge.pointX(last), edge.pointY(last)};
}

double largestOf(const Stretch& s) {
  return std::max(std::max(std::fabs(s.x1), std::fabs(s.y1)),
                  std::max(std::fabs(s.x2), std::fabs(s.y2)));
}

// The sampled outline of a body: the one definition every clearance measure walks. With each
// sampled edge, its stretch and the largest size of the stretch's coordinates, worked out once
// for all the measures that take the outline.
struct SampledOutline {
  EdgeSamples edge[4];
  Stretch stretch[4];
  double largest[4];
};

SampledOutline measureOutline(const Body& body, double cx, double cy,
                              OutlineMemo* memo = nullptr) {
  Outline corners = outlineAt(body, cx, cy, memo);
  SampledOutline o;
  for (int k = 0; k < 4; ++k) {
    o.edge[k] = edgeSamples(corners, k);
    if (o.edge[k].first > o.edge[k].last) continue;
    o.stretch[k] = stretchOf(o.edge[k]);
    o.largest[k] = largestOf(o.stretch[k]);
  }
  return o;
}

// Everything an outline depends on, bit for bit.
struct OutlineKey {
  uint64_t bits[5];
  bool operator==(const OutlineKey& other) const {
    return std::memcmp(bits, other.bits, sizeof bits) == 0;
  }
};

OutlineKey outlineKey(const Body& body, double cx, double cy) {
  OutlineKey key;
  const double heading = body.heading;
  const double values[5] = {body.w, body.h, heading, cx, cy};
  std::memcpy(key.bits, values, sizeof values);
  return key;
}

}  // namespace

// A small table keeps the latest outlines, one per slot of their key's hash.
struct OutlineMemo::Entry {
  OutlineKey key;
  SampledOutline outline;
  bool filled = false;
};

namespace {
constexpr size_t kMemoEntries = 1024;  // a power of two
}  // namespace

OutlineMemo::OutlineMemo() = default;
OutlineMemo::~OutlineMemo() = default;

OutlineMemo::Entry& OutlineMemo::slot(size_t hash) {
  if (!entries_) entries_ = std::make_unique<Entry[]>(kMemoEntries);
  return entries_[hash & (kMemoEntries - 1)];
}

namespace {

// The outline from the memo; `own` holds it when there is no memo. The reference stays good
// until the next lookup in the same memo (which may fill the same slot).
const SampledOutline& sampledOutlineAt(OutlineMemo* memo, const Body& body, double cx, double cy,
                                       SampledOutline& own) {
  if (!memo) return own = measureOutline(body, cx, cy);
  const OutlineKey key = outlineKey(body, cx, cy);
  uint64_t hash = 0x9E3779B97F4A7C15ull;
  for (uint64_t b : key.bits) hash = (hash ^ b) * 0xFF51AFD7ED558CCDull;
  OutlineMemo::Entry& entry = memo->slot(static_cast<size_t>(hash >> 32));
  if (!entry.filled || !(entry.key == key)) {
    entry.key = key;
    entry.outline = measureOutline(body, cx, cy, memo);
    entry.filled = true;
  }
  return entry.outline;
}

// Visits every sampled outline point, edge by edge.
template <class Visit>
void sampleOutline(const SampledOutline& o, Visit&& visit) {
  for (const EdgeSamples& edge : o.edge)
    for (int64_t i = edge.first; i <= edge.last; ++i) {
      double step = static_cast<double>(i);
      visit(edge.pointX(step), edge.pointY(step));
    }
}

// Smallest value of measure over the outline, `start` when nothing is sampled.
template <class Measure>
double minOverOutline(const SampledOutline& o, double start, Measure&& measure) {
  double best = start;
  sampleOutline(o, [&](double px, double py) {
    double d = measure(px, py);
    if (d < best) best = d;
  });
  return best;
}

// The samples of an edge lie evenly on a line (at least one pixel apart), so their squared
// distance to a point is a convex quadratic in i that grows by at least 1 per step away from
// its lowest point: only the two steps around the projection of the point can be nearest.
// They are evaluated by the same formulas as a full walk, so the result is the same as
// walking every sample.
double squaredEdgeDistance(double px, double py, const EdgeSamples& edge, double best) {
  if (edge.first > edge.last) return best;
  double ux = 0, uy = 1;
  if (edge.shape == EdgeSamples::kShallow) {
    ux = 1;
    uy = edge.s;
  } else if (edge.shape == EdgeSamples::kSteep) {
    ux = 1 / edge.s;
  }
  double t = ((px - edge.x1) * ux + (py - edge.y1) * uy) / (ux * ux + uy * uy);
  const double first = static_cast<double>(edge.first), last = static_cast<double>(edge.last);
  if (!(t >= first)) t = first;  // also NaN
  if (t > last) t = last;
  const int64_t around = static_cast<int64_t>(std::floor(t));
  for (int64_t i = around; i <= around + 1 && i <= edge.last; ++i) {
    double step = static_cast<double>(i);
    double dx = px - edge.pointX(step), dy = py - edge.pointY(step);
    double d = dx * dx + dy * dy;
    if (d < best) best = d;
  }
  return best;
}

// Squares keep square roots out of the inner loop; the root of the smallest square is the
// smallest distance, so the result is the same.
double squaredOutlineDistance(double px, double py, const SampledOutline& o, double best) {
  for (const EdgeSamples& edge : o.edge) best = squaredEdgeDistance(px, py, edge, best);
  return best;
}


double pointStretchDistance(double px, double py, const Stretch& s) {
  double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
  double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - s.x1) * dx + (py - s.y1) * dy) / length2 : 0;
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  return pointDistance(px, py, s.x1 + t * dx, s.y1 + t * dy);
}

// No sample of one stretch lies nearer to a sample of the other than this; 0 when they may
// cross or touch, NaN never (a stretch of bad numbers has no samples and is not asked).
// `largest` is the largest size of their eight coordinates.
double stretchGap(const Stretch& a, const Stretch& b, double largest) {
  auto side = [](const Stretch& s, double x, double y) {
    return (s.x2 - s.x1) * (y - s.y1) - (s.y2 - s.y1) * (x - s.x1);
  };
  if (side(b, a.x1, a.y1) * side(b, a.x2, a.y2) <= 0 &&
      side(a, b.x1, b.y1) * side(a, b.x2, b.y2) <= 0)
    return 0;
  double gap = std::min({pointStretchDistance(a.x1, a.y1, b), pointStretchDistance(a.x2, a.y2, b),
                         pointStretchDistance(b.x1, b.y1, a), pointStretchDistance(b.x2, b.y2, a)});
  // Far above the rounding of the sampled points, at any size of coordinates.
  gap -= 1e-6 * (1 + largest);
  return gap > 0 ? gap : 0;
}

// A pair of edges, one of each outline, with the gap between them.
struct EdgePair {
  double gap;
  int j, k;
};

// Every pair of sampled edges, nearest first; returns how many.
int sortedEdgePairs(const SampledOutline& a, const SampledOutline& b, EdgePair (&pairs)[16]) {
  int count = 0;
  for (int j = 0; j < 4; ++j) {
    if (a.edge[j].first > a.edge[j].last) continue;
    for (int k = 0; k < 4; ++k) {
      if (b.edge[k].first > b.edge[k].last) continue;
      pairs[count++] = {
          stretchGap(a.stretch[j], b.stretch[k], std::max(a.largest[j], b.largest[k])), j, k};
    }
  }
  std::sort(pairs, pairs + count,
            [](const EdgePair& l, const EdgePair& r) { return l.gap < r.gap; });
  return count;
}

// Edge pairs are walked nearest first, so the best distance falls early; a pair whose gap
// already exceeds it cannot hold a nearer pair of samples and is passed over whole, with all
// the pairs after it. The smallest square is the one the walk of every pair finds.
double outlineOutlineClearance(const SampledOutline& a, const SampledOutline& b) {
  EdgePair pairs[16];
  const int count = sortedEdgePairs(a, b, pairs);
  double best = NO_CONTACT * NO_CONTACT;
  for (int n = 0; n < count; ++n) {
    if (pairs[n].gap * pairs[n].gap > best) break;
    const EdgeSamples& from = a.edge[pairs[n].j];
    const EdgeSamples& to = b.edge[pairs[n].k];
    for (int64_t i = from.first; i <= from.last; ++i) {
      double step = static_cast<double>(i);
      best = squaredEdgeDistance(from.pointX(step), from.pointY(step), to, best);
    }
  }
  return std::sqrt(best);
}

// Narrows [first, last] to the steps of `edge` whose samples may lie within `limit` of the
// stretch: those within it lie on the line through the edge inside the capsule around the
// stretch, which a line crosses along one interval. The capsule is widened and the interval
// rounded outward by whole steps, far beyond any rounding, so no sample within the limit is
// left out; on numbers that do not behave, nothing is narrowed.
void stepsNear(const EdgeSamples& edge, const Stretch& to, double limit, int64_t& first,
               int64_t& last) {
  double ux = 0, uy = 1;  // the move from one step to the next
  if (edge.shape == EdgeSamples::kShallow) {
    ux = 1;
    uy = edge.s;
  } else if (edge.shape == EdgeSamples::kSteep) {
    ux = 1 / edge.s;
  }
  // Squares of these stay far from overflowing.
  constexpr double kTame = 1e12;
  for (double v : {ux, uy, edge.x1, edge.y1, to.x1, to.y1, to.x2, to.y2, limit})
    if (!(std::fabs(v) < kTame)) return;
  const double r = limit + 1.0;
  double lo = HUGE_VAL, hi = -HUGE_VAL;
  // The discs at the stretch's ends: |p(i) - c|^2 <= r^2.
  const double uu = ux * ux + uy * uy;
  const double ends[2][2] = {{to.x1, to.y1}, {to.x2, to.y2}};
  for (const auto& c : ends) {
    const double px = edge.x1 - c[0], py = edge.y1 - c[1];
    const double half = px * ux + py * uy, rest = px * px + py * py - r * r;
    const double disc = half * half - uu * rest;
    if (!(disc >= 0)) continue;
    const double root = std::sqrt(disc);
    lo = std::min(lo, (-half - root) / uu);
    hi = std::max(hi, (-half + root) / uu);
  }
  // The band along the stretch: between its ends, within r of its line.
  const double ex = to.x2 - to.x1, ey = to.y2 - to.y1, length2 = ex * ex + ey * ey;
  if (length2 > 0) {
    const double length = std::sqrt(length2);
    double bandLo = -HUGE_VAL, bandHi = HUGE_VAL;
    // Keeps the steps where base + slope * i lies within [low, high].
    auto within = [&](double base, double slope, double low, double high) {
      if (slope == 0) {
        if (!(low <= base && base <= high)) bandHi = -HUGE_VAL;
        return;
      }
      double from = (low - base) / slope, upto = (high - base) / slope;
      if (from > upto) std::swap(from, upto);
      bandLo = std::max(bandLo, from);
      bandHi = std::min(bandHi, upto);
    };
    const double px = edge.x1 - to.x1, py = edge.y1 - to.y1;
    within(px * ex + py * ey, ux * ex + uy * ey, 0, length2);
    within(ex * py - ey * px, ex * uy - ey * ux, -r * length, r * length);
    if (bandLo <= bandHi) {
      lo = std::min(lo, bandLo);
      hi = std::max(hi, bandHi);
    }
  }
  const double wideLo = std::floor(lo) - 1, wideHi = std::ceil(hi) + 1;
  if (!(wideLo <= wideHi) || wideLo > static_cast<double>(last) ||
      wideHi < static_cast<double>(first)) {
    last = first - 1;  // the line misses the capsule
    return;
  }
  if (wideLo > static_cast<double>(first)) first = static_cast<int64_t>(wideLo);
  if (wideHi < static_cast<double>(last)) last = static_cast<int64_t>(wideHi);
}

// Whether the boxes around two stretches lie more than `limit` apart on either axis, beyond
// any rounding of the samples on them: then no pair of their samples is within the limit.
// `largest` is the largest size of their eight coordinates.
bool boxesApart(const Stretch& a, const Stretch& b, double limit, double largest) {
  const double reach = limit + 1e-6 * (1 + largest);
  return std::min(a.x1, a.x2) - std::max(b.x1, b.x2) > reach ||
         std::min(b.x1, b.x2) - std::max(a.x1, a.x2) > reach ||
         std::min(a.y1, a.y2) - std::max(b.y1, b.y2) > reach ||
         std::min(b.y1, b.y2) - std::max(a.y1, a.y2) > reach;
}

// Whether outlineOutlineClearance(a, b) < limit. A pair of samples nearer than the limit lies
// on two edges whose gap is below it, so only those pairs are walked, and only along the
// steps that can come within the limit; the first pair of samples found nearer than the
// limit settles it (the smallest distance is no larger). Which pairs exist does not depend on
// the order of the walk, so the edges are taken as they come.
//
// `hint`, when given, is set to the pair of a sample of a and an edge of b found within the
// limit, for the next time this pair is asked.
struct ContactHint {
  int32_t i = 0;          // the step along a's edge (an edge has at most a few thousand)
  int8_t j = -1, k = -1;  // edges of a and b; none yet while j < 0
};

// Square roots are taken only once a square comes this close, to compare as the full measure
// does.
double nearlyLimitSquared(double limit) { return limit * limit * (1 + 1e-9); }

// Whether sample i of one edge lies within the limit of a sample of the other.
bool sampleNearEdge(const EdgeSamples& from, int64_t i, const EdgeSamples& to, double limit) {
  if (i < from.first || i > from.last || to.first > to.last) return false;
  const double step = static_cast<double>(i);
  const double d =
      squaredEdgeDistance(from.pointX(step), from.pointY(step), to, NO_CONTACT * NO_CONTACT);
  return d <= nearlyLimitSquared(limit) && std::sqrt(d) < limit;
}

bool outlinesCloserThan(const SampledOutline& a, const SampledOutline& b, double limit,
                        ContactHint* hint = nullptr) {
  const double nearlyLimit = nearlyLimitSquared(limit);
  double best = NO_CONTACT * NO_CONTACT;
  for (int j = 0; j < 4; ++j) {
    const EdgeSamples& from = a.edge[j];
    if (from.first > from.last) continue;
    const Stretch& fromStretch = a.stretch[j];
    for (int k = 0; k < 4; ++k) {
      const EdgeSamples& to = b.edge[k];
      if (to.first > to.last) continue;
      const Stretch& toStretch = b.stretch[k];
      const double largest = std::max(a.largest[j], b.largest[k]);
      if (boxesApart(fromStretch, toStretch, limit, largest)) continue;
      if (stretchGap(fromStretch, toStretch, largest) > limit) continue;
      int64_t first = from.first, last = from.last;
      stepsNear(from, toStretch, limit, first, last);
      for (int64_t i = first; i <= last; ++i) {
        double step = static_cast<double>(i);
        best = squaredEdgeDistance(from.pointX(step), from.pointY(step), to, best);
        if (best <= nearlyLimit && std::sqrt(best) < limit) {
          if (hint)
            *hint = {static_cast<int32_t>(i), static_cast<int8_t>(j), static_cast<int8_t>(k)};
          return true;
        }
      }
    }
  }
  return std::sqrt(best) < limit;
}

double outlineRectClearance(const SampledOutline& o, const Rect& rect) {
  return minOverOutline(o, NO_CONTACT,
                        [&](double px, double py) { return pointRectDistance(px, py, rect); });
}

// Whether outlineRectClearance(o, rect) < limit. The samples of an edge lie within the box
// of its end samples (each coordinate moves one way along the edge, and rounding keeps that
// order), so an edge whose box lies more than the limit beyond the rectangle on one axis,
// beyond any rounding, has no sample within it; the first sample nearer settles it.
bool outlineRectCloserThan(const SampledOutline& o, const Rect& rect, double limit) {
  const double left = rect.x, right = rect.x + rect.w, top = rect.y, bottom = rect.y + rect.h;
  const double rectLargest = std::max(std::max(std::fabs(left), std::fabs(right)),
                                      std::max(std::fabs(top), std::fabs(bottom)));
  for (int k = 0; k < 4; ++k) {
    const EdgeSamples& edge = o.edge[k];
    if (edge.first > edge.last) continue;
    const Stretch& s = o.stretch[k];
    const double reach = limit + 1e-6 * (1 + std::max(o.largest[k], rectLargest));
    if (left - std::max(s.x1, s.x2) > reach || std::min(s.x1, s.x2) - right > reach ||
        top - std::max(s.y1, s.y2) > reach || std::min(s.y1, s.y2) - bottom > reach)
      continue;
    for (int64_t i = edge.first; i <= edge.last; ++i) {
      const double step = static_cast<double>(i);
      if (pointRectDistance(edge.pointX(step), edge.pointY(step), rect) < limit) return true;
    }
  }
  return false;
}

}  // namespace

double cornerX(const Body& body, int k) { return cornerXAt(body, body.x, k); }
double cornerY(const Body& body, int k) { return cornerYAt(body, body.y, k); }
double nextCornerX(const Body& body, int k) { return cornerXAt(body, body.nextX, k); }
double nextCornerY(const Body& body, int k) { return cornerYAt(body, body.nextY, k); }

// Points on the rectangle's border count as touching it (0).
double pointRectDistance(double px, double py, const Rect& rect) {
  double left = rect.x, right = rect.x + rect.w, top = rect.y, bottom = rect.y + rect.h;
  bool isLeft = px < left, isRight = px > right, isAbove = py < top, isBelow = py > bottom;
  if ((isLeft || isRight) && (isAbove || isBelow))
    return pointDistance(px, py, isLeft ? left : right, isAbove ? top : bottom);
  if (isAbove) return top - py;
  if (isBelow) return py - bottom;
  if (isLeft) return left - px;
  if (isRight) return px - right;
  return 0;
}

double pointOutlineDistance(double px, double py, const Body& body) {
  return std::sqrt(squaredOutlineDistance(px, py, measureOutline(body, body.x, body.y),
                                          NO_CONTACT * NO_CONTACT));
}

double boxRectClearance(const Body& body, const Rect& rect, OutlineMemo* memo) {
  SampledOutline own;
  return outlineRectClearance(sampledOutlineAt(memo, body, body.x, body.y, own), rect);
}

double nextBoxRectClearance(const Body& body, const Rect& rect, OutlineMemo* memo) {
  SampledOutline own;
  return outlineRectClearance(sampledOutlineAt(memo, body, body.nextX, body.nextY, own), rect);
}

bool boxRectCloserThan(const Body& body, const Rect& rect, double limit, OutlineMemo* memo) {
  SampledOutline own;
  return outlineRectCloserThan(sampledOutlineAt(memo, body, body.x, body.y, own), rect, limit);
}

bool nextBoxRectCloserThan(const Body& body, const Rect& rect, double limit, OutlineMemo* memo) {
  SampledOutline own;
  return outlineRectCloserThan(sampledOutlineAt(memo, body, body.nextX, body.nextY, own), rect,
                               limit);
}

namespace {

// Both outlines of a pair. Looking up the second may reuse the first one's slot; then the
// first is measured again on the side.
template <class Measure>
auto measurePair(OutlineMemo* memo, const Body& a, double ax, double ay, const Body& b,
                 double bx, double by, Measure&& measure) {
  SampledOutline ownA, ownB;
  const SampledOutline* first = &sampledOutlineAt(memo, a, ax, ay, ownA);
  const SampledOutline& second = sampledOutlineAt(memo, b, bx, by, ownB);
  if (first == &second) first = &(ownA = measureOutline(a, ax, ay, memo));
  return measure(*first, second);
}

}  // namespace

double boxBoxClearance(const Body& a, const Body& b, OutlineMemo* memo) {
  return measurePair(memo, a, a.x, a.y, b, b.x, b.y, outlineOutlineClearance);
}

struct PairMemo::Entry {
  OutlineKey a, b;
  uint64_t limit = 0;
  bool filled = false;
  bool closer = false;
};

// Where a pair of bodies was last found in contact: only places to look first, so a hint
// that belongs to another pair (bodies since gone, or a pair whose addresses hash alike) costs
// a try or two at most. A car in a jam is asked about a neighbour where it stands and where it
// tries to go, frame after frame, and the two touch the neighbour at different places: the
// pair keeps its last two contacts.
struct PairMemo::Hint {
  uint64_t pair = 0;       // the pair's hash; 0 for none
  ContactHint contact[2];  // the latest first

  void remember(const ContactHint& found) {
    contact[1] = contact[0];
    contact[0] = found;
  }
};

namespace {
constexpr size_t kPairEntries = 2048;  // a power of two
// Hints are kept in pairs of slots, the one asked last first, so that two pairs of a jam whose
// hashes fall alike do not push each other out frame after frame.
constexpr size_t kHintSets = 4096;  // a power of two
}  // namespace

PairMemo::PairMemo() = default;
PairMemo::~PairMemo() = default;

PairMemo::Entry& PairMemo::slot(size_t hash) {
  if (!entries_) entries_ = std::make_unique<Entry[]>(kPairEntries);
  return entries_[hash & (kPairEntries - 1)];
}

PairMemo::Hint& PairMemo::hint(const void* a, const void* b) {
  if (!hints_) hints_ = std::make_unique<Hint[]>(2 * kHintSets);
  const uint64_t pair = ((reinterpret_cast<uintptr_t>(a) * 0x9E3779B97F4A7C15ull) ^
                         (reinterpret_cast<uintptr_t>(b) * 0xC4CEB9FE1A85EC53ull)) |
                        1;
  Hint* set = &hints_[2 * (static_cast<size_t>(pair >> 40) & (kHintSets - 1))];
  if (set[0].pair == pair) return set[0];
  if (set[1].pair != pair) set[1] = Hint{pair, {}};  // takes the place asked longest ago
  std::swap(set[0], set[1]);
  return set[0];
}

namespace {

// A shape from the table placed at a centre: its corners, and the box around them.
struct PlacedShape {
  Outline corners;
  double lowX, highX, lowY, highY;
};

bool placeShape(OutlineMemo& memo, const Body& body, double cx, double cy, PlacedShape& placed) {
  const TurnedShape* t = memo.shapes().turned(body);
  if (!t) return false;
  placed.corners = outlineAround(t->offsets, cx, cy);
  placed.lowX = cx + t->lowX;
  placed.highX = cx + t->highX;
  placed.lowY = cy + t->lowY;
  placed.highY = cy + t->highY;
  return true;
}

// The largest size of the two shapes' coordinates (their corners lie within their boxes), which
// sets the margin for the rounding of the samples.
double largestOf(const PlacedShape& a, const PlacedShape& b) {
  return std::max(std::max(std::max(std::fabs(a.lowX), std::fabs(a.highX)),
                           std::max(std::fabs(a.lowY), std::fabs(a.highY))),
                  std::max(std::max(std::fabs(b.lowX), std::fabs(b.highX)),
                           std::max(std::fabs(b.lowY), std::fabs(b.highY))));
}

// Whether the boxes around two outlines' corners lie more than `limit` apart on either axis,
// beyond any rounding of the samples on the edges (which lie within those boxes): then no pair
// of samples is within the limit. Numbers that do not behave decide nothing.
bool cornerBoxesApart(const PlacedShape& a, const PlacedShape& b, double limit, double largest) {
  if (!(largest < HUGE_VAL)) return false;  // also NaN
  const double reach = limit + 1e-6 * (1 + largest);
  return a.lowX - b.highX > reach || b.lowX - a.highX > reach || a.lowY - b.highY > reach ||
         b.lowY - a.highY > reach;
}

// Whether, across one of the two outlines' edge directions, their corners lie more than
// `limit` apart beyond any rounding: the samples lie within the hull of their outline's
// corners, so no pair of them is within the limit. This is the corner boxes' test turned with
// the bodies: two cars side by side at an angle, as in a jam, have boxes that overlap while a
// line between them fits. Coordinates too large for the products decide nothing.
bool edgeLinesApart(const PlacedShape& a, const PlacedShape& b, double limit, double largest) {
  if (!(largest < 1e100)) return false;  // also NaN
  const double reach = limit + 1e-6 * (1 + largest);
  for (const Outline* o : {&a.corners, &b.corners}) {
    for (int k = 0; k < 2; ++k) {  // the other two edges run the same ways
      const double ex = o->x[k + 1] - o->x[k], ey = o->y[k + 1] - o->y[k];
      const double length = std::sqrt(ex * ex + ey * ey);
      if (!(length > 0)) continue;
      // Each corner's place across the edge, times the edge's length.
      double aLow = HUGE_VAL, aHigh = -HUGE_VAL, bLow = HUGE_VAL, bHigh = -HUGE_VAL;
      for (int m = 0; m < 4; ++m) {
        const double pa = ex * a.corners.y[m] - ey * a.corners.x[m];
        const double pb = ex * b.corners.y[m] - ey * b.corners.x[m];
        aLow = std::min(aLow, pa);
        aHigh = std::max(aHigh, pa);
        bLow = std::min(bLow, pb);
        bHigh = std::max(bHigh, pb);
      }
      if (bLow - aHigh > reach * length || aLow - bHigh > reach * length) return true;
    }
  }
  return false;
}

// Most pairs asked again are still in contact where they touched lately: a hint's sample and
// edge are made from the corners alone (as the whole outlines would make them), and one sample
// within the limit settles the answer. The contact found comes first next time.
bool hintedContact(const PlacedShape& a, const PlacedShape& b, PairMemo::Hint& hint,
                   double limit) {
  for (int n = 0; n < 2; ++n) {
    const ContactHint& c = hint.contact[n];
    if (c.j < 0) return false;
    if (sampleNearEdge(edgeSamples(a.corners, c.j), c.i, edgeSamples(b.corners, c.k), limit)) {
      if (n == 1) std::swap(hint.contact[0], hint.contact[1]);
      return true;
    }
  }
  return false;
}

// Whether every corner of `inner` lies deeper than `limit` inside the outline of `outer`,
// beyond any rounding: then every sample of inner (within the hull of its corners) lies
// farther than the limit from each edge line of outer, on which its samples lie, and no pair
// of samples is within the limit. A bullet inside a walker's box is the usual case. Outlines
// are convex whatever the sign of the sizes (the corners go round the centre in turn, one way
// or the other, which the sign of the area tells). `largest` is the pair's, as for the corner
// boxes.
bool deepInside(const PlacedShape& inner, const PlacedShape& outer, double limit,
                double largest) {
  // Corners inside the outline lie inside the box around it.
  if (!(outer.lowX < inner.lowX && inner.highX < outer.highX && outer.lowY < inner.lowY &&
        inner.highY < outer.highY))
    return false;
  const Outline& o = outer.corners;
  const Outline& q = inner.corners;
  double area = 0;
  for (int k = 0; k < 4; ++k) {
    const int n = (k + 1) % 4;
    area += o.x[k] * o.y[n] - o.x[n] * o.y[k];
  }
  if (!(largest < HUGE_VAL) || !(area != 0) || !std::isfinite(area)) return false;
  const double inward = area > 0 ? 1.0 : -1.0;
  const double depth = limit + 1e-6 * (1 + largest);
  for (int k = 0; k < 4; ++k) {
    const int n = (k + 1) % 4;
    const double ex = o.x[n] - o.x[k], ey = o.y[n] - o.y[k];
    const double length = std::sqrt(ex * ex + ey * ey);
    if (!(length > 0)) return false;
    for (int m = 0; m < 4; ++m) {
      const double cross = ex * (q.y[m] - o.y[k]) - ey * (q.x[m] - o.x[k]);
      if (!(inward * cross > depth * length)) return false;
    }
  }
  return true;
}

// The shortcuts of a pair: a sure answer, or nothing. With `pairs`, the pair's hints are looked
// up and tried once the corner boxes meet (most pairs asked lie apart).
enum class Shortcut { None, Apart, InContact };

Shortcut pairShortcut(const Body& a, double ax, double ay, const Body& b, double bx, double by,
                      double limit, OutlineMemo& memo, PairMemo* pairs) {
  PlacedShape pa, pb;
  if (!placeShape(memo, a, ax, ay, pa) || !placeShape(memo, b, bx, by, pb))
    return Shortcut::None;
  const double largest = largestOf(pa, pb);
  if (cornerBoxesApart(pa, pb, limit, largest)) return Shortcut::Apart;
  if (pairs && hintedContact(pa, pb, pairs->hint(&a, &b), limit)) return Shortcut::InContact;
  if (edgeLinesApart(pa, pb, limit, largest) || deepInside(pa, pb, limit, largest) ||
      deepInside(pb, pa, limit, largest))
    return Shortcut::Apart;
  return Shortcut::None;
}

// A pair of samples nearer than the limit lies on two edges whose gap is below the limit, so
// only those pairs are walked; when the clearance is below the limit it is found exactly, and
// the comparison is the one made on the full measure. With the memo, the shortcuts come
// first; with `pairs`, answers given before too; without either it is measured afresh.
bool rememberedCloserThan(const Body& a, double ax, double ay, const Body& b, double bx,
                          double by, double limit, OutlineMemo* memo, PairMemo* pairs) {
  if (memo) {
    const Shortcut known = pairShortcut(a, ax, ay, b, bx, by, limit, *memo, pairs);
    if (known != Shortcut::None) return known == Shortcut::InContact;
  }
  auto measure = [&] {
    ContactHint found;
    const bool closer = measurePair(
        memo, a, ax, ay, b, bx, by, [limit, &found](const SampledOutline& p, const SampledOutline& q) {
          return outlinesCloserThan(p, q, limit, &found);
        });
    if (pairs && found.j >= 0) pairs->hint(&a, &b).remember(found);
    return closer;
  };
  if (!pairs) return measure();
  const OutlineKey ka = outlineKey(a, ax, ay), kb = outlineKey(b, bx, by);
  uint64_t limitBits;
  std::memcpy(&limitBits, &limit, sizeof limitBits);
  uint64_t hash = 0x9E3779B97F4A7C15ull ^ limitBits;
  for (uint64_t v : ka.bits) hash = (hash ^ v) * 0xFF51AFD7ED558CCDull;
  for (uint64_t v : kb.bits) hash = (hash ^ v) * 0xC4CEB9FE1A85EC53ull;
  PairMemo::Entry& entry = pairs->slot(static_cast<size_t>(hash >> 32));
  if (entry.filled && entry.limit == limitBits && entry.a == ka && entry.b == kb)
    return entry.closer;
  const bool closer = measure();
  entry.a = ka;
  entry.b = kb;
  entry.limit = limitBits;
  entry.filled = true;
  entry.closer = closer;
  return closer;
}

}  // namespace

bool boxBoxCloserThan(const Body& a, const Body& b, double limit, OutlineMemo* memo,
                      PairMemo* pairs) {
  return rememberedCloserThan(a, a.x, a.y, b, b.x, b.y, limit, memo, pairs);
}

bool nextBoxBoxCloserThan(const Body& a, const Body& b, double limit, OutlineMemo* memo,
                          PairMemo* pairs) {
  return rememberedCloserThan(a, a.nextX, a.nextY, b, b.x, b.y, limit, memo, pairs);
}

double nextBoxBoxClearance(const Body& a, const Body& b, OutlineMemo* memo) {
  return measurePair(memo, a, a.nextX, a.nextY, b, b.x, b.y, outlineOutlineClearance);
}

bool nearHouse(const Rect& house, const Body& body) {
  return pointRectDistance(body.nextX, body.nextY, house) <= halfDiagonal(body);
}

bool nearHouseNow(const Rect& house, const Body& body) {
  return pointRectDistance(body.x, body.y, house) < halfDiagonal(body);
}

// Houses beyond the circle on either axis cannot be near: an open house grid leaves them out.
bool hitsHouse(const World& world, const Body& body) {
  SimScratch& scratch = scratchOf(world);
  for (int i : housesNear(world, body.nextX, body.nextY, halfDiagonal(body), scratch.hitsHouse)) {
    Rect rect = rectOf(*world.houses[i]);
    if (hasArea(rect) && nearHouse(rect, body) &&
        nextBoxRectCloserThan(body, rect, BLOCK_DISTANCE, &scratch.outlines))
      return true;
  }
  return false;
}

bool anyCornerInView(const Body& body, const View& view) {
  double left = view.x, top = view.y, right = left + view.w, bottom = top + view.h;
  // Each corner lies within the half-diagonal r of the centre on either axis: the centre plus
  // a rounded r*cos or r*sin, which is never beyond r, and rounding keeps a sum on the same side
  // of the rounded centre plus or minus r. So a centre r inside the view has every corner in
  // it, and one r beyond an edge has none; only the rest needs the corners.
  const double r = halfDiagonal(body);
  if (left <= body.x - r && body.x + r <= right && top <= body.y - r && body.y + r <= bottom)
    return true;
  if (body.x + r < left || body.x - r > right || body.y + r < top || body.y - r > bottom)
    return false;
  Outline o = outlineAt(body, body.x, body.y);
  for (int k = 0; k < 4; ++k)
    if (left <= o.x[k] && o.x[k] <= right && top <= o.y[k] && o.y[k] <= bottom) return true;
  return false;
}

bool rectInView(const Rect& rect, const View& view) {
  if (!hasArea(rect)) return false;
  const double left = view.x, top = view.y, right = left + view.w, bottom = top + view.h;
  return rect.x <= right && rect.x + rect.w >= left && rect.y <= bottom &&
         rect.y + rect.h >= top;
}

// The bands keep a body's box inside the world: half its extent at the low edge, the full
// extent at the high edge.
void commitMove(Body& body) {
  const double size = WORLD_SIZE;
  if (body.h / 2 < body.nextY && body.nextY < size - body.h) {
    body.prevY = body.y;
    if (0 < body.nextY && body.nextY < size) body.y = body.nextY;
  }
  if (body.w / 2 < body.nextX && body.nextX < size - body.w) {
    body.prevX = body.x;
    if (0 < body.nextX && body.nextX < size) body.x = body.nextX;
  }
}

void faceRect(Body& mover, const Rect& rect) {
  double mx = mover.x, my = mover.y;
  double left = rect.x, right = rect.x + rect.w, top = rect.y, bottom = rect.y + rect.h;
  if (left <= mx && mx <= right) {
    if (top > my) mover.heading = 270;
    else if (bottom < my) mover.heading = 90;
    return;
  }
  if (top <= my && my <= bottom) {
    if (left > mx) mover.heading = 0;
    else if (right < mx) mover.heading = 180;
    return;
  }
  // Diagonal: aim at the nearest corner.
  bool below = top > my, toRight = left > mx;
  double degrees;
  if (below && toRight)
    degrees = 360 - std::atan2(top - my, left - mx) * 180 / PI;
  else if (below)
    degrees = std::atan((top - my) / (mx - right)) * 180 / PI - 180;
  else if (toRight)
    degrees = std::atan((my - bottom) / (left - mx)) * 180 / PI;
  else
    degrees = 180 - std::atan((my - bottom) / (mx - right)) * 180 / PI;
  if (!std::isfinite(degrees)) return;
  mover.heading = normalizeHeading(static_cast<int>(std::trunc(degrees)));
}

void facePoint(Body& mover, double px, double py) { faceRect(mover, Rect{px, py, 0, 0}); }

// Worked in 64 bits so that no heading from data can overflow on the way.
int normalizeHeading(int heading) {
  int64_t a = heading;
  if (a < 0) a = a + 360 + ((-a - 1) / 360) * 360;
  if (a > 360) a = a - 360 - ((a - 361) / 360) * 360;
  return static_cast<int>(a);
}

// A single wrap for in-range headings; a heading already out of range from data is
// brought back whole.
int turnHeading(int heading, int degrees) {
  int64_t a = static_cast<int64_t>(heading) + degrees;
  if (a > 360) a -= 360;
  if (a < 0) a += 360;
  if (a < 0 || a > 360) {
    a %= 360;
    if (a < 0) a += 360;
  }
  return static_cast<int>(a);
}
