// The city generator: a street grid with crossings, sidewalk rings and crosswalks, houses,
// lawns and parks, parked and driven cars, pedestrians, bad guys and weapons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct World;

struct CityOptions {
  uint64_t seed = 1;
  // "downtown": many blocks, dense houses; "suburb": few large blocks, villas on wide lawns.
  std::string style = "downtown";
  // Scales the number of pedestrians, drivers and bad guys (1.0 = the style's own numbers).
  double density = 1.0;
  // Fills every list to its capacity (500 each), for the benchmarks.
  bool stress = false;
};

// Empties the world's lists and fills them with a city. The same options always give the
// same city. The networks are not linked here: the map loader links them.
void generateCity(World& world, const CityOptions& options);

// Writes the world's lists as a map folder (created if missing), in the loader's format.
// Returns false when a file cannot be written.
bool writeCityFolder(const World& world, const std::string& folder);

// What is wrong with a generated (and linked) city: a person, car or weapon inside a house,
// a house on a road or sidewalk, a road without a neighbour, a sidewalk network in pieces,
// the player's start (100, 100) blocked. Empty when the city is sound.
std::vector<std::string> cityProblems(const World& world);
