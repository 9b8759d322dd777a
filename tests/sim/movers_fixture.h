// A small headless city for the car and walking tests: fixed clock, fixed seed, 800x600 view.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "world/world.h"
#include "world/records.h"

class MoversTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world.view = {0, 0, 800, 600};
    world.clock.setManual(1000);
    srand(1234);
    world.player = makePerson("Player", nullptr, 0, false, false, 100, 0, 0, 500, 500, 20, 20,
                              {}, 10, 0);
  }

  Person& player() { return *world.player; }

  Car& addCar(double x, double y, int heading, double speed, double w = 20, double h = 40) {
    return *world.cars.append(
        makeMapCar(x, y, w, h, 0, 100, heading, 10, 0, 4, speed, 0.1));
  }

  static std::unique_ptr<Person> mapPerson(double x, double y, double w, double h) {
    return makePerson("Tarko", nullptr, 0, true, false, 100, 0, 0, x, y, w, h, {}, 50, 0);
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
    auto house = std::make_unique<House>();
    house->x = x;
    house->y = y;
    house->w = w;
    house->h = h;
    return *world.houses.append(std::move(house));
  }

  World world;
};
