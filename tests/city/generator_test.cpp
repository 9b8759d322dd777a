// The city generator: repeatable output, sound networks, nothing inside a house, the stress
// city at capacity, and the shipped maps being exactly what `make city` writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "world/world.h"
#include "city/city_run.h"
#include "tools/citygen/city_generator.h"
#include "world/map_files.h"
#include "support/scratch.h"
using namespace testsupport;

namespace {

// How many records each list holds.
std::vector<int> cityCounts(const World& w) {
  return {w.houses.count(), w.sidewalks.count(), w.roads.count(), w.lawns.count(),
          w.weapons.count(), w.cars.count(), w.pedestrians.count(), w.drivers.count(),
          w.badGuys.count()};
}

// Loads "maps/<name>" as the game does.
void load(World& world, const std::string& name) {
  world.mapName = name;
  loadMap(world);
}

TEST(CityGenerator, CitiesLoadLinkedWithNothingInAHouseAndGroundEverywhere) {
  ScratchDir scratch;
  for (const char* style : {"downtown", "suburb", "smalltown"})
    for (uint64_t seed : {1u, 2u, 99u}) {
      CityOptions options;
      options.style = style;
      options.seed = seed;
      World made;
      generateCity(made, options);
      ASSERT_TRUE(writeCityFolder(made, "maps/city"));
      World world;
      load(world, "city");
      // The loader keeps every record: all lie inside the world.
      EXPECT_EQ(cityCounts(world), cityCounts(made));
      EXPECT_GT(world.drivers.count(), 0);
      EXPECT_GT(world.cars.count(), world.drivers.count());  // parked cars too
      EXPECT_GT(world.weapons.count(), 0);
      for (const auto& problem : cityProblems(world))
        ADD_FAILURE() << style << " " << seed << ": " << problem;
    }
}

TEST(CityGenerator, DenserCitiesStillLive) {
  ScratchDir scratch;
  CityOptions options;
  options.seed = 5;
  options.density = 2.0;
  World made;
  generateCity(made, options);
  ASSERT_TRUE(writeCityFolder(made, "maps/busy"));
  CityOptions normal;
  normal.seed = 5;
  World plain;
  generateCity(plain, normal);
  EXPECT_GT(made.pedestrians.count(), plain.pedestrians.count());
  const CityHealth h = runCity("busy", 1500, 3);
  for (const auto& b : h.broken) ADD_FAILURE() << b;
  EXPECT_EQ(h.drivingWell, h.drivers);
  EXPECT_GE(h.walkingWell * 10, h.pedestrians * 9);
  EXPECT_EQ(h.strays, 0);
}

TEST(CityGenerator, StressCityFillsEveryListAndStaysSound) {
  ScratchDir scratch;
  CityOptions options;
  options.stress = true;
  World made;
  generateCity(made, options);
  EXPECT_EQ(cityCounts(made), std::vector<int>(9, 500));
  ASSERT_TRUE(writeCityFolder(made, "maps/stress"));
  World world;
  load(world, "stress");
  EXPECT_EQ(cityCounts(world), std::vector<int>(9, 500));
  for (const auto& problem : cityProblems(world)) ADD_FAILURE() << problem;
  const CityHealth h = runCity("stress", 5, 1);
  for (const auto& b : h.broken) ADD_FAILURE() << b;
}

}  // namespace
