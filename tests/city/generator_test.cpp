// The city generator: repeatable output, sound networks, nothing inside a house, ground under
// every pixel, the stress city at capacity, the shipped maps being exactly what `make city`
// writes, and a made city listed once.
#include <gtest/gtest.h>

#include <string>

#include "world/world.h"
#include "city/city_run.h"
#include "render/render_support.h"
#include "render/media.h"
#include "render/world_view.h"
#include "tools/citygen/city_generator.h"
#include "world/map_files.h"
#include "support/scratch.h"
using namespace testsupport;

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
      EXPECT_EQ(world.houses.count(), made.houses.count());
      EXPECT_EQ(world.lawns.count(), made.lawns.count());
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

// `make city` makes the shipped maps again from the options kept in their folders; they must
// not drift from the generator.
TEST(CityGenerator, ShippedMapsAreWhatMakeCityWrites) {
  ScratchDir scratch;
  const std::string repo = scratch.home().string();
  for (const char* folder :
       {"maps/downtown", "maps/suburb", "maps/smalltown", "tools/citygen/maps/stress"}) {
    CityOptions options;
    ASSERT_TRUE(readCityRecipe(repo + "/" + folder, options)) << folder;
    EXPECT_EQ(generated(options, "maps/out"), folderText(repo + "/" + folder)) << folder;
  }
}

// Drawn from nine views that together hold every pixel of the world, no pixel of the picture
// behind the city shows, in the shipped maps or in cities made from other seeds.
TEST(CityGenerator, GroundCoversEveryPixelOfTheWorld) {
  rendertest::startMedia();
  const Uint32 behind = rendertest::rgb(255, 0, 255);  // in no table of the world's colours
  auto expectCovered = [&](const std::string& name) {
    World world;
    world.mapName = name;
    loadMap(world);
    SurfacePtr screen = rendertest::plainSurface(1600, 1200);
    Media media;
    media.screen = screen.get();
    media.background = rendertest::plainSurface(1600, 1200, behind);
    mapMediaColours(media, screen->format);
    for (int vy : {0, 900, 1800})
      for (int vx : {0, 700, 1400}) {
        world.view = {vx, vy, 1600, 1200};
        drawWorld(media, world);
        int shown = 0;
        for (int y = 0; y < 1200; ++y)
          for (int x = 0; x < 1600; ++x) shown += rendertest::colourAt(screen.get(), x, y) == behind;
        EXPECT_EQ(shown, 0) << name << " seen from " << vx << ", " << vy;
      }
  };
  for (const char* shipped : {"downtown", "suburb", "smalltown"}) expectCovered(shipped);
  ScratchDir scratch;
  for (const char* style : {"downtown", "suburb", "smalltown"}) {
    CityOptions options;
    options.style = style;
    options.seed = 3;
    World made;
    generateCity(made, options);
    ASSERT_TRUE(writeCityFolder(made, std::string("maps/") + style));
    expectCovered(style);
  }
}

TEST(CityGenerator, AMadeCityIsListedOnce) {
  ScratchDir scratch;
  World world;
  world.levels = {"downtown"};
  saveLevelList(world);
  EXPECT_TRUE(addToLevelList("harbour"));
  EXPECT_TRUE(addToLevelList("harbour"));
  EXPECT_EQ(readLevelList(), (std::vector<std::string>{"downtown", "harbour"}));
}

}  // namespace
