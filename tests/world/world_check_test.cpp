// The world check: a sound world passes, records removed through the lifetime functions leave
// nothing behind, and broken references are reported.
#include "world/world_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "world/world.h"
#include "world/lifetime.h"
#include "support/records.h"

using namespace testsupport;

namespace {

class WorldCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    world.houses.append(makeRect<House>(100, 100, 50, 50));
    world.roads.append(makeRect<Road>(0, 0, 100, 100));
    world.roads.append(makeRect<Road>(100, 0, 100, 100));
    world.roads[1]->neighbours.push_back(world.roads[0]);
    world.sidewalks.append(makeRect<Sidewalk>(0, 200, 20, 20));
    world.cars.append(testCar().at(500, 500).make());
    world.cars.append(testCar().at(700, 500).make());
    for (RecordList<Person>* list : {&world.pedestrians, &world.drivers, &world.badGuys})
      list->append(testPerson().at(300, 300).make());
    world.drivers.append(testPerson().at(400, 300).make());
    world.player = playerSpec().at(50, 50).make();
    world.bullets.append(std::make_unique<Bullet>());

    // The second driver at the wheel of the first car, the player in the second, a walker on
    // its sidewalk blocked by the house and fleeing the player, a bullet stopped by the house.
    Person& driver = *world.drivers[1];
    driver.inCar = true;
    driver.targetCar = world.cars[0];
    driver.segment = world.roads[0];
    world.cars[0]->driver = 1;
    world.player->inCar = true;
    world.player->targetCar = world.cars[1];
    world.cars[1]->driver = PLAYER_DRIVER;
    Person& walker = *world.pedestrians[0];
    walker.segment = walker.previousSegment = world.sidewalks[0];
    walker.blockingHouse = world.houses[0];
    walker.attacker = world.player.get();
    world.bullets[0]->blockingHouse = world.houses[0];
  }

  World world;
};

TEST_F(WorldCheck, SoundWorldPassesAndLifetimeRemovalsKeepItSound) {
  EXPECT_EQ(checkWorld(world), std::vector<std::string>{});
  removeHouse(world, 0);
  removeSidewalk(world, 0);
  removeRoad(world, 0);
  removeDriver(world, 0);  // the driver at the wheel moves down to 0
  EXPECT_EQ(world.cars[0]->driver, 0);
  EXPECT_EQ(checkWorld(world), std::vector<std::string>{});
  removeCar(world, 0);
  world.badGuys[0]->attacker = world.pedestrians[0];
  removePlayer(world);
  EXPECT_EQ(world.cars[0]->driver, NO_DRIVER);
  EXPECT_EQ(world.pedestrians[0]->attacker, nullptr);  // no longer fleeing a player that is gone
  EXPECT_EQ(world.badGuys[0]->attacker, world.pedestrians[0]);  // and nothing else forgotten
  EXPECT_EQ(checkWorld(world), std::vector<std::string>{});
}

TEST_F(WorldCheck, ReportsBrokenReferencesAndSeats) {
  world.cars[1]->driver = 7;
  world.drivers[1]->currentWeapon = 1;  // one past the last
  world.badGuys[0]->currentWeapon = -2;
  EXPECT_EQ(checkWorld(world),
            (std::vector<std::string>{"car 1 names driver 7 of 2", "driver 1 holds weapon 1 of 1",
                                      "bad guy 0 holds weapon -2 of 1",
                                      "player 0 sits in a car that names another driver"}));
}

}  // namespace
