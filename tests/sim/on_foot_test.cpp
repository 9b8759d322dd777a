// Walking: the step and its animation, the house test, the slide table, the player's move.
#include "sim/on_foot.h"

#include <gtest/gtest.h>

#include <string>

#include "sim_world.h"
#include "sim/collision.h"

namespace {

Person walker(double x, double y, int heading) {
  Person p;
  static_cast<Body&>(p) = Body(x, y, 20, 20, 100, 0, heading);
  return p;
}

TEST(WalkStep, FrameCyclesBothWaysAndStandsStillWithTheBody) {
  // Forward at 180..360 counts up, backward at 1..180; otherwise down; 7 and 0 wrap.
  constexpr WalkStep F = WalkStep::Forward, B = WalkStep::Backward;
  struct {
    WalkStep command;
    int heading, from, to;
  } cases[] = {{F, 180, 6, 7}, {F, 360, 6, 7}, {F, 179, 6, 5}, {F, 0, 6, 5}, {B, 1, 6, 7},
               {B, 180, 6, 7}, {B, 0, 6, 5},   {B, 181, 6, 5}, {F, 200, 7, 0}, {F, 90, 0, 7}};
  for (auto c : cases) {
    Person p = walker(1000, 1000, c.heading);
    p.walkFrame = c.from;
    walkStep(p, c.command);
    EXPECT_EQ(p.walkFrame, c.to) << nameOf(c.command) << " " << c.heading << " from " << c.from;
  }

  // A person who cannot walk (no speed to ramp from) keeps its frame.
  Person still = walker(1000, 1000, 200);
  still.walkSpeed = 0;
  still.topWalkSpeed = 0;
  still.walkFrame = 4;
  walkStep(still, WalkStep::Forward);
  EXPECT_EQ(still.nextX, still.x);
  EXPECT_EQ(still.walkFrame, 4);
}

TEST(SlideStep, FollowsTheWallByTheSlideTable) {
  using S = BlockSide;
  constexpr WalkStep F = WalkStep::Forward, B = WalkStep::Backward;
  struct {
    BlockSide side;
    WalkStep command;
    int heading;
    int dx, dy;  // in steps of the reduced walking speed
  } cases[] = {
      {S::Down, F, 300, 1, 0}, {S::Down, F, 270, 0, 0}, {S::Down, F, 269, -1, 0},
      {S::Down, F, 360, 0, 0}, {S::Down, B, 89, -1, 0}, {S::Down, B, 90, 0, 0},
      {S::Down, B, 91, 1, 0}, {S::Down, B, 180, 0, 0}, {S::Up, F, 89, 1, 0},
      {S::Up, F, 90, 0, 0}, {S::Up, F, 179, -1, 0}, {S::Up, F, 180, 0, 0},
      {S::Up, B, 269, 1, 0}, {S::Up, B, 270, 0, 0}, {S::Up, B, 359, -1, 0},
      {S::Left, F, 179, 0, -1}, {S::Left, F, 180, 0, 0}, {S::Left, F, 181, 0, 1},
      {S::Left, F, 270, 0, 0}, {S::Left, B, 89, 0, 1}, {S::Left, B, 300, 0, -1},
      {S::Left, B, 360, 0, 0}, {S::Right, F, 89, 0, -1}, {S::Right, F, 90, 0, 0},
      {S::Right, F, 360, 0, 1}, {S::Right, B, 179, 0, 1}, {S::Right, B, 180, 0, 0},
      {S::Right, B, 181, 0, -1}, {S::UpRight, F, 0, -1, 1}, {S::UpRight, B, 0, -1, 1},
      {S::UpLeft, B, 200, 1, 1}, {S::DownLeft, F, 45, 0, -1}, {S::DownLeft, B, 45, 1, -1},
      {S::DownRight, F, 45, 0, -1}, {S::DownRight, B, 45, -1, -1}, {S::In, F, 45, 0, 0},
      {S::None, B, 45, 0, 0}, {S::Up, B, 271, -1, 0}, {S::Left, F, 269, 0, 1},
      {S::Down, F, 271, 1, 0}, {S::Down, F, 359, 1, 0}, {S::Left, B, 359, 0, -1},
  };
  for (auto c : cases) {
    Person p = walker(1000, 1000, c.heading);
    p.walkSpeed = 3;
    p.blockSide = c.side;
    p.nextX = p.nextY = 0;  // a refused step from before
    slideStep(p, c.command);
    EXPECT_EQ(p.walkSpeed, 2);
    const std::string what =
        std::string(nameOf(c.side)) + " " + nameOf(c.command) + " " + std::to_string(c.heading);
    EXPECT_EQ(p.nextX, 1000 + 2 * c.dx) << what;
    EXPECT_EQ(p.nextY, 1000 + 2 * c.dy) << what;
  }
  // The slide never brings the speed below 1.0.
  Person slow = walker(1000, 1000, 300);
  slow.walkSpeed = 1.5;
  slow.blockSide = BlockSide::Down;
  slideStep(slow, WalkStep::Forward);
  EXPECT_EQ(slow.walkSpeed, 1.5);
  EXPECT_EQ(slow.nextX, 1001.5);
}

using FootStep = SimWorld;

TEST_F(FootStep, WalksFreelyAndStopsAtAStraightWall) {
  Person& p = player();
  p.x = p.nextX = 1000;
  p.y = p.nextY = 1000;
  p.heading = 270;  // facing down
  walkStep(p, WalkStep::Forward);
  playerFootStep(world, true, false);
  EXPECT_NEAR(p.y, 1001.5, 1e-12);

  add(world.houses, 1000, 1013, 300, 100);  // roof 1.5 below the player's feet, from its centre
  walkStep(p, WalkStep::Forward);
  playerFootStep(world, true, false);
  EXPECT_STREQ(nameOf(p.blockSide), "down");
  EXPECT_NEAR(p.y, 1001.5, 1e-12);  // heading 270 has no slide along this wall
  EXPECT_NEAR(p.x, 1000, 1e-12);
  p.y = p.nextY = 997;
  p.walkSpeed = 2.5;
  p.heading = 300;  // down and to the right, refused: it slides along the roof
  walkStep(p, WalkStep::Forward);
  playerFootStep(world, true, false);
  EXPECT_NEAR(p.x, 1002, 1e-12);
  EXPECT_EQ(p.y, 997);

  // Placed inside that house, the player walks on and out.
  p.y = p.nextY = 1050;
  walkStep(p, WalkStep::Forward);
  playerFootStep(world, true, false);
  EXPECT_STREQ(nameOf(p.blockSide), "in");
  EXPECT_GT(p.y, 1050);

  // A car the step would come within a pixel of refuses it, and hurts by its speed.
  p.x = p.nextX = p.y = p.nextY = 2000;
  p.heading = 0;
  p.walkSpeed = 1;
  addCar(2032, 2000, 0, 2);  // its rear at 2012, half a pixel past the step
  walkStep(p, WalkStep::Forward);
  playerFootStep(world, true, false);
  EXPECT_EQ(p.x, 2000);
  EXPECT_EQ(p.damage, 2);
}

}  // namespace
