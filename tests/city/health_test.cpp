// The shipped cities, and cities the generator makes, as living cities: traffic flows and
// never stalls, people walk, there is life in view wherever the camera is, nothing breaks.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include "world/world.h"
#include "city/city_run.h"
#include "tools/citygen/city_generator.h"
#include "world/map_files.h"
#include "support/scratch.h"
using namespace testsupport;

namespace {

constexpr int kFrames = 3000;  // a minute of play

// What a player should see in a 1600 x 1200 view, on average, in each style of city.
struct Liveliness {
  const char* style;
  double cars, walkers;
};
const Liveliness kTargets[] = {{"downtown", 3, 8}, {"suburb", 2, 5}, {"smalltown", 2, 5}};

void expectLiving(const std::string& name, const Liveliness& target, const CityHealth& h) {
  std::cout << name << ": drivers " << h.drivingWell << "/" << h.drivers << " driving well, "
            << h.jammedCars << " jammed; pedestrians " << h.walkingWell << " walking of "
            << h.pedestriansAlive << " alive of " << h.pedestrians << "; bad guys "
            << h.badGuysWalking << "/" << h.badGuys << " walking; " << h.strays << " strays, "
            << h.onRoads << " on roads\n"
            << name << ": in a 1600 x 1200 view on average " << h.carsInView << " moving cars and "
            << h.walkersInView << " walkers; a driven car stood still at most "
            << h.longestStillSeconds << " s\n";
  for (const auto& b : h.broken) ADD_FAILURE() << name << ": " << b;
  ASSERT_GT(h.drivers, 0) << name;
  ASSERT_GT(h.pedestrians, 0) << name;
  EXPECT_GE(h.drivingWell * 4, h.drivers * 3) << name;
  EXPECT_LE(h.jammedCars * 10, h.drivers) << name;
  EXPECT_GE(h.pedestriansAlive * 10, h.pedestrians * 9) << name;
  EXPECT_GE(h.walkingWell * 4, h.pedestriansAlive * 3) << name;
  EXPECT_GE(h.badGuysWalking * 4, h.badGuys * 3) << name;
  EXPECT_EQ(h.strays, 0) << name;
  EXPECT_EQ(h.onRoads, 0) << name;  // walkers keep to the sidewalks
  EXPECT_GE(h.carsInView, target.cars) << name;
  EXPECT_GE(h.walkersInView, target.walkers) << name;
  EXPECT_LE(h.longestStillSeconds, 10.0) << name;
}

// Every listed map keeps its invariants for a minute; the shipped cities, named after their
// style, are lively as well.
TEST(CityHealth, ListedMapsKeepTheirInvariantsAndTheShippedCitiesLive) {
  int lively = 0;
  for (const auto& name : readLevelList("maps/levels.txt")) {
    const CityHealth h = runCity(name, kFrames, 7);
    bool styled = false;
    for (const Liveliness& t : kTargets)
      if (name == t.style) {
        expectLiving(name, t, h);
        styled = true;
        ++lively;
      }
    if (!styled)
      for (const auto& b : h.broken) ADD_FAILURE() << name << ": " << b;
  }
  EXPECT_EQ(lively, 3) << "every shipped city is listed";
}

}  // namespace
