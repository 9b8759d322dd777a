// The city generator: streets with sidewalks, houses along them with yards behind, parks and
// fields, parked and driven cars, pedestrians, bad guys and weapons, ground everywhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct World;

struct CityOptions {
  uint64_t seed = 1;
  // "downtown": many small blocks of row houses; "suburb": large blocks of villas in gardens,
  // dead ends; "smalltown": a main street with side streets, fields around.
  std::string style = "downtown";
  // Scales the number of pedestrians, drivers and bad guys (1.0 = the style's own numbers).
  double density = 1.0;
  // Fills every list to its capacity (500 each), for the benchmarks.
  bool stress = false;
};

// Empties the world's lists and fills them with a city. The same options always give the
// same city. The networks are not linked here: the map loader links them.
void generateCity(World& world, const CityOptions& options);

bool knownCityStyle(const std::string& style);

// Writes the world's lists as a map folder (created if missing), in the loader's format.
// Returns false when a file cannot be written.
bool writeCityFolder(const World& world, const std::string& folder);

// The options a city was made with, kept in its folder beside the map files (which the game
// never reads) so that the same city can be made again.
constexpr const char* CITY_RECIPE = "city.txt";
bool writeCityRecipe(const CityOptions& options, const std::string& folder);
// False when the file is missing or does not read whole.
bool readCityRecipe(const std::string& folder, CityOptions& options);

// Adds a map name to "maps/levels.txt" unless it is listed already. False when the list
// cannot be written.
bool addToLevelList(const std::string& name);

// What is wrong with a generated (and linked) city: a person, car or weapon inside a house,
// a house on a road or sidewalk, a road or sidewalk without a neighbour, ground not covered,
// the player's start (100, 100) blocked. Empty when the city is sound.
std::vector<std::string> cityProblems(const World& world);
