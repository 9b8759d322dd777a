// Walking: the step and its animation, the house test, the slide table, the player's move.
#include "sim/on_foot.h"

#include <gtest/gtest.h>

#include <string>

#include "movers_fixture.h"
#include "sim/collision.h"

namespace {

Person walker(double x, double y, int heading) {
  Person p;
  static_cast<Body&>(p) = Body(x, y, 20, 20, 100, 0, heading);
  return p;
}

TEST(WalkStep, FrameCyclesBothWaysAndStandsStillWithTheBody) {
  Person p = walker(1000, 1000, 200);  // forward at 180..360 counts up
  int seen[9];
  for (int i = 0; i < 9; ++i) {
    walkStep(p, "up");
    seen[i] = p.walkFrame;
  }
  const int up[9] = {1, 2, 3, 4, 5, 6, 7, 0, 1};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(seen[i], up[i]);

  p.walkFrame = 0;
  p.heading = 90;  // forward below 180 counts down
  walkStep(p, "up");
  EXPECT_EQ(p.walkFrame, 7);
  walkStep(p, "up");
  EXPECT_EQ(p.walkFrame, 6);

  struct {
    const char* command;
    int heading;
    int step;
  } cases[] = {{"up", 180, 1},    {"up", 360, 1},   {"up", 179, -1}, {"up", 0, -1},
               {"down", 1, 1},    {"down", 180, 1}, {"down", 0, -1}, {"down", 181, -1}};
  for (auto c : cases) {
    p.walkFrame = 3;
    p.heading = c.heading;
    walkStep(p, c.command);
    EXPECT_EQ(p.walkFrame, 3 + c.step) << c.command << " " << c.heading;
  }

  // A person who cannot walk (no speed to ramp from) keeps its frame.
  Person still = walker(1000, 1000, 200);
  still.walkSpeed = 0;
  still.topWalkSpeed = 0;
  still.walkFrame = 4;
  walkStep(still, "up");
  EXPECT_EQ(still.nextX, still.x);
  EXPECT_EQ(still.walkFrame, 4);
}

TEST(SlideStep, FollowsTheWallByTheSlideTable) {
  struct {
    const char* side;
    const char* command;
    int heading;
    int dx, dy;  // in steps of the reduced walking speed
  } cases[] = {
      {"down", "up", 300, 1, 0},   {"down", "up", 270, 0, 0},    {"down", "up", 269, -1, 0},
      {"down", "up", 360, 0, 0},   {"down", "down", 89, -1, 0},  {"down", "down", 90, 0, 0},
      {"down", "down", 91, 1, 0},  {"down", "down", 180, 0, 0},  {"up", "up", 89, 1, 0},
      {"up", "up", 90, 0, 0},      {"up", "up", 179, -1, 0},     {"up", "up", 180, 0, 0},
      {"up", "down", 269, 1, 0},   {"up", "down", 270, 0, 0},    {"up", "down", 359, -1, 0},
      {"left", "up", 179, 0, -1},  {"left", "up", 180, 0, 0},    {"left", "up", 181, 0, 1},
      {"left", "up", 270, 0, 0},   {"left", "down", 89, 0, 1},   {"left", "down", 300, 0, -1},
      {"left", "down", 360, 0, 0}, {"right", "up", 89, 0, -1},   {"right", "up", 90, 0, 0},
      {"right", "up", 360, 0, 1},  {"right", "down", 179, 0, 1}, {"right", "down", 180, 0, 0},
      {"right", "down", 181, 0, -1}, {"upright", "up", 0, -1, 1}, {"upright", "down", 0, -1, 1},
      {"upleft", "down", 200, 1, 1}, {"downleft", "up", 45, 0, -1}, {"downleft", "down", 45, 1, -1},
      {"downright", "up", 45, 0, -1}, {"downright", "down", 45, -1, -1}, {"in", "up", 45, 0, 0},
      {"none", "down", 45, 0, 0},   {"up", "down", 271, -1, 0},  {"left", "up", 269, 0, 1},
      {"down", "up", 271, 1, 0},    {"down", "up", 359, 1, 0},    {"left", "down", 359, 0, -1},
  };
  for (auto c : cases) {
    Person p = walker(1000, 1000, c.heading);
    p.walkSpeed = 3;
    p.blockSide = c.side;
    p.nextX = p.nextY = 0;  // a refused step from before
    slideStep(p, c.command);
    EXPECT_EQ(p.walkSpeed, 2);
    EXPECT_EQ(p.nextX, 1000 + 2 * c.dx) << c.side << " " << c.command << " " << c.heading;
    EXPECT_EQ(p.nextY, 1000 + 2 * c.dy) << c.side << " " << c.command << " " << c.heading;
  }
  // The slide never brings the speed below 1.0.
  Person slow = walker(1000, 1000, 300);
  slow.walkSpeed = 1.5;
  slow.blockSide = "down";
  slideStep(slow, "up");
  EXPECT_EQ(slow.walkSpeed, 1.5);
  EXPECT_EQ(slow.nextX, 1001.5);
}

using FootStep = MoversTest;

TEST_F(FootStep, WalksFreelyAndStopsAtAStraightWall) {
  Person& p = player();
  p.x = p.nextX = 1000;
  p.y = p.nextY = 1000;
  p.heading = 270;  // facing down
  walkStep(p, "up");
  playerFootStep(world, true, false);
  EXPECT_NEAR(p.y, 1001.5, 1e-12);

  addHouse(900, 1013, 300, 100);  // roof 1.5 below the player's feet
  walkStep(p, "up");
  playerFootStep(world, true, false);
  EXPECT_EQ(p.blockSide, "down");
  EXPECT_NEAR(p.y, 1001.5, 1e-12);  // heading 270 has no slide along this wall
  EXPECT_NEAR(p.x, 1000, 1e-12);
}

}  // namespace
