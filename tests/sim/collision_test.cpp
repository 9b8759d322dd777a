// Geometry kit: corners, outline clearances, pre-tests, move commit and headings.
#include "sim/collision.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "world/world.h"

namespace {

Body boxAt(double x, double y, double w, double h, int heading = 0) {
  return Body(x, y, w, h, 100, 0, heading);
}

// The outline's samples: an edge from corner k to k+1 is sampled a pixel apart along its longer
// axis, from the corner, excluding the far corner.
std::vector<std::pair<double, double>> samples(const Body& body, bool tentative) {
  std::vector<std::pair<double, double>> points;
  for (int k = 0; k < 4; ++k) {
    const int n = (k + 1) % 4;
    const double x1 = tentative ? nextCornerX(body, k) : cornerX(body, k);
    const double y1 = tentative ? nextCornerY(body, k) : cornerY(body, k);
    const double dx = (tentative ? nextCornerX(body, n) : cornerX(body, n)) - x1;
    const double dy = (tentative ? nextCornerY(body, n) : cornerY(body, n)) - y1;
    if (dx == 0 && dy == 0) continue;
    const bool shallow = dx != 0 && std::fabs(dx) > std::fabs(dy);
    const double e = shallow ? dx : dy, s = dx != 0 ? dy / dx : 0;
    auto at = [&](double i) {
      if (dx == 0) return std::pair{x1, y1 + i};
      return shallow ? std::pair{x1 + i, y1 + s * i} : std::pair{x1 + i / s, y1 + i};
    };
    for (double i = e > 0 ? 0 : std::trunc(e); e > 0 ? i < e : i <= -1; ++i)
      points.push_back(at(i));
  }
  return points;
}

// The clearances the slow way: every sample of one outline against every sample of the other,
// or against the nearest point of a rectangle.
double walkEverySamplePair(const Body& a, bool aTentative, const Body& b) {
  double best = NO_CONTACT * NO_CONTACT;
  for (const auto& [px, py] : samples(a, aTentative))
    for (const auto& [qx, qy] : samples(b, false))
      best = std::min(best, (px - qx) * (px - qx) + (py - qy) * (py - qy));
  return std::sqrt(best);
}
double walkEverySample(const Body& a, bool tentative, const Rect& r) {
  double best = NO_CONTACT;
  for (const auto& [px, py] : samples(a, tentative)) {
    const double dx = std::max({r.x - px, 0.0, px - r.x - r.w});
    const double dy = std::max({r.y - py, 0.0, py - r.y - r.h});
    best = std::min(best, std::sqrt(dx * dx + dy * dy));
  }
  return best;
}

// Pruned and narrowed measures give exactly what walking every pair of samples gives: cars,
// persons and bullets of whole and fractional sizes near each other, one inside the other and
// near a house at any heading, now and then a box of no size, under a pixel or of negative
// size; the threshold forms answer as the full measure does at every limit, also with their
// shortcuts and the answers and contacts remembered from the step before, and a memo answers
// as a fresh measure does, also for a box turned or moved after it was measured.
TEST(Outline, BoxAgainstBoxEqualsTheWalkOfEverySamplePair) {
  std::mt19937 random(5);
  auto uniform = [&](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
  };
  OutlineMemo memo, shortcutsMemo;
  PairMemo pairs;
  for (int n = 0; n < 1000; ++n) {
    auto size = [&] {
      if (n % 97 == 0) return 0.0;
      if (n % 23 == 0) return -uniform(4, 95);  // a bad map's box turns inside out
      return n % 31 == 0 ? uniform(0.1, 1) : n % 2 ? std::floor(uniform(4, 95)) : uniform(4, 95);
    };
    const double spread = n % 5 == 0 ? 10 : 90;  // now and then one box inside the other
    Body a = boxAt(uniform(400, 600), uniform(400, 600), size(), size(), int(uniform(0, 361)));
    Body b = boxAt(a.x + uniform(-spread, spread), a.y + uniform(-spread, spread), size(), size(),
                   int(uniform(0, 361)));
    a.nextX = a.x + uniform(-8, 8);
    a.nextY = a.y + uniform(-8, 8);
    const double now = boxBoxClearance(a, b), next = nextBoxBoxClearance(a, b);
    ASSERT_EQ(now, walkEverySamplePair(a, false, b)) << "pair " << n;
    ASSERT_EQ(next, walkEverySamplePair(a, true, b)) << "pair " << n;
    for (double limit : {BLOCK_DISTANCE, now, std::nextafter(now, 1e9), next, 0.0, 3.0, 40.0}) {
      ASSERT_EQ(boxBoxCloserThan(a, b, limit), now < limit) << "pair " << n << " limit " << limit;
      ASSERT_EQ(nextBoxBoxCloserThan(a, b, limit), next < limit) << "pair " << n;
      ASSERT_EQ(boxBoxCloserThan(a, b, limit, &shortcutsMemo), now < limit) << "pair " << n;
      // Asked again after a step of a pixel or less: the contact found before is tried first.
      for (int again = 0; again < 2; ++again) {
        ASSERT_EQ(boxBoxCloserThan(a, b, limit, &shortcutsMemo, &pairs), now < limit) << n;
        ASSERT_EQ(nextBoxBoxCloserThan(a, b, limit, &shortcutsMemo, &pairs), next < limit) << n;
      }
    }
    b.x += uniform(-1, 1);
    ASSERT_EQ(boxBoxCloserThan(a, b, BLOCK_DISTANCE, &shortcutsMemo, &pairs),
              walkEverySamplePair(a, false, b) < BLOCK_DISTANCE) << "pair " << n;
    const Rect house{b.x - std::fabs(b.w) / 2, b.y - std::fabs(b.h) / 2, std::fabs(b.w),
                     std::fabs(b.h)};
    ASSERT_NEAR(boxRectClearance(a, house, &memo), walkEverySample(a, false, house), 1e-9) << n;
    ASSERT_NEAR(nextBoxRectClearance(a, house, &memo), walkEverySample(a, true, house), 1e-9) << n;
    a.heading = turnHeading(a.heading, 1);
    ASSERT_EQ(boxRectClearance(a, house, &memo), boxRectClearance(a, house)) << "pair " << n;
    a.y += 0.5;
    ASSERT_EQ(boxRectClearance(a, house, &memo), boxRectClearance(a, house)) << "pair " << n;
  }
  // A flat box is not taken for the box of the same width measured before it.
  const Rect house{150, 20, 10, 20};
  OutlineMemo fresh;
  const Body box = boxAt(100, 30, 20, 40), flat = boxAt(100, 30, 20, 0);
  boxRectClearance(box, house, &fresh);
  EXPECT_EQ(boxRectClearance(flat, house, &fresh), boxRectClearance(flat, house));
}

TEST(Corners, HeadingZeroPutsTheFrontToTheRight) {
  // Front-left, rear-left, rear-right, front-right; at heading 90 the front is at the top.
  const struct {
    int heading;
    double x[4], y[4];
  } turns[] = {{0, {110, 90, 90, 110}, {95, 95, 105, 105}},
               {90, {95, 95, 105, 105}, {90, 110, 110, 90}}};
  Body body = boxAt(100, 100, 10, 20);
  for (const auto& t : turns) {
    body.heading = t.heading;
    for (int k = 0; k < 4; ++k) {
      EXPECT_NEAR(cornerX(body, k), t.x[k], 1e-9) << t.heading << " corner " << k;
      EXPECT_NEAR(cornerY(body, k), t.y[k], 1e-9) << t.heading << " corner " << k;
    }
  }
  EXPECT_EQ(cornerX(body, 4), 0);
  EXPECT_EQ(cornerY(body, -1), 0);

  EXPECT_DOUBLE_EQ(halfDiagonal(body), std::sqrt(125.0));
  // A body of no size has all corners at its centre, not NaN.
  Body dot = boxAt(50, 60, 0, 0);
  EXPECT_EQ(cornerX(dot, 2), 50);
  EXPECT_EQ(cornerY(dot, 2), 60);

  // A corner or a rectangle exactly on an edge of the view is in view; beyond it is not.
  const View view{100, 100, 800, 600};
  for (const auto& [x, y] :
       {std::pair{500.0, 95.0}, {500.0, 705.0}, {95.0, 400.0}, {905.0, 400.0}}) {
    EXPECT_TRUE(anyCornerInView(boxAt(x, y, 10, 10), view)) << x << "," << y;
    EXPECT_TRUE(rectInView(Rect{x - 5, y - 5, 10, 10}, view)) << x << "," << y;
  }
  EXPECT_FALSE(anyCornerInView(boxAt(500, 94, 10, 10), view));
  EXPECT_FALSE(rectInView(Rect{500, 701, 10, 10}, view));
}

TEST(HitsHouse, AHouseOfNegativeSizeIsInNoOnesWay) {
  World world;
  world.houses.append(std::make_unique<House>(House{200, 100, 100, 100, 100, 0, 0, ""}));
  Body box = boxAt(150, 150, 20, 20);
  box.nextX = 195;  // right edge 5 inside the house
  box.nextY = 150;
  EXPECT_TRUE(hitsHouse(world, box));
  world.houses[0]->w = -100;  // as a map file may give it
  EXPECT_FALSE(hitsHouse(world, box));
}

TEST(FaceRect, EveryRegion) {
  // Turning keeps headings within 0..360; a half turn from 180 is 360.
  EXPECT_EQ(turnHeading(180, 180), 360);
  EXPECT_EQ(turnHeading(10, -20), 350);
  EXPECT_EQ(turnHeading(-725, 0), 355);  // far out of range, as a map may give it
  EXPECT_EQ(turnHeading(-720, 0), 0);

  struct Case {
    Rect rect;
    int heading;
  } cases[] = {
      {{95, 200, 10, 10}, 270},   // straight below
      {{95, 0, 10, 10}, 90},      // straight above
      {{200, 95, 10, 10}, 0},     // right
      {{0, 95, 10, 10}, 180},     // left
      {{200, 150, 10, 10}, 333},  // below-right: 360 - 26.56
      {{0, 150, 10, 10}, 210},    // below-left: 29.05 - 180 truncated, wrapped
      {{200, 40, 10, 10}, 26},    // above-right
      {{0, 40, 10, 10}, 150},     // above-left: 180 - 29.05
      {{50, 50, 100, 100}, 7},    // around the mover: unchanged
      {{100, 100, 0, 0}, 7},      // a point at the centre: unchanged
      {{200, 0, 0, 0}, 45},       // points on the diagonals
      {{0, 200, 0, 0}, 225},
  };
  for (const Case& c : cases) {
    Body mover = boxAt(100, 100, 10, 10, 7);
    faceRect(mover, c.rect);
    EXPECT_EQ(mover.heading, c.heading) << c.rect.x << "," << c.rect.y;
  }
}

}  // namespace
