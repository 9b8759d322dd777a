// The city generator: sound networks, nothing inside a house, ground under every pixel, the
// stress city at capacity, the shipped maps being exactly what `make city` writes, and a made
// city listed once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "world/world.h"
#include "city/city_run.h"
#include "tools/citygen/city_generator.h"
#include "world/map_files.h"
#include "render/media.h"
#include "render/world_view.h"
#include "support/sdl.h"
#include "support/scratch.h"
using namespace testsupport;

namespace {

std::string folderText(const std::string& folder) {
  std::string all;
  for (int f = 0; f < MAP_FILE_COUNT; ++f) {
    const std::string name = mapFileName(MapFile(f));
    all += name + ":" + readFile(folder + "/" + name) + "\n";
  }
  return all;
}

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

// Made cities of every style, and the shipped ones from their recipes (which must give the
// committed files), load linked, with nothing in a house and ground everywhere.
TEST(CityGenerator, CitiesLoadSoundAndTheShippedOnesAreWhatMakeCityWrites) {
  ScratchDir scratch;
  const std::string repo = scratch.home().string() + "/";
  std::vector<std::pair<std::string, CityOptions>> cities;  // the shipped folder, if any
  for (const char* style : {"downtown", "suburb", "smalltown"})
    for (uint64_t seed : {2u, 99u}) {
      cities.emplace_back("", CityOptions{});
      cities.back().second.style = style;
      cities.back().second.seed = seed;
    }
  // The stress city, last, has every list at its capacity.
  for (const char* folder :
       {"maps/downtown", "maps/suburb", "maps/smalltown", "tools/citygen/maps/stress"}) {
    cities.emplace_back(folder, CityOptions{});
    ASSERT_TRUE(readCityRecipe(repo + folder, cities.back().second)) << folder;
  }
  for (const auto& [shipped, options] : cities) {
    SCOPED_TRACE(shipped + " " + options.style + " " + std::to_string(options.seed));
    World made;
    generateCity(made, options);
    if (options.stress)
      EXPECT_EQ(cityCounts(made), std::vector<int>(9, 500));
    else
      EXPECT_GT(made.cars.count(), made.drivers.count());  // parked cars too
    ASSERT_TRUE(writeCityFolder(made, "maps/city"));
    if (!shipped.empty()) {
      EXPECT_EQ(folderText("maps/city"), folderText(repo + shipped));
    }
    World world;
    load(world, "city");
    // The loader keeps every record: all lie inside the world.
    EXPECT_EQ(cityCounts(world), cityCounts(made));
    EXPECT_GT(world.drivers.count(), 0);
    EXPECT_GT(world.weapons.count(), 0);
    for (const auto& problem : cityProblems(world)) ADD_FAILURE() << problem;
  }
  const CityHealth h = runCity("city", 5, 1);  // the stress city runs
  for (const auto& b : h.broken) ADD_FAILURE() << b;
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

// Drawn from nine views that together hold every pixel of the world, no pixel of the picture
// behind the city shows in the shipped maps (made cities are held to the same by cityProblems).
TEST(CityGenerator, GroundCoversEveryPixelOfTheWorld) {
  SDL_Surface* screen = testsupport::startSdl(1600, 1200);
  ASSERT_TRUE(screen);
  const Uint32 behind = SDL_MapRGB(screen->format, 255, 0, 255);  // in no colour table
  auto expectCovered = [&](const std::string& name) {
    World world;
    load(world, name);
    Media media;
    media.screen = screen;
    media.background = testsupport::plainSurface(1600, 1200, behind);
    mapMediaColours(media, screen->format);
    for (int vy : {0, 900, 1800})
      for (int vx : {0, 700, 1400}) {
        world.view = {vx, vy, 1600, 1200};
        drawWorld(media, world);
        EXPECT_EQ(testsupport::countColour(screen, 0, 0, 1600, 1200, behind), 0)
            << name << " seen from " << vx << ", " << vy;
      }
  };
  for (const char* shipped : {"downtown", "suburb", "smalltown"}) expectCovered(shipped);
}

TEST(CityGenerator, AMadeCityIsListedOnce) {
  ScratchDir scratch;
  World world;
  world.levels = {"downtown"};
  ASSERT_EQ(saveLevelList(world), "");
  EXPECT_TRUE(addToLevelList("harbour"));
  EXPECT_TRUE(addToLevelList("harbour"));
  EXPECT_EQ(readLevelList(), (std::vector<std::string>{"downtown", "harbour"}));
}

}  // namespace
