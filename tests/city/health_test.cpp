// The shipped cities as living cities: traffic flows, people walk, nothing breaks.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include "city/city_run.h"
#include "world/map_files.h"

namespace {

// The cities the generator made for the game (see `make city`); other listed maps only have
// to keep the invariants.
const char* const kCities[] = {"downtown", "suburb"};
constexpr int kFrames = 3000;  // a minute of play

void expectLiving(const std::string& name, const CityHealth& h) {
  std::cout << name << ": drivers " << h.drivingWell << "/" << h.drivers << " driving well, "
            << h.jammedCars << " jammed; pedestrians " << h.walkingWell << " walking of "
            << h.pedestriansAlive << " alive of " << h.pedestrians << "; bad guys "
            << h.badGuysWalking << "/" << h.badGuys << " walking; " << h.strays << " strays\n";
  for (const auto& b : h.broken) ADD_FAILURE() << name << ": " << b;
  ASSERT_GT(h.drivers, 0) << name;
  ASSERT_GT(h.pedestrians, 0) << name;
  EXPECT_GE(h.drivingWell * 4, h.drivers * 3) << name;
  EXPECT_LE(h.jammedCars * 10, h.drivers) << name;
  EXPECT_GE(h.pedestriansAlive * 10, h.pedestrians * 9) << name;
  EXPECT_GE(h.walkingWell * 4, h.pedestriansAlive * 3) << name;
  EXPECT_GE(h.badGuysWalking * 4, h.badGuys * 3) << name;
  EXPECT_EQ(h.strays, 0) << name;
}

TEST(CityHealth, TheMainCityComesFirstInTheLevelList) {
  const auto levels = readLevelList("maps/levels.txt");
  ASSERT_FALSE(levels.empty());
  EXPECT_EQ(levels[0], "downtown");
  for (const char* city : kCities)
    EXPECT_NE(std::find(levels.begin(), levels.end(), city), levels.end()) << city;
}

TEST(CityHealth, TheShippedCitiesLiveForAMinute) {
  for (const char* city : kCities) expectLiving(city, runCity(city, kFrames, 7));
}

TEST(CityHealth, EveryListedMapKeepsItsInvariants) {
  for (const auto& name : readLevelList("maps/levels.txt")) {
    const CityHealth h = runCity(name, kFrames, 11);
    for (const auto& b : h.broken) ADD_FAILURE() << name << ": " << b;
  }
}

}  // namespace
