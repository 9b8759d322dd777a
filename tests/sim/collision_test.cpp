// Geometry kit: corners, outline clearances, pre-tests, move commit and headings.
#include "sim/collision.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "world/world.h"

namespace {

Body boxAt(double x, double y, double w, double h, int heading = 0) {
  return Body(x, y, w, h, 100, 0, heading);
}

void addHouse(World& world, double x, double y, double w, double h) {
  auto house = std::make_unique<House>();
  house->x = x;
  house->y = y;
  house->w = w;
  house->h = h;
  world.houses.append(std::move(house));
}

TEST(Corners, HeadingZeroPutsTheFrontToTheRight) {
  Body body = boxAt(100, 100, 10, 20);
  const double expectX[4] = {110, 90, 90, 110};
  const double expectY[4] = {95, 95, 105, 105};
  for (int k = 0; k < 4; ++k) {
    EXPECT_NEAR(cornerX(body, k), expectX[k], 1e-9) << "corner " << k;
    EXPECT_NEAR(cornerY(body, k), expectY[k], 1e-9) << "corner " << k;
  }
  EXPECT_EQ(cornerX(body, 4), 0);
  EXPECT_EQ(cornerY(body, -1), 0);

  // Heading 90 (up): the front is now at the top, front-left on the screen's left.
  body.heading = 90;
  EXPECT_NEAR(cornerX(body, 0), 95, 1e-9);
  EXPECT_NEAR(cornerY(body, 0), 90, 1e-9);
  EXPECT_NEAR(cornerX(body, 2), 105, 1e-9);
  EXPECT_NEAR(cornerY(body, 2), 110, 1e-9);

  // The tentative corners follow nextX/nextY, the current ones stay.
  body.nextX = 200;
  body.nextY = 300;
  EXPECT_NEAR(nextCornerX(body, 0), 195, 1e-9);
  EXPECT_NEAR(nextCornerY(body, 0), 290, 1e-9);
  EXPECT_NEAR(cornerX(body, 0), 95, 1e-9);

  EXPECT_DOUBLE_EQ(halfDiagonal(body), std::sqrt(125.0));
  // A body of no size has all corners at its centre, not NaN.
  Body dot = boxAt(50, 60, 0, 0);
  EXPECT_EQ(cornerX(dot, 2), 50);
  EXPECT_EQ(cornerY(dot, 2), 60);
}

TEST(Distances, PointToRectangleByRegion) {
  Rect r{100, 100, 50, 20};
  EXPECT_EQ(pointRectDistance(120, 110, r), 0);   // inside
  EXPECT_EQ(pointRectDistance(100, 110, r), 0);   // on the border
  EXPECT_EQ(pointRectDistance(120, 90, r), 10);   // above
  EXPECT_EQ(pointRectDistance(120, 125, r), 5);   // below
  EXPECT_EQ(pointRectDistance(97, 110, r), 3);    // left
  EXPECT_EQ(pointRectDistance(152, 110, r), 2);   // right
  EXPECT_EQ(pointRectDistance(97, 96, r), 5);     // up-left corner (3-4-5)
  EXPECT_EQ(pointRectDistance(153, 124, r), 5);   // down-right corner
  EXPECT_EQ(pointDistance(0, 0, 3, 4), 5);
}

// Body 20.5 long and 10.5 wide at heading 0: the top edge is walked leftwards, the right
// edge upwards; those edges leave out their start corners, the others include them.
TEST(Outline, BackwardEdgesLeaveOutTheirStartCorner) {
  Body body = boxAt(100, 100, 10.5, 20.5);
  // Corners 1 (rear-left) and 2 (rear-right) start forward-walked edges.
  EXPECT_NEAR(pointOutlineDistance(cornerX(body, 1), cornerY(body, 1), body), 0, 1e-9);
  EXPECT_NEAR(pointOutlineDistance(cornerX(body, 2), cornerY(body, 2), body), 0, 1e-9);
  // Corners 0 and 3: the nearest samples are the half-pixel remainders of the other edges.
  EXPECT_NEAR(pointOutlineDistance(cornerX(body, 0), cornerY(body, 0), body), 0.5, 1e-9);
  EXPECT_NEAR(pointOutlineDistance(cornerX(body, 3), cornerY(body, 3), body), 0.5, 1e-9);
  // Samples are whole steps from the start corner (110.25 - 1, - 2, ...), not a pixel grid.
  EXPECT_NEAR(pointOutlineDistance(100.75, 94.75, body), 0.5, 1e-9);
  // A point far away measures its true distance; nothing sampled keeps NO_CONTACT.
  EXPECT_NEAR(pointOutlineDistance(89.75 - 30, 99.75, body), 30, 1e-9);
  Body dot = boxAt(50, 60, 0, 0);
  EXPECT_EQ(pointOutlineDistance(0, 0, dot), NO_CONTACT);
  EXPECT_EQ(boxRectClearance(dot, Rect{0, 0, 10, 10}), NO_CONTACT);
}

TEST(Outline, TurnedBoxFollowsTheSameRules) {
  Rect above{0, 0, 3000, 100};
  // Heading 60: the topmost corner (0) starts a steep edge walked downwards, so it is sampled.
  Body body = boxAt(500, 500, 40, 60, 60);
  for (int k = 1; k < 4; ++k) EXPECT_GT(cornerY(body, k), cornerY(body, 0));
  EXPECT_NEAR(boxRectClearance(body, above), cornerY(body, 0) - 100, 1e-9);
  // Heading 30: the topmost corner (0) starts backward-walked edges only; the nearest sample
  // is one step along the shallow edge, which climbs tan(30) per pixel.
  body.heading = 30;
  double top = cornerY(body, 0);
  for (int k = 1; k < 4; ++k) EXPECT_GT(cornerY(body, k), top);
  EXPECT_NEAR(boxRectClearance(body, above), top - 100 + std::tan(PI / 6), 1e-9);
  // The tentative measure is the same box moved to the tentative centre.
  body.nextX = 500;
  body.nextY = 700;
  EXPECT_NEAR(nextBoxRectClearance(body, above), top + 200 - 100 + std::tan(PI / 6), 1e-9);
}

TEST(Clearance, TouchingBlocksOneAndAHalfPixelsDoesNot) {
  World world;
  addHouse(world, 200, 100, 100, 100);  // left edge at x = 200
  Body box = boxAt(150, 150, 20, 20);   // right edge at 160
  box.nextX = 190;                      // right edge exactly on the wall
  box.nextY = 150;
  EXPECT_NEAR(nextBoxRectClearance(box, rectOf(*world.houses[0])), 0, 1e-9);
  EXPECT_TRUE(nearHouse(rectOf(*world.houses[0]), box));
  EXPECT_TRUE(hitsHouse(world, box));

  box.nextX = 188.5;
  EXPECT_NEAR(nextBoxRectClearance(box, rectOf(*world.houses[0])), 1.5, 1e-9);
  EXPECT_FALSE(hitsHouse(world, box));

  box.nextX = 189;
  EXPECT_NEAR(nextBoxRectClearance(box, rectOf(*world.houses[0])), 1.0, 1e-9);

  // A house of negative width, as a map file may give, stands in no one's way.
  box.nextX = 195;
  ASSERT_TRUE(hitsHouse(world, box));
  world.houses[0]->w = -100;
  EXPECT_FALSE(hitsHouse(world, box));
  world.houses[0]->w = 100;

  // The current-centre measures ignore the tentative centre.
  EXPECT_NEAR(boxRectClearance(box, rectOf(*world.houses[0])), 40, 1e-9);
  // A house beyond the bounding circle is not even measured.
  box.nextX = 150;
  EXPECT_FALSE(nearHouse(rectOf(*world.houses[0]), box));
  EXPECT_FALSE(hitsHouse(world, box));
}

TEST(Clearance, BoxAgainstBox) {
  Body a = boxAt(100, 100, 20, 20);
  Body b = boxAt(121.5, 100, 20, 20);  // 1.5 pixels between the facing edges
  EXPECT_NEAR(boxBoxClearance(a, b), 1.5, 1e-9);
  EXPECT_NEAR(boxBoxClearance(b, a), 1.5, 1e-9);
  a.nextX = 101.5;
  a.nextY = 100;
  EXPECT_NEAR(nextBoxBoxClearance(a, b), 0, 1e-9);
  // b is measured where it stands, whatever its own tentative centre says.
  b.nextX = 2000;
  EXPECT_NEAR(nextBoxBoxClearance(a, b), 0, 1e-9);
  // Only outlines are compared: a small box wholly inside a big one is not seen.
  Body big = boxAt(500, 500, 200, 200);
  Body small = boxAt(500, 500, 10, 10);
  EXPECT_GT(boxBoxClearance(small, big), 90);
}

TEST(Clearance, NearHouseNowNeedsToBeStrictlyInsideTheCircle) {
  Rect house{200, 100, 50, 50};
  Body box = boxAt(190, 125, 6, 8);  // half-diagonal 5, centre 10 from the wall
  EXPECT_FALSE(nearHouseNow(house, box));
  box.x = 195;  // exactly 5 away: the current-centre test is strict
  EXPECT_FALSE(nearHouseNow(house, box));
  box.nextX = 195;
  box.nextY = 125;
  EXPECT_TRUE(nearHouse(house, box));  // the tentative test is not
  box.x = 195.5;
  EXPECT_TRUE(nearHouseNow(house, box));
}

TEST(View, BodyCornerInView) {
  View view{100, 100, 800, 600};
  Body body = boxAt(95, 95, 20, 20);  // corner (105, 105) lies inside
  EXPECT_TRUE(anyCornerInView(body, view));
  body.x = 80;  // every corner left of the view
  EXPECT_FALSE(anyCornerInView(body, view));
  body.x = 905;  // the left corners (895, ...) lie inside on the right
  body.y = 500;
  EXPECT_TRUE(anyCornerInView(body, view));
}

TEST(View, EveryRectangleOverlappingTheViewCounts) {
  View view{0, 0, 800, 600};
  EXPECT_TRUE(rectInView({700, 500, 300, 300}, view));    // top-left corner inside
  EXPECT_TRUE(rectInView({800, 600, 10, 10}, view));      // corner on the edge
  EXPECT_FALSE(rectInView({900, 100, 10, 10}, view));     // right of the view
  EXPECT_TRUE(rectInView({-100, 300, 1000, 40}, view));   // road across the width
  EXPECT_FALSE(rectInView({-100, 700, 1000, 40}, view));  // spans, but below
  // A lawn around the whole view has no corner in it and still shows.
  EXPECT_TRUE(rectInView({-100, -100, 1000, 800}, view));
  EXPECT_FALSE(rectInView({700, 300, -50, 40}, view));  // a negative size covers nothing
}

TEST(CommitMove, AxesAcceptedIndependentlyInsideTheBands) {
  Body body = boxAt(1000, 2980, 10, 10);
  body.nextX = 1003;
  body.nextY = 2995;  // beyond 3000 - h: y stays
  commitMove(body);
  EXPECT_EQ(body.y, 2980);
  EXPECT_EQ(body.x, 1003);
  EXPECT_EQ(body.prevX, 1000);

  body.nextY = 2989.5;  // inside the band
  body.nextX = 1003;
  commitMove(body);
  EXPECT_EQ(body.y, 2989.5);
  EXPECT_EQ(body.prevY, 2980);

  // The low edge keeps half the extent.
  body.nextY = 5;
  commitMove(body);
  EXPECT_EQ(body.y, 2989.5);
  body.nextY = 5.5;
  commitMove(body);
  EXPECT_EQ(body.y, 5.5);

  body.nextX = 4.9;
  body.nextY = 5.5;
  commitMove(body);
  EXPECT_EQ(body.x, 1003);
  body.nextX = 2990;  // 3000 - w is outside
  commitMove(body);
  EXPECT_EQ(body.x, 1003);
  body.nextX = 2989.9;
  commitMove(body);
  EXPECT_EQ(body.x, 2989.9);
}

TEST(FaceRect, EveryRegion) {
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
  };
  for (const Case& c : cases) {
    Body mover = boxAt(100, 100, 10, 10, 7);
    faceRect(mover, c.rect);
    EXPECT_EQ(mover.heading, c.heading) << c.rect.x << "," << c.rect.y;
  }
}

TEST(Headings, NormalizeAndTurn) {
  EXPECT_EQ(normalizeHeading(-5), 355);
  EXPECT_EQ(normalizeHeading(725), 5);
  EXPECT_EQ(normalizeHeading(360), 360);
  EXPECT_EQ(normalizeHeading(-360), 0);
  EXPECT_EQ(normalizeHeading(0), 0);
  EXPECT_EQ(normalizeHeading(-725), 355);
  EXPECT_EQ(normalizeHeading(720), 360);
  int extreme = normalizeHeading(INT32_MIN);
  EXPECT_GE(extreme, 0);
  EXPECT_LE(extreme, 360);

  EXPECT_EQ(turnHeading(358, 5), 3);
  EXPECT_EQ(turnHeading(356, 5), 361 - 360);
  EXPECT_EQ(turnHeading(355, 5), 360);
  EXPECT_EQ(turnHeading(2, -5), 357);
  EXPECT_EQ(turnHeading(0, -5), 355);
  EXPECT_EQ(turnHeading(270, 180), 90);
  EXPECT_EQ(turnHeading(90, 180), 270);
  int wild = turnHeading(100000, 5);
  EXPECT_GE(wild, 0);
  EXPECT_LE(wild, 360);
}

}  // namespace
