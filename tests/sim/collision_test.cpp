// Geometry kit: corners, outline clearances, pre-tests, move commit and headings.
#include "sim/collision.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "world/world.h"

namespace {

Body boxAt(double x, double y, double w, double h, int heading = 0) {
  return Body(x, y, w, h, 100, 0, heading);
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

  // A corner exactly on an edge of the view is in view; one beyond every edge is not.
  const View view{100, 100, 800, 600};
  for (const auto& [x, y] :
       {std::pair{500.0, 95.0}, {500.0, 705.0}, {95.0, 400.0}, {905.0, 400.0}})
    EXPECT_TRUE(anyCornerInView(boxAt(x, y, 10, 10), view)) << x << "," << y;
  EXPECT_FALSE(anyCornerInView(boxAt(500, 94, 10, 10), view));
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

  // Through a memo every measure is the one made afresh, also for the same box turned or
  // moved after it was measured.
  OutlineMemo memo;
  for (int heading : {60, 30}) {
    body.heading = heading;
    EXPECT_EQ(boxRectClearance(body, above, &memo), boxRectClearance(body, above)) << heading;
  }
  body.y += 0.5;
  EXPECT_EQ(boxRectClearance(body, above, &memo), boxRectClearance(body, above));
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
