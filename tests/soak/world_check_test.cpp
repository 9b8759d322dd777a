// The soak run's between-frames check: a sound world passes, and records removed through the
// lifetime functions leave nothing behind.
#include "tools/soak/world_check.h"

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
    world.houses.append(rect<House>(100, 100, 50, 50));
    world.roads.append(rect<Road>(0, 0, 100, 100));
    world.sidewalks.append(rect<Sidewalk>(0, 200, 20, 20));
    world.cars.append(CarSpec{}.at(500, 500).make());
    world.cars.append(CarSpec{}.at(700, 500).make());
    for (RecordList<Person>* list : {&world.pedestrians, &world.drivers, &world.badGuys})
      list->append(PersonSpec{}.at(300, 300).make());
    world.player = playerSpec().at(50, 50).make();

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

}  // namespace
