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

TEST(WalkStep, SpeedRampsUpToTheTopAndOnlyTheTentativeCentreMoves) {
  Person p = walker(1000, 1000, 0);
  const double expected[] = {1.5, 2.0, 2.5, 3.0, 3.5, 4.0, 4.5, 5.0, 5.0};
  for (double speed : expected) {
    walkStep(p, "up");
    EXPECT_EQ(p.walkSpeed, speed);
    EXPECT_EQ(p.nextX, 1000 + speed);
    EXPECT_EQ(p.nextY, 1000);
  }
  EXPECT_EQ(p.x, 1000);
  EXPECT_EQ(p.y, 1000);

  p.heading = 90;  // backwards while facing up is a step down
  walkStep(p, "down");
  EXPECT_NEAR(p.nextX, 1000, 1e-12);
  EXPECT_NEAR(p.nextY, 1005, 1e-12);
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

using HouseTest = MoversTest;

TEST_F(HouseTest, NamesTheSideWhereTheHouseLies) {
  House& house = addHouse(1000, 1000, 100, 100);
  struct {
    double x, y;
    const char* side;
  } cases[] = {
      {1050, 980, "down"},       {1050, 1120, "up"},       {980, 1050, "right"},
      {1120, 1050, "left"},      {980, 980, "downright"},  {1120, 980, "downleft"},
      {980, 1120, "upright"},    {1120, 1120, "upleft"},   {1050, 1050, "in"},
  };
  for (auto c : cases) {
    Person p = walker(500, 500, 0);
    p.nextX = c.x;
    p.nextY = c.y;
    houseTest(world, p);
    EXPECT_EQ(p.blockSide, c.side) << c.x << "," << c.y;
    EXPECT_EQ(p.blockingHouse, &house);
  }
  Person above = walker(500, 500, 0);
  above.nextX = 1050;
  above.nextY = 980;  // bottom edge 10 above the roof
  houseTest(world, above);
  EXPECT_NEAR(above.houseClearance, 10, 1e-9);
}

TEST_F(HouseTest, TheNearestHouseWinsInEitherOrder) {
  Person p = walker(500, 500, 0);
  houseTest(world, p);
  EXPECT_EQ(p.houseClearance, NO_CONTACT);

  House& far = addHouse(2000, 2000, 50, 50);
  houseTest(world, p);  // even a far house is the blocking house when it is the only one
  EXPECT_EQ(p.blockingHouse, &far);
  EXPECT_EQ(p.blockSide, "downright");
  EXPECT_GT(p.houseClearance, 1000);

  House& near = addHouse(515, 400, 100, 200);  // 5 to the right
  addHouse(200, 200, 10, 10);
  houseTest(world, p);
  EXPECT_EQ(p.blockingHouse, &near);
  EXPECT_EQ(p.blockSide, "right");
  EXPECT_NEAR(p.houseClearance, 5, 1e-9);

  World reversed;
  auto copy = [&reversed](const House& h) {
    auto c = std::make_unique<House>(h);
    return reversed.houses.append(std::move(c));
  };
  copy(*world.houses[2]);
  House* nearCopy = copy(near);
  copy(far);
  Person q = walker(500, 500, 0);
  houseTest(reversed, q);
  EXPECT_EQ(q.blockingHouse, nearCopy);
  EXPECT_NEAR(q.houseClearance, 5, 1e-9);
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
      {"none", "down", 45, 0, 0},
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

using PlayerMove = MoversTest;

TEST_F(PlayerMove, CarsInContactHurtAndBlock) {
  player().nextX = 503;
  player().nextY = 500;
  playerMove(world);  // no cars at all
  EXPECT_EQ(player().x, 503);

  Car& car = addCar(525, 500, 90, 2);  // left side at 515, 2 ahead of the player
  car.speed = -2;
  Car& far = addCar(1500, 1500, 0, 7);
  player().nextX = 506;  // the right edge would cross into the car
  playerMove(world);
  EXPECT_EQ(player().damage, 2);
  EXPECT_EQ(player().x, 503);
  addCar(525, 480, 90, 1.5);  // a second car touching the same spot
  playerMove(world);
  EXPECT_EQ(player().damage, 2 + 2 + 1.5);
  EXPECT_EQ(player().x, 503);

  // Exactly 1.0 away: no damage, but the move still needs more room than that.
  world.cars.removeAt(2);
  player().nextX = 504;
  playerMove(world);
  EXPECT_EQ(player().damage, 5.5);
  EXPECT_EQ(player().x, 503);
  player().nextX = 503.5;
  playerMove(world);
  EXPECT_EQ(player().x, 503.5);
  EXPECT_EQ(player().damage, 5.5);
  EXPECT_EQ(far.speed, 7);
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

TEST_F(FootStep, SlidesAlongAWallWhenWalkingAtAnAngle) {
  Person& p = player();
  p.x = p.nextX = 1000;
  p.y = p.nextY = 1000;
  p.heading = 300;  // down and to the right; the turned box reaches 13.66 below its centre
  p.walkSpeed = 3;
  addHouse(900, 1016, 300, 100);
  walkStep(p, "up");  // speed 3.5: the step would cross the roof
  playerFootStep(world, true, false);
  EXPECT_EQ(p.blockSide, "down");
  EXPECT_EQ(p.walkSpeed, 2.5);
  EXPECT_EQ(p.x, 1002.5);
  EXPECT_EQ(p.y, 1000);

  // Without a walking key held a blocked player just stays.
  walkStep(p, "up");
  playerFootStep(world, false, false);
  EXPECT_EQ(p.x, 1002.5);
  EXPECT_EQ(p.y, 1000);
}

TEST_F(FootStep, AStepIntoAHouseIsLetThrough) {
  Person& p = player();
  addHouse(400, 400, 200, 200);  // the player stands inside it
  p.heading = 0;
  walkStep(p, "up");
  playerFootStep(world, true, false);
  EXPECT_EQ(p.blockSide, "in");
  EXPECT_EQ(p.x, 501.5);
}

TEST(WalkSpeedKeys, StayWithinOneAndTheTopSpeed) {
  Person p = walker(0, 0, 0);
  changeWalkSpeed(p, 0.1);
  EXPECT_NEAR(p.walkSpeed, 1.1, 1e-12);
  changeWalkSpeed(p, -0.1);
  changeWalkSpeed(p, -0.1);
  EXPECT_NEAR(p.walkSpeed, 1.0, 1e-12);
  p.walkSpeed = 4.95;
  changeWalkSpeed(p, 0.1);
  EXPECT_EQ(p.walkSpeed, 4.95);
}

}  // namespace
