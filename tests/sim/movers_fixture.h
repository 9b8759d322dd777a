// A small headless city for the car and walking tests: fixed clock, fixed seed, 800x600 view.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "world/world.h"
#include "world/records.h"
#include "support/records.h"

class MoversTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world.view = {0, 0, 800, 600};
    world.clock.setManual(1000);
    world.random.seed(1234);
    world.player = testsupport::playerSpec().at(500, 500).make();
  }

  Person& player() { return *world.player; }

  Car& addCar(double x, double y, int heading, double speed, double w = 20, double h = 40) {
    return *world.cars.append(
        testsupport::testCar().at(x, y).size(w, h).heading(heading).speed(speed).make());
  }

  static std::unique_ptr<Person> mapPerson(double x, double y, double w, double h) {
    return testsupport::testPerson().at(x, y).size(w, h).make();
  }
  Person& addPedestrian(double x, double y, double w = 20, double h = 20) {
    return *world.pedestrians.append(mapPerson(x, y, w, h));
  }
  Person& addDriver(double x, double y, double w = 20, double h = 20) {
    return *world.drivers.append(mapPerson(x, y, w, h));
  }
  // Puts driver `index` behind the wheel of a car, as the traffic does.
  void seat(Car& car, int index) {
    Person& d = *world.drivers[index];
    d.targetCar = &car;
    d.inCar = true;
    d.walkingToCar = false;
    d.x = d.nextX = car.x;
    d.y = d.nextY = car.y;
    car.driver = index;
  }

  House& addHouse(double x, double y, double w, double h) {
    return *world.houses.append(testsupport::rect<House>(x, y, w, h));
  }

  World world;
};
