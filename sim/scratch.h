// The simulation's working memory, kept by the World: the pass grids and the candidate lists
// of the pair tests. It holds nothing that an outcome depends on; it is kept between frames
// only so that its lists keep their room.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "sim/collision.h"
#include "sim/spatial_grid.h"
#include "world/world.h"

// What refused a car's last step forward or back: a house or another car, by list index and
// record (the record tells a stale index apart).
struct StepBlocker {
  const void* record = nullptr;
  int index = -1;
  bool isHouse = false;
};

struct SimScratch {
  GridUse gridUse = GridUse::Auto;
  const PassGrid* innermost = nullptr;             // this world's open pass scopes
  std::vector<std::unique_ptr<GridSlot>> slots;    // by kind and depth of nesting
  SpatialGrid bulletTargets;                       // the group a bullet pass tries
  OutlineMemo outlines;
  PairMemo carPairs;  // the cars' contact tests
  // By car index: what refused its step forward [0] and back [1] last time.
  std::vector<std::array<StepBlocker, 2>> carBlockers;
  // Candidate lists, one per caller, so that a caller's list is never refilled by a callee.
  std::vector<int> carHouses, carCars, runOverCars, blockingCars, houseTest, hitsHouse, bullets;
  std::vector<int> carContact;
  std::vector<char> goneBullets;  // by index, during a pass over the bullets
  // By bullet index, through the hit passes of a frame: the one grid cell the bullet's box
  // falls in, or -1 (bullets stand still once they have flown).
  std::vector<int> bulletCells;
};

SimScratch& makeScratch(const World& world);
// The world's scratch, made on first use.
inline SimScratch& scratchOf(const World& world) {
  return world.scratch ? *world.scratch : makeScratch(world);
}
