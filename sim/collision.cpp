// Geometry kit: corners of turned boxes, outline clearances, pre-tests, the move commit, headings.
#include "sim/collision.h"

#include <cmath>
#include <cstdint>

#include "app/world.h"

namespace {

double toRadians(double degrees) { return degrees * PI / 180; }

// Angle of corner k around the centre, in degrees; NaN-free for a zero-sized body.
double cornerAngle(const Body& body, int k) {
  double phi = (body.w == 0 && body.h == 0) ? 0.0 : std::atan(body.h / body.w) * 180 / PI;
  switch (k) {
    case 0: return 270 - body.heading + phi;  // front-left
    case 1: return 270 - body.heading - phi;  // rear-left
    case 2: return 90 - body.heading + phi;   // rear-right
    default: return 90 - body.heading - phi;  // front-right
  }
}

double cornerXAt(const Body& body, double cx, int k) {
  if (k < 0 || k > 3) return 0;
  return cx + halfDiagonal(body) * std::cos(toRadians(cornerAngle(body, k)));
}

double cornerYAt(const Body& body, double cy, int k) {
  if (k < 0 || k > 3) return 0;
  return cy + halfDiagonal(body) * std::sin(toRadians(cornerAngle(body, k)));
}

// The four corners of a body around a given centre, computed once per measure.
struct Outline {
  double x[4], y[4];
};

Outline outlineAt(const Body& body, double cx, double cy) {
  Outline o;
  for (int k = 0; k < 4; ++k) {
    o.x[k] = cornerXAt(body, cx, k);
    o.y[k] = cornerYAt(body, cy, k);
  }
  return o;
}

// A box wider than the world is nonsense from a bad map; its edges are sampled no further
// than this, so a measure always ends.
constexpr double kMaxEdgeSamples = 4.0 * WORLD_SIZE;

// Steps i along an edge's major extent e: 0, 1, ... while i < e; or from e truncated
// toward zero up to -1, so an edge walked backwards leaves out its start corner.
template <class Visit>
void walkExtent(double e, Visit&& visit) {
  if (!std::isfinite(e)) return;
  if (e > kMaxEdgeSamples) e = kMaxEdgeSamples;
  if (e < -kMaxEdgeSamples) e = -kMaxEdgeSamples;
  if (e > 0) {
    for (int64_t i = 0; i < e; ++i) visit(static_cast<double>(i));
  } else if (e < 0) {
    for (int64_t i = static_cast<int64_t>(e); i <= -1; ++i) visit(static_cast<double>(i));
  }
}

// Visits the sampled outline points, corner k to corner k+1, corner 3 back to corner 0.
template <class Visit>
void sampleOutline(const Outline& o, Visit&& visit) {
  for (int k = 0; k < 4; ++k) {
    int n = (k + 1) % 4;
    double x1 = o.x[k], y1 = o.y[k];
    double dx = o.x[n] - x1, dy = o.y[n] - y1;
    if (dx == 0 && dy == 0) continue;
    if (dx == 0) {
      walkExtent(dy, [&](double i) { visit(x1, y1 + i); });
    } else if (std::fabs(dx) > std::fabs(dy)) {
      double s = dy / dx;
      walkExtent(dx, [&](double i) { visit(x1 + i, y1 + s * i); });
    } else {
      double s = dy / dx;
      walkExtent(dy, [&](double i) { visit(x1 + i / s, y1 + i); });
    }
  }
}

// Smallest value of measure over the outline, `start` when nothing is sampled.
template <class Measure>
double minOverOutline(const Outline& o, double start, Measure&& measure) {
  double best = start;
  sampleOutline(o, [&](double px, double py) {
    double d = measure(px, py);
    if (d < best) best = d;
  });
  return best;
}

// Squared distances keep the inner loop free of square roots; the root of the smallest
// square is the smallest distance, so the result is the same.
double squaredOutlineDistance(double px, double py, const Outline& o) {
  return minOverOutline(o, NO_CONTACT * NO_CONTACT, [&](double qx, double qy) {
    double dx = px - qx, dy = py - qy;
    return dx * dx + dy * dy;
  });
}

double outlineOutlineClearance(const Outline& a, const Outline& b) {
  return std::sqrt(minOverOutline(a, NO_CONTACT * NO_CONTACT, [&](double px, double py) {
    return squaredOutlineDistance(px, py, b);
  }));
}

double outlineRectClearance(const Outline& o, const Rect& rect) {
  return minOverOutline(o, NO_CONTACT,
                        [&](double px, double py) { return pointRectDistance(px, py, rect); });
}

}  // namespace

double cornerX(const Body& body, int k) { return cornerXAt(body, body.x, k); }
double cornerY(const Body& body, int k) { return cornerYAt(body, body.y, k); }
double nextCornerX(const Body& body, int k) { return cornerXAt(body, body.nextX, k); }
double nextCornerY(const Body& body, int k) { return cornerYAt(body, body.nextY, k); }

double halfDiagonal(const Body& body) {
  return std::sqrt((0.5 * body.h) * (0.5 * body.h) + (0.5 * body.w) * (0.5 * body.w));
}

double pointDistance(double x1, double y1, double x2, double y2) {
  double dx = x2 - x1, dy = y2 - y1;
  return std::sqrt(dx * dx + dy * dy);
}

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
  return std::sqrt(squaredOutlineDistance(px, py, outlineAt(body, body.x, body.y)));
}

double boxRectClearance(const Body& body, const Rect& rect) {
  return outlineRectClearance(outlineAt(body, body.x, body.y), rect);
}

double nextBoxRectClearance(const Body& body, const Rect& rect) {
  return outlineRectClearance(outlineAt(body, body.nextX, body.nextY), rect);
}

double boxBoxClearance(const Body& a, const Body& b) {
  return outlineOutlineClearance(outlineAt(a, a.x, a.y), outlineAt(b, b.x, b.y));
}

double nextBoxBoxClearance(const Body& a, const Body& b) {
  return outlineOutlineClearance(outlineAt(a, a.nextX, a.nextY), outlineAt(b, b.x, b.y));
}

bool nearHouse(const Rect& house, const Body& body) {
  return pointRectDistance(body.nextX, body.nextY, house) <= halfDiagonal(body);
}

bool nearHouseNow(const Rect& house, const Body& body) {
  return pointRectDistance(body.x, body.y, house) < halfDiagonal(body);
}

bool hitsHouse(const World& world, const Body& body) {
  double clearance = NO_CONTACT;
  for (const auto& house : world.houses) {
    Rect rect = rectOf(*house);
    if (!nearHouse(rect, body)) continue;
    double c = nextBoxRectClearance(body, rect);
    if (c < clearance) clearance = c;
  }
  return clearance < BLOCK_DISTANCE;
}

bool anyCornerInView(const Body& body, const SDL_Rect& view) {
  double left = view.x, top = view.y, right = left + view.w, bottom = top + view.h;
  Outline o = outlineAt(body, body.x, body.y);
  for (int k = 0; k < 4; ++k)
    if (left <= o.x[k] && o.x[k] <= right && top <= o.y[k] && o.y[k] <= bottom) return true;
  return false;
}

bool anyRectCornerInView(const Rect& rect, const SDL_Rect& view) {
  double left = view.x, top = view.y, right = left + view.w, bottom = top + view.h;
  auto inX = [&](double x) { return left <= x && x <= right; };
  auto inY = [&](double y) { return top <= y && y <= bottom; };
  double rl = rect.x, rr = rect.x + rect.w, rt = rect.y, rb = rect.y + rect.h;
  if ((inX(rl) || inX(rr)) && (inY(rt) || inY(rb))) return true;
  // A long road crossing the whole screen has no corner in view but must still be drawn.
  bool spansWidth = rl <= left && rr >= right;
  bool spansHeight = rt <= top && rb >= bottom;
  if (spansWidth && (inY(rt) || inY(rb))) return true;
  if (spansHeight && (inX(rl) || inX(rr))) return true;
  return false;
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
