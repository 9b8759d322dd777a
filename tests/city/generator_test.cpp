// The city generator: repeatable output, sound networks, nothing inside a house, the stress
// city at capacity, and the shipped maps being exactly what `make city` writes.
#include <gtest/gtest.h>

#include <string>

#include "world/world.h"
#include "city/city_run.h"
#include "tools/citygen/city_generator.h"
#include "world/map_files.h"
#include "world/scratch_dir.h"

namespace {

const char* const kFiles[] = {"houses.txt",    "roads.txt",     "cars.txt",
                              "pedestrants.txt", "weapons.txt", "sidewalks.txt",
                              "lawns.txt",     "drivers.txt",   "badguys.txt"};

std::string folderText(const std::string& folder) {
  std::string all;
  for (const char* f : kFiles) all += std::string(f) + ":" + readFile(folder + "/" + f) + "\n";
  return all;
}

std::string generated(const CityOptions& options, const std::string& folder) {
  World world;
  generateCity(world, options);
  EXPECT_TRUE(writeCityFolder(world, folder));
  return folderText(folder);
}

// Loads "maps/<name>" as the game does.
void load(World& world, const std::string& name) {
  world.mapName = name;
  loadMap(world);
}

TEST(CityGenerator, SameOptionsSameCityOtherSeedOtherCity) {
  ScratchDir scratch;
  CityOptions options;
  options.seed = 42;
  const std::string first = generated(options, "maps/a");
  EXPECT_EQ(generated(options, "maps/b"), first);
  options.seed = 43;
  EXPECT_NE(generated(options, "maps/c"), first);
  options.seed = 42;
  options.style = "suburb";
  EXPECT_NE(generated(options, "maps/d"), first);
}

TEST(CityGenerator, CitiesLoadLinkedWithNothingInAHouse) {
  ScratchDir scratch;
  for (const char* style : {"downtown", "suburb"})
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
      EXPECT_EQ(world.houses.count(), made.houses.count());
      EXPECT_EQ(world.roads.count(), made.roads.count());
      EXPECT_EQ(world.sidewalks.count(), made.sidewalks.count());
      EXPECT_EQ(world.cars.count(), made.cars.count());
      EXPECT_EQ(world.drivers.count(), made.drivers.count());
      EXPECT_EQ(world.pedestrians.count(), made.pedestrians.count());
      EXPECT_EQ(world.badGuys.count(), made.badGuys.count());
      EXPECT_GT(world.drivers.count(), 0);
      EXPECT_GT(world.cars.count(), world.drivers.count());  // parked cars too
      EXPECT_GT(world.weapons.count(), 0);
      for (const auto& problem : cityProblems(world))
        ADD_FAILURE() << style << " " << seed << ": " << problem;
      // Crossings link two to four roads, roads exactly their two crossings.
      for (const auto& road : world.roads) {
        const size_t n = road->neighbours.size();
        if (road->w == road->h)
          EXPECT_TRUE(n >= 2 && n <= 4) << style << " " << seed;
        else
          EXPECT_EQ(n, 2u) << style << " " << seed;
      }
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
  for (int count : {made.houses.count(), made.sidewalks.count(), made.roads.count(),
                    made.lawns.count(), made.weapons.count(), made.cars.count(),
                    made.pedestrians.count(), made.drivers.count(), made.badGuys.count()})
    EXPECT_EQ(count, 500);
  ASSERT_TRUE(writeCityFolder(made, "maps/stress"));
  World world;
  load(world, "stress");
  EXPECT_EQ(world.houses.count(), 500);
  EXPECT_EQ(world.badGuys.count(), 500);
  for (const auto& problem : cityProblems(world)) ADD_FAILURE() << problem;
  const CityHealth h = runCity("stress", 5, 1);
  for (const auto& b : h.broken) ADD_FAILURE() << b;
}

// `make city` regenerates the shipped maps; they must not drift from the generator.
TEST(CityGenerator, ShippedMapsAreWhatMakeCityWrites) {
  ScratchDir scratch;
  const std::string repo = scratch.home().string();
  struct Shipped {
    const char* folder;
    CityOptions options;
  };
  CityOptions downtown, suburb, stress;
  suburb.style = "suburb";
  stress.stress = true;
  for (const Shipped& s : {Shipped{"maps/downtown", downtown}, Shipped{"maps/suburb", suburb},
                           Shipped{"tools/citygen/maps/stress", stress}})
    EXPECT_EQ(generated(s.options, "maps/out"), folderText(repo + "/" + s.folder)) << s.folder;
}

}  // namespace
