// The soak run's between-frames check: a sound world passes, every kind of broken reference is
// named, and records removed through the lifetime functions leave nothing behind.
#include "tools/soak/world_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "world/world.h"
#include "world/lifetime.h"

namespace {

bool mentions(const std::vector<std::string>& problems, const std::string& text) {
  for (const std::string& p : problems)
    if (p.find(text) != std::string::npos) return true;
  return false;
}

class WorldCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    auto house = std::make_unique<House>();
    house->x = house->y = 100;
    house->w = house->h = 50;
    world.houses.append(std::move(house));
    auto road = std::make_unique<Road>();
    road->w = road->h = 100;
    world.roads.append(std::move(road));
    auto sidewalk = std::make_unique<Sidewalk>();
    sidewalk->y = 200;
    sidewalk->w = sidewalk->h = 20;
    world.sidewalks.append(std::move(sidewalk));
    world.cars.append(makeMapCar(500, 500, 20, 40, 0, 100, 0, 5, 0, 4, 0, 0.1));
    world.cars.append(makeMapCar(700, 500, 20, 40, 0, 100, 0, 5, 0, 4, 0, 0.1));
    for (RecordList<Person>* list : {&world.pedestrians, &world.drivers, &world.badGuys})
      list->append(
          makePerson("someone", nullptr, 0, true, false, 100, 0, 0, 300, 300, 20, 20, {}, 5, 0));
    world.player =
        makePerson("player", nullptr, 0, false, false, 100, 0, 0, 50, 50, 20, 20, {}, 5, 0);

    // A driver at the wheel of the first car, the player in the second, a walker on its
    // sidewalk blocked by the house and fleeing the player.
    Person& driver = *world.drivers[0];
    driver.inCar = true;
    driver.targetCar = world.cars[0];
    driver.segment = world.roads[0];
    world.cars[0]->driver = 0;
    world.player->inCar = true;
    world.player->targetCar = world.cars[1];
    world.cars[1]->driver = PLAYER_DRIVER;
    Person& walker = *world.pedestrians[0];
    walker.segment = walker.previousSegment = world.sidewalks[0];
    walker.blockingHouse = world.houses[0];
    walker.attacker = world.player.get();
  }

  World world;
};

TEST_F(WorldCheck, SoundWorldPassesAndLifetimeRemovalsKeepItSound) {
  EXPECT_TRUE(worldProblems(world).empty());
  removeHouse(world, 0);
  removeSidewalk(world, 0);
  removeCar(world, 0);
  removeDriver(world, 0);
  const std::vector<std::string> problems = worldProblems(world);
  EXPECT_TRUE(problems.empty()) << problems.front();
}

TEST_F(WorldCheck, NamesEveryBrokenReference) {
  Car elsewhere;
  House gone;
  Road foreign;
  world.cars[0]->driver = 5;                 // only one driver
  world.cars[1]->driver = -3;                // no such sentinel
  world.badGuys[0]->targetCar = &elsewhere;  // not in the car list
  world.pedestrians[0]->blockingHouse = &gone;
  world.pedestrians[0]->nextSegment = world.roads[0];  // a road is no sidewalk
  world.drivers[0]->segment = &foreign;
  Person stranger;
  world.badGuys[0]->attacker = &stranger;
  world.bullets.append(std::make_unique<Bullet>());
  world.bullets[0]->x = std::nan("");

  const std::vector<std::string> problems = worldProblems(world);
  EXPECT_TRUE(mentions(problems, "car 0 names driver 5 of 1"));
  EXPECT_TRUE(mentions(problems, "car 1 names driver -3"));
  EXPECT_TRUE(mentions(problems, "bad guy 0 targets a removed car"));
  EXPECT_TRUE(mentions(problems, "bad guy 0 flees a removed attacker"));
  EXPECT_TRUE(mentions(problems, "pedestrian 0 is blocked by a removed house"));
  EXPECT_TRUE(mentions(problems, "pedestrian 0 walks a removed or foreign segment"));
  EXPECT_TRUE(mentions(problems, "driver 0 walks a removed or foreign segment"));
  EXPECT_TRUE(mentions(problems, "player 0 sits in a car that names another driver"));
  EXPECT_TRUE(mentions(problems, "bullet 0 has a position that is not a number"));
  EXPECT_EQ(problems.size(), 9u);
}

}  // namespace
