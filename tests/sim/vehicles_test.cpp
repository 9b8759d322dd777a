// Cars: commands, friction, steering, the car step and its bounce, running over, boarding,
// leaving and wrecks.
#include "sim/vehicles.h"

#include <gtest/gtest.h>

#include <cmath>

#include "movers_fixture.h"
#include "sim/collision.h"

namespace {

Car looseCar(double speed, double acceleration, double maxSpeed) {
  Car car;
  car.speed = speed;
  car.acceleration = acceleration;
  car.maxSpeed = maxSpeed;
  return car;
}

TEST(DriveCommand, GasClimbsToTopSpeedExactly) {
  Car car = looseCar(0, 0.2, 1.0);
  for (int i = 1; i <= 4; ++i) {
    driveCommand(car, "gas");
    EXPECT_NEAR(car.speed, 0.2 * i, 1e-12);
  }
  for (int i = 0; i < 3; ++i) driveCommand(car, "gas");
  EXPECT_EQ(car.speed, 1.0);
}

TEST(DriveCommand, BrakeReversesToHalfTopSpeed) {
  Car car = looseCar(0.3, 0.3, 4);
  driveCommand(car, "brake");
  EXPECT_EQ(car.speed, 0);
  driveCommand(car, "brake");
  EXPECT_NEAR(car.speed, -0.3, 1e-12);
  for (int i = 0; i < 20; ++i) driveCommand(car, "brake");
  EXPECT_EQ(car.speed, -2);
}

TEST(DriveCommand, HandbrakeStopsAndNeverReverses) {
  Car car = looseCar(0.3, 0.1, 10);
  driveCommand(car, "handbrake");
  EXPECT_EQ(car.speed, 0);
  car.speed = -1.0;
  driveCommand(car, "handbrake");
  EXPECT_EQ(car.speed, 0);
  car.speed = 2.0;
  driveCommand(car, "handbrake");
  EXPECT_NEAR(car.speed, 1.5, 1e-12);
  driveCommand(car, "honk");  // not a command
  EXPECT_NEAR(car.speed, 1.5, 1e-12);
}

TEST(Friction, SlowsByAStepAndStopsTheLastCrawl) {
  struct {
    double before, after;
  } cases[] = {{0.03, 0}, {-0.03, 0}, {1.0, 0.95}, {-1.0, -0.95}, {0.05, 0}, {0, 0}};
  for (auto c : cases) {
    Car car = looseCar(c.before, 0.1, 10);
    applyFriction(car);
    EXPECT_NEAR(car.speed, c.after, 1e-12) << "from " << c.before;
  }
}

TEST(Steering, OnlyARollingCarTurns) {
  Car car = looseCar(0, 0.1, 10);
  car.heading = 358;
  steerCar(car, 5);
  EXPECT_EQ(car.heading, 358);
  car.speed = 0.01;
  steerCar(car, 5);
  EXPECT_EQ(car.heading, 3);
  car.speed = -1;
  steerCar(car, -5);
  steerCar(car, -5);
  EXPECT_EQ(car.heading, 353);
}

using CarStep = MoversTest;

TEST_F(CarStep, RollsAlongItsHeadingAfterFriction) {
  Car& east = addCar(1000, 1000, 0, 3.05);
  Car& north = addCar(2000, 2000, 90, -1.05);  // reversing: moves down
  Car& parked = addCar(500, 2500, 0, 0);
  moveCars(world);
  EXPECT_EQ(east.speed, 3);
  EXPECT_NEAR(east.x, 1003, 1e-12);
  EXPECT_NEAR(east.y, 1000, 1e-12);
  EXPECT_EQ(east.prevX, 1000);
  EXPECT_NEAR(north.speed, -1, 1e-12);
  EXPECT_NEAR(north.x, 2000, 1e-12);
  EXPECT_NEAR(north.y, 2001, 1e-12);
  EXPECT_EQ(parked.speed, 0);
  EXPECT_EQ(parked.x, 500);
}

TEST_F(CarStep, BouncesBackOffAHouseAndStaysWhenThatIsBlockedToo) {
  // Front edge at 1020; after friction the car tries 1003, front at 1023.
  Car& car = addCar(1000, 1000, 0, 3.05);
  addHouse(1023.5, 900, 100, 200);
  moveCars(world);
  EXPECT_EQ(car.speed, -3);
  EXPECT_NEAR(car.x, 997, 1e-12);

  // A wall behind as well: reversed, but no place to go.
  Car& boxed = addCar(1000, 2000, 0, 3.05);
  addHouse(1023.5, 1900, 100, 200);
  addHouse(877.5, 1900, 100, 200);  // right edge 977.5, the bounced rear would be at 977
  moveCars(world);
  EXPECT_EQ(boxed.speed, -3);
  EXPECT_EQ(boxed.x, 1000);
  EXPECT_EQ(boxed.y, 2000);
}

TEST_F(CarStep, ExactlyOnePixelFromAWallStillMoves) {
  Car& car = addCar(1000, 1000, 0, 3.05);
  addHouse(1024, 900, 100, 200);  // the tentative front edge ends exactly 1.0 short
  moveCars(world);
  EXPECT_EQ(car.speed, 3);
  EXPECT_NEAR(car.x, 1003, 1e-12);
}

TEST_F(CarStep, CarsBounceOffEachOther) {
  Car& mover = addCar(1000, 1000, 0, 3.05);
  Car& standing = addCar(1043, 1000, 0, 0);  // rear edge at 1023, where the mover's front goes
  moveCars(world);
  EXPECT_EQ(mover.speed, -3);
  EXPECT_NEAR(mover.x, 997, 1e-12);
  EXPECT_EQ(standing.x, 1043);

  // One pixel of room between the cars is enough.
  Car& close = addCar(1000, 2000, 0, 3.05);
  addCar(1044, 2000, 0, 0);
  moveCars(world);
  EXPECT_NEAR(close.x, 1003, 1e-12);

  // Cars already overlapping (a turn swung one into the other) may part, but not close in.
  Car& leaving = addCar(1000, 3000, 180, 3.05);
  Car& pressing = addCar(1030, 3000, 180, 3.05);
  moveCars(world);
  EXPECT_NEAR(leaving.x, 997, 1e-12);
  EXPECT_NEAR(pressing.x, 1033, 1e-12);  // bounced back
}

// Corner to corner, 0.2 pixels apart, yet the centres are farther apart than the two
// half-diagonals: the pair is never measured, so nothing blocks.
TEST_F(CarStep, CarsBeyondTheirCirclesAreNeverMeasured) {
  Car& mover = addCar(1000, 1000, 180, 1.05);  // tries x = 999
  Car& other = addCar(958, 1020, 0, 0);
  other.x = other.nextX = 999 - 40.2;
  mover.nextX = 999;
  mover.nextY = 1000;
  ASSERT_LT(nextBoxBoxClearance(mover, other), BLOCK_DISTANCE);
  ASSERT_GT(pointDistance(999, 1000, other.x, other.y),
            halfDiagonal(mover) + other.halfDiagonal);
  moveCars(world);
  EXPECT_NEAR(mover.x, 999, 1e-12);
  EXPECT_EQ(mover.speed, 1);

  // Nudged inside the circles the same near miss blocks.
  Car& second = addCar(2000, 2000, 180, 1.05);
  Car& blocker = addCar(1999 - 40, 2019, 0, 0);
  blocker.y = blocker.nextY = 2019.5;
  moveCars(world);
  EXPECT_EQ(second.speed, -1);
  EXPECT_NEAR(second.x, 2001, 1e-12);
}

TEST_F(CarStep, DriversRideAlongAndBadIndicesAreIgnored) {
  Car& car = addCar(1000, 1000, 0, 3.05);
  addDriver(50, 50);
  Person& d = addDriver(60, 60);
  seat(car, 1);
  Car& stray = addCar(2000, 2000, 0, 1.05);
  stray.driver = 7;  // names no driver
  moveCars(world);
  EXPECT_NEAR(d.x, 1003, 1e-12);
  EXPECT_NEAR(d.y, 1000, 1e-12);
  EXPECT_EQ(world.drivers[0]->x, 50);
  EXPECT_NEAR(stray.x, 2001, 1e-12);
}

using RunOver = MoversTest;

TEST_F(RunOver, TenTimesTheSpeedPerFrameFromOneCarOnly) {
  Car& fast = addCar(1000, 1000, 0, 3);
  addCar(1000, 1000, 0, 1);  // on the same spot, but the first car already hit
  Person& victim = addPedestrian(1025, 1000);  // 5 pixels into the car's front
  Person& walker = addDriver(1000, 1018);      // a driver on foot against its side
  Person& away = addPedestrian(2000, 2000);
  runOver(world);
  EXPECT_EQ(victim.damage, 30);
  EXPECT_EQ(walker.damage, 30);
  EXPECT_EQ(away.damage, 0);
  runOver(world);
  EXPECT_EQ(victim.damage, 60);
  EXPECT_EQ(walker.damage, 60);

  // The dead and those sitting in a car are not hit, nor is the player on foot.
  victim.damage = victim.life;
  walker.inCar = true;
  player().x = fast.x;
  player().y = fast.y - 25;
  runOver(world);
  EXPECT_EQ(victim.damage, victim.life);
  EXPECT_EQ(walker.damage, 60);
  EXPECT_EQ(player().damage, 0);
}

using Boarding = MoversTest;

TEST_F(Boarding, PicksTheNearestCarAndKeepsItOnASecondPress) {
  addCar(2500, 2500, 0, 0);
  Car& near = addCar(600, 500, 0, 0);
  addCar(300, 300, 0, 0);
  pickTargetCar(world, player());
  EXPECT_EQ(player().targetCar, &near);
  EXPECT_TRUE(player().walkingToCar);
  EXPECT_NEAR(player().carDistance, 580 - 510, 1e-9);
  pickTargetCar(world, player());
  EXPECT_EQ(player().targetCar, &near);
  Car& nearer = addCar(460, 500, 0, 0);
  pickTargetCar(world, player());
  EXPECT_EQ(player().targetCar, &nearer);
}

TEST_F(Boarding, WalksToTheCarAndGetsIn) {
  Car& car = addCar(600, 500, 0, 0);
  pickTargetCar(world, player());
  world.clock.setManual(4321);
  int frames = 0;
  while (!player().inCar && frames < 60) {
    walkToCar(world, player());
    ++frames;
    EXPECT_LE(player().x + 10, car.x - 20 + 1e-9);  // never walks into the car
  }
  ASSERT_TRUE(player().inCar);
  EXPECT_LT(frames, 30);
  EXPECT_EQ(player().heading, 0);
  EXPECT_LE(player().carDistance, 1.0);
  EXPECT_FALSE(player().walkingToCar);
  EXPECT_EQ(car.driver, PLAYER_DRIVER);
  EXPECT_EQ(player().enteredAt, 4321);
  EXPECT_EQ(player().damage, 0);  // a parked car does not hurt
}

// From any side of a parked car, its rear and its right too, the walk ends in the car.
TEST_F(Boarding, ReachesAParkedCarFromEverySide) {
  for (int heading : {0, 90, 200}) {
    for (int around = 0; around < 360; around += 15) {
      world.cars.clear();
      Car& car = addCar(1000, 1000, heading, 0, 69, 94);
      const double a = around * PI / 180;
      world.player = makePerson("Player", nullptr, 0, false, false, 100, 0, 0,
                                1000 + 90 * std::cos(a), 1000 - 90 * std::sin(a), 30, 20, {}, 10, 0);
      player().heading = (around + 90) % 360;
      pickTargetCar(world, player());
      for (int frame = 0; frame < 200 && !player().inCar; ++frame) walkToCar(world, player());
      EXPECT_TRUE(player().inCar) << "car heading " << heading << ", player at " << around
                                  << " degrees, stopped at " << player().x << ", " << player().y;
      EXPECT_EQ(car.driver, player().inCar ? PLAYER_DRIVER : NO_DRIVER);
    }
  }
}

TEST_F(Boarding, PullingADriverOutScaresItAway) {
  Car& car = addCar(1000, 1000, 0, 0);
  addDriver(100, 100);
  Person& driver = addDriver(0, 0);
  seat(car, 1);
  player().x = 900;
  player().y = 940;
  player().targetCar = &car;
  enterCar(world, player());

  EXPECT_TRUE(driver.scared);
  EXPECT_EQ(driver.attacker, &player());
  // Facing the player's box (above-left: 180 - atan(40/80) = 153) and turning away.
  EXPECT_EQ(driver.heading, 333);
  EXPECT_FALSE(driver.inCar);
  EXPECT_EQ(driver.targetCar, nullptr);
  EXPECT_EQ(driver.carDistance, NO_CONTACT);
  // Out at the rear-left corner of the parked car, shifted up-left.
  EXPECT_NEAR(driver.x, 960, 1e-9);
  EXPECT_NEAR(driver.y, 970, 1e-9);
  EXPECT_TRUE(player().inCar);
  EXPECT_EQ(car.driver, PLAYER_DRIVER);
  EXPECT_EQ(player().enteredAt, 1000);
  EXPECT_FALSE(world.drivers[0]->scared);
}

TEST_F(Boarding, ACarNamingAMissingDriverIsSimplyTaken) {
  Car& car = addCar(1000, 1000, 0, 0);
  car.driver = 3;
  player().targetCar = &car;
  enterCar(world, player());
  EXPECT_EQ(car.driver, PLAYER_DRIVER);
  EXPECT_TRUE(player().inCar);
}

TEST(ExitPoint, ByHeadingAndDirection) {
  struct Case {
    int heading;
    double speed;
    int corner;
    double shift;
  } cases[] = {
      {90, 1, 1, -20},     {90, -1, 0, -20},    {0, 0, 1, -20},   {179, -0.1, 0, -20},
      {179, -0.09, 1, -20}, {180, 0, 1, 20},    {270, 2, 1, 20},  {360, 0, 1, 20},
      {270, -1, 0, -20},   {400, 1, 3, 0},      {-30, 1, 1, -20},
  };
  for (const Case& c : cases) {
    Car car;
    static_cast<Body&>(car) = Body(1000, 1000, 20, 40, 100, 0, c.heading);
    car.speed = c.speed;
    ExitPoint p = exitPoint(car);
    EXPECT_NEAR(p.x, cornerX(car, c.corner) + c.shift, 1e-9) << c.heading << " " << c.speed;
    EXPECT_NEAR(p.y, cornerY(car, c.corner) + c.shift, 1e-9) << c.heading << " " << c.speed;
  }
}

TEST_F(Boarding, LeavingPutsThePlayerOutAndFreesTheCar) {
  Car& car = addCar(1000, 1000, 270, 0);  // heading down: out at rear-left + (20, 20)
  player().targetCar = &car;
  enterCar(world, player());
  ExitPoint exit = exitPoint(car);
  leaveCar(player());
  EXPECT_NEAR(player().x, exit.x, 1e-12);
  EXPECT_NEAR(player().y, exit.y, 1e-12);
  EXPECT_FALSE(player().inCar);
  EXPECT_FALSE(player().walkingToCar);
  EXPECT_EQ(player().targetCar, nullptr);
  EXPECT_EQ(player().carDistance, NO_CONTACT);
  EXPECT_EQ(car.driver, NO_DRIVER);

  // Near the world's edge the exit lies outside the band: the player stays put.
  Car& edge = addCar(15, 1500, 0, 0);
  player().targetCar = &edge;
  enterCar(world, player());
  player().x = 15;
  leaveCar(player());
  EXPECT_EQ(player().x, 15);
  EXPECT_FALSE(player().inCar);

  // Nothing to leave from: only the state is cleared.
  player().inCar = true;
  leaveCar(player());
  EXPECT_FALSE(player().inCar);
}

using Wrecks = MoversTest;

TEST_F(Wrecks, OccupantsTakeTheDamageAndDriverIndicesStayRight) {
  for (int i = 0; i < 3; ++i) addDriver(100 + 10 * i, 100);
  Car& intact = addCar(500, 1000, 0, 0);
  Car& playersWreck = addCar(1000, 1000, 0, 0);
  Car& driversWreck = addCar(1500, 1000, 0, 0);
  seat(intact, 2);
  seat(driversWreck, 1);
  player().targetCar = &playersWreck;
  enterCar(world, player());
  playersWreck.damage = 120;
  driversWreck.damage = 100;
  Person* thirdDriver = world.drivers[2];
  Person& secondDriver = *world.drivers[1];
  ExitPoint playerExit = exitPoint(playersWreck);

  destroyCars(world);
  // The player's wreck is gone; the next wreck moved into its place and waits a frame.
  ASSERT_EQ(world.cars.count(), 2);
  EXPECT_EQ(world.cars[0], &intact);
  EXPECT_EQ(world.cars[1], &driversWreck);
  EXPECT_EQ(player().damage, 120);
  EXPECT_FALSE(player().inCar);
  EXPECT_EQ(player().targetCar, nullptr);
  EXPECT_NEAR(player().x, playerExit.x, 1e-12);

  destroyCars(world);
  ASSERT_EQ(world.cars.count(), 1);
  EXPECT_EQ(secondDriver.damage, 100);
  EXPECT_FALSE(secondDriver.inCar);
  EXPECT_EQ(secondDriver.targetCar, nullptr);
  ASSERT_EQ(world.drivers.count(), 3);
  EXPECT_EQ(world.cars[0]->driver, 2);
  EXPECT_EQ(world.drivers[world.cars[0]->driver], thirdDriver);
}

TEST_F(Wrecks, AWreckNamingAMissingDriverIsRemovedSafely) {
  Car& wreck = addCar(1000, 1000, 0, 0);
  wreck.driver = 4;
  wreck.damage = wreck.life;
  destroyCars(world);
  EXPECT_EQ(world.cars.count(), 0);
}

}  // namespace
