// The world the simulation tests play in: an 800 x 600 view, a hand-driven clock at 10 s, a
// fixed seed and the player (20 x 20, hands power 10) at (500, 500); and records put into it.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "support/records.h"
#include "world/records.h"
#include "world/world.h"

// Puts driver `d` (of world.drivers) behind the wheel of `car`, as the traffic does.
inline Person& seatDriver(World& world, Car& car, Person& d) {
  d.targetCar = &car;
  d.inCar = true;
  d.walkingToCar = false;
  d.x = d.nextX = car.x;
  d.y = d.nextY = car.y;
  car.driver = world.drivers.indexOf(&d);
  return d;
}

// A 10 x 5 bullet starting at (x, y) with its power as life.
inline std::unique_ptr<Bullet> makeBullet(double x, double y, int heading, double power,
                                          int32_t range) {
  auto bullet = std::make_unique<Bullet>();
  static_cast<Body&>(*bullet) = Body(x, y, 10, 5, power, 0, heading);
  bullet->originX = x;
  bullet->originY = y;
  bullet->power = power;
  bullet->range = range;
  return bullet;
}

class SimWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    world.view = {0, 0, 800, 600};
    world.clock.setManual(10000);
    world.random.seed(1);
    world.player = testsupport::playerSpec().at(500, 500).make();
  }

  Person& player() { return *world.player; }

  // A 20 x 40 car facing `heading` (0: east), top speed 10.
  Car& addCar(double x, double y, int heading = 0, double speed = 0) {
    return *world.cars.append(testsupport::testCar().at(x, y).heading(heading).speed(speed).make());
  }
  // A 20 x 20 map person facing east, life 100, hands power 50.
  Person& addPerson(RecordList<Person>& list, double x, double y) {
    return *list.append(testsupport::testPerson().at(x, y).make());
  }
  Person& addPedestrian(double x, double y) { return addPerson(world.pedestrians, x, y); }
  Person& addDriver(double x, double y) { return addPerson(world.drivers, x, y); }
  Person& seat(Car& car, Person& d) { return seatDriver(world, car, d); }
  template <class T>
  T& add(RecordList<T>& list, double x, double y, double w, double h) {
    return *list.append(makeRect<T>(x, y, w, h));
  }
  Bullet& addBullet(double x, double y, int heading, double power, int32_t range = 1000) {
    return *world.bullets.append(makeBullet(x, y, heading, power, range));
  }

  World world;
};
