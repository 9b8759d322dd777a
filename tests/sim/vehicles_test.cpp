// Cars: commands, friction, steering, the car step and its bounce, running over, boarding,
// leaving and wrecks.
#include "sim/vehicles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "sim_world.h"
#include "sim/collision.h"
#include "world/lifetime.h"

namespace {

class CarStep : public SimWorld {
 protected:
  // Parked cars stand on whole pixels as the maps make them; this one is put anywhere.
  Car& park(double x, double y) {
    Car& parked = addCar(0, y);
    parked.x = x;
    settleBody(parked);
    return parked;
  }
};

TEST_F(CarStep, BouncesBackOffAHouseAndDriversRideAlong) {
  // Front edge at 1020; after friction the car tries 1003, front at 1023.
  Car& car = addCar(1000, 1000, 0, 3.05);
  add(world.houses, 1023.5, 900, 100, 200);
  // A wall behind as well: reversed, but no place to go.
  Car& boxed = addCar(1000, 2000, 0, 3.05);
  add(world.houses, 1023.5, 1900, 100, 200);
  add(world.houses, 877.5, 1900, 100, 200);  // right edge 977.5, the bounced rear would be at 977
  // A driven car along the world's top edge, and one naming no driver.
  Car& edge = addCar(2000, 0, 0, 1.05);
  addDriver(50, 50);
  Person& d = addDriver(60, 60);
  seat(edge, d);
  edge.y = edge.nextY = 0.5;  // map cars start on whole pixels
  Car& stray = addCar(2000, 2000, 0, 0.55);
  stray.driver = 7;
  // The same bounce driving up the screen, off a house above.
  Car& up = addCar(1500, 1000, 90, 3.05);
  add(world.houses, 1400, 876.5, 200, 100);
  moveCars(world);
  EXPECT_NEAR(up.y, 1003, 1e-9);
  EXPECT_EQ(car.speed, -3);
  EXPECT_NEAR(car.x, 997, 1e-12);
  EXPECT_EQ(boxed.speed, -3);
  EXPECT_EQ(boxed.x, 1000);
  EXPECT_NEAR(d.x, 2001, 1e-12);
  EXPECT_EQ(d.y, 0.5);
  EXPECT_EQ(world.drivers[0]->x, 50);
  EXPECT_NEAR(stray.x, 2000.5, 1e-12);

  // The brake takes off the acceleration; only far into reverse is the speed cut. The
  // handbrake takes off five times as much, and never into reverse.
  driveCommand(stray, DriveCommand::Brake);
  EXPECT_DOUBLE_EQ(stray.speed, 0.4);
  driveCommand(stray, DriveCommand::Handbrake);
  EXPECT_EQ(stray.speed, 0);
  driveCommand(edge, DriveCommand::Handbrake);
  EXPECT_DOUBLE_EQ(edge.speed, 0.5);
  stray.speed = -4.95;
  driveCommand(stray, DriveCommand::Brake);
  EXPECT_EQ(stray.speed, -5);
  // Friction takes 0.05 off either way, and leaves a car standing.
  for (double speed : {0.5, -5.0, 0.0}) {
    stray.speed = speed;
    applyFriction(stray);
    EXPECT_NEAR(stray.speed, speed == 0 ? 0 : speed - std::copysign(0.05, speed), 1e-12);
  }
}

TEST_F(CarStep, AHouseFartherFromTheCentreThanTheHalfDiagonalIsNotMeasured) {
  // Tried at (1000.95, 1000), the car's corner (1020.95, 990) comes 0.85 from the house's,
  // but the house lies 23.1 from that centre, beyond the car's half-diagonal (22.4).
  Car& car = addCar(1000, 1000, 0, 1);
  add(world.houses, 1021.55, 889.4, 100, 100);
  moveCars(world);
  EXPECT_NEAR(car.x, 1000.95, 1e-12);
}

TEST_F(CarStep, RefusedByTheCarsJustAheadAndBehind) {
  // As off the house: the car tries 1003, its front half a pixel from a parked car's rear.
  Car& car = addCar(1000, 1000, 0, 3.05);
  park(1043.5, 1000);
  // And with a car behind that the step back would come as near to: it stays put.
  Car& boxed = addCar(1000, 2000, 0, 3.05);
  park(1043.5, 2000);
  park(956.5, 2000);
  moveCars(world);
  EXPECT_EQ(car.speed, -3);
  EXPECT_NEAR(car.x, 997, 1e-12);
  EXPECT_EQ(boxed.speed, -3);
  EXPECT_EQ(boxed.x, 1000);
}

TEST_F(CarStep, AJammedCarIsRefusedAgainOnlyWhileNothingAboutItsBlockerChanged) {
  // Boxed in between two parked cars, and between two houses, trying the same step each frame.
  Car& car = addCar(1000, 1000, 0);
  Car& ahead = park(1043.5, 1000);
  park(956.5, 1000);
  Car& walled = addCar(1000, 2000, 0);
  House& wall = add(world.houses, 1023.5, 1900, 100, 200);
  add(world.houses, 877.5, 1900, 100, 200);
  // A frame refused both ways as the one before, then one after `change`: where the car is.
  auto afterChange = [&](Car& stepping, auto change) {
    for (int frame = 0; frame < 2; ++frame) {
      stepping.x = 1000;
      settleBody(stepping);
      ahead.x = 1043.5;
      ahead.heading = 0;
      wall.x = 1023.5;
      stepping.speed = 3.05;
      if (frame == 1) change();
      moveCars(world);
      if (frame == 0) {
        EXPECT_EQ(stepping.x, 1000) << "boxed in";
      }
    }
    return stepping.x;
  };
  EXPECT_EQ(afterChange(car, [] {}), 1000);
  EXPECT_NEAR(afterChange(car, [&] { ahead.x += 2; }), 1003, 1e-12);
  EXPECT_NEAR(afterChange(car, [&] { ahead.heading = 90; }), 1003, 1e-12);
  // From inside the car ahead (1006) the same step (to 1003) moves away from it.
  EXPECT_NEAR(afterChange(car,
                          [&] {
                            car.x = 1006;
                            car.speed = -3.05;
                          }),
              1003, 1e-12);
  EXPECT_EQ(afterChange(walled, [] {}), 1000);
  EXPECT_NEAR(afterChange(walled, [&] { wall.x += 1; }), 1003, 1e-12);
}

using RunOver = SimWorld;

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

using Boarding = SimWorld;

// The car picked, and the distance kept, are a plain scan's in list order: the nearest by
// clearance, the first of those equally near, and none unless nearer than the distance the
// person had. Crowds of turned cars of all sizes, with twins standing on each other.
TEST_F(Boarding, PicksTheCarAPlainScanInListOrderPicks) {
  std::mt19937 random(3);
  auto uniform = [&](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
  };
  for (int round = 0; round < 60; ++round) {
    while (world.cars.count() > 0) removeCar(world, world.cars.count() - 1);
    for (int i = 0; i < 40; ++i) {
      Car& car = addCar(uniform(300, 700), uniform(300, 700), int(uniform(0, 360)));
      car.w = uniform(4, 60);
      car.h = uniform(4, 90);
      if (i % 7 == 3) {  // a twin on the car before it: equally near
        Car& twin = addCar(car.x, car.y, car.heading);
        twin.w = car.w;
        twin.h = car.h;
      }
    }
    Person& person = player();
    person.x = uniform(300, 700);
    person.y = uniform(300, 700);
    const double before = round % 3 == 0 ? uniform(0, 40) : NO_CONTACT;
    double best = before;
    Car* nearest = nullptr;
    for (const auto& car : world.cars) {
      const double clearance = boxBoxClearance(person, *car);
      if (clearance < best) {
        best = clearance;
        nearest = car.get();
      }
    }
    person.targetCar = nullptr;
    person.carDistance = before;
    pickTargetCar(world, person);
    ASSERT_EQ(person.targetCar, nearest) << "round " << round;
    ASSERT_EQ(person.carDistance, best) << "round " << round;
  }
  // Equally near, 10 to either side: a small car first in the list, a big one after it whose
  // centre lies farther away (so it is measured first).
  while (world.cars.count() > 0) removeCar(world, world.cars.count() - 1);
  Car& small = addCar(530, 500);
  small.w = small.h = 20;
  Car& big = addCar(450, 500);
  big.w = big.h = 60;
  player().x = player().y = 500;
  player().carDistance = NO_CONTACT;
  pickTargetCar(world, player());
  EXPECT_EQ(boxBoxClearance(player(), big), 10);
  EXPECT_EQ(player().carDistance, 10);
  EXPECT_EQ(player().targetCar, &small);
  // No car is nearer than a distance of 10 held before.
  player().targetCar = nullptr;
  pickTargetCar(world, player());
  EXPECT_EQ(player().targetCar, nullptr);
}

TEST_F(Boarding, FirstOfTwoEquallyNearCarsAndTheDistanceToACar) {
  Car& first = addCar(600, 500, 0, 0);
  addCar(600, 500, 0, 0);
  addCar(900, 500, 0, 0);
  pickTargetCar(world, player());
  EXPECT_EQ(player().targetCar, &first);
  EXPECT_TRUE(player().walkingToCar);

  // Exactly the two half-diagonals (5 and 10) apart, the distance is still the centres'.
  Car& small = *world.cars.append(CarSpec{}.at(1000, 1000).size(12, 16).make());
  Person& walker = addPedestrian(1015, 1000);
  walker.w = 6;
  walker.h = 8;
  walker.targetCar = &small;
  updateCarDistance(walker);
  EXPECT_EQ(walker.carDistance, 15);
  walker.nextX = 1014;  // nearer, it is the gap between the outlines
  updateCarDistance(walker);
  EXPECT_NEAR(walker.carDistance, 2, 0.01);
  walker.w = walker.h = 100;  // holding the whole car, its centre on the car's front edge
  walker.nextX = 1008;
  updateCarDistance(walker);
  EXPECT_EQ(walker.carDistance, 0);
  // Across a car turned half right (8 wide), a centre 2.8 off its middle line is in its box;
  // 4.2 off it is not.
  small.heading = 45;
  small.w = 8;
  for (double off : {2, 3}) {
    walker.nextX = walker.nextY = 1000 + off;
    updateCarDistance(walker);
    EXPECT_EQ(walker.carDistance == 0, off == 2) << off;
  }

  // A driver taking the player's car puts the player out.
  player().targetCar = &first;
  player().inCar = true;
  first.driver = PLAYER_DRIVER;
  Person& taker = addDriver(600, 530);
  taker.targetCar = &first;
  enterCar(world, taker);
  EXPECT_EQ(first.driver, 0);
  EXPECT_FALSE(player().inCar);
  EXPECT_EQ(player().targetCar, nullptr);

  // A wreck puts the player inside out, hurt as much as the car; another wreck does not, and
  // puts its own driver out hurt as much as that car.
  player().targetCar = &small;
  player().inCar = true;
  small.driver = PLAYER_DRIVER;
  small.damage = small.life = 30;
  first.damage = first.life;
  const double takersWreck = first.damage;
  destroyCars(world);
  EXPECT_EQ(player().damage, 30);
  EXPECT_FALSE(player().inCar);
  EXPECT_EQ(taker.damage, takersWreck);
  EXPECT_FALSE(taker.inCar);
  EXPECT_EQ(world.cars.indexOf(&small), -1);
  // Sitting in no car, leaving just stands the player where it is.
  player().inCar = player().walkingToCar = true;
  leaveCar(player());
  EXPECT_FALSE(player().inCar || player().walkingToCar);
}

TEST_F(Boarding, OnTheWayToItsCarOnlyThePlayerIsStoppedAndHurtByOtherCars) {
  // Each walks east towards its car, speeding up to 1.5 a step; a car rolling at 2 lies half a
  // pixel beyond the step.
  Car& mine = addCar(1200, 1000);
  addCar(1032, 1000, 0, 2);
  Person& d = addDriver(1000, 1000);
  d.targetCar = &mine;
  d.walkingToCar = true;
  walkToCar(world, d);
  EXPECT_EQ(d.x, 1001.5);
  EXPECT_EQ(d.damage, 0);

  Car& players = addCar(1200, 2000);
  addCar(1032, 2000, 0, 2);
  player().x = player().nextX = 1000;
  player().y = player().nextY = 2000;
  player().targetCar = &players;
  player().walkingToCar = true;
  walkToCar(world, player());
  EXPECT_EQ(player().x, 1000);
  EXPECT_EQ(player().damage, 2);
}

TEST_F(Boarding, AWalkerToItsCarBlockedByAWallSlidesAlongIt) {
  // Turned up-right, the walker's box reaches 985.9; the wall's bottom edge lies at 984.5.
  add(world.houses, 900, 884.5, 300, 100);
  Person& d = addDriver(1000, 1000);
  d.targetCar = &addCar(1300, 700);
  d.walkingToCar = true;
  walkToCar(world, d);
  EXPECT_EQ(d.heading, 45);
  EXPECT_EQ(d.x, 1001.5);
  EXPECT_EQ(d.y, 1000);
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

}  // namespace
