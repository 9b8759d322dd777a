// The shipped cities as living cities: traffic flows and never stalls, people walk and keep to
// the sidewalks, nothing breaks; every other listed map at least keeps its rules.
#include <gtest/gtest.h>

#include "city/city_run.h"
#include "world/map_files.h"

namespace {

void expectLiving(const std::string& name, const CityHealth& h) {
  SCOPED_TRACE(name);
  ASSERT_GT(h.drivers, 0);
  ASSERT_GT(h.pedestrians, 0);
  EXPECT_GE(h.drivingWell * 4, h.drivers * 3);
  EXPECT_LE(h.jammedCars * 10, h.drivers);
  EXPECT_GE(h.pedestriansAlive * 10, h.pedestrians * 9);
  EXPECT_GE(h.walkingWell * 4, h.pedestriansAlive * 3);
  EXPECT_GE(h.badGuysWalking * 4, h.badGuys * 3);
  EXPECT_EQ(h.strays, 0);
  EXPECT_EQ(h.onRoads, 0);
}

TEST(CityHealth, ListedMapsKeepTheirRulesAndTheShippedCitiesLive) {
  int lively = 0;
  for (const auto& name : readLevelList("maps/levels.txt")) {
    const CityHealth h = runCity(name, 3000, 7);  // a minute of play
    for (const auto& b : h.broken) ADD_FAILURE() << name << ": " << b;
    if (name == "downtown" || name == "suburb" || name == "smalltown") {
      expectLiving(name, h);
      ++lively;
    }
  }
  EXPECT_EQ(lively, 3) << "every shipped city is listed";
}

}  // namespace
