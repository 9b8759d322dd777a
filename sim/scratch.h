// The simulation's working memory, kept by the World: the pass grids and the candidate lists
// of the pair tests. It holds nothing that an outcome depends on; it is kept between frames
// only so that its lists keep their room.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "sim/collision.h"
#include "sim/spatial_grid.h"
#include "world/world.h"

// The bits of up to M numbers, the rest left at zero: equal bits are the very same numbers
// (NaN and -0 included), which is what a remembered answer may be given again for.
template <size_t M, size_t N>
std::array<uint64_t, M> bitsOf(const double (&values)[N]) {
  static_assert(N <= M && sizeof(double) == sizeof(uint64_t), "too many numbers");
  std::array<uint64_t, M> bits{};
  std::memcpy(bits.data(), values, sizeof values);
  return bits;
}

// What refused a car's last step forward or back: a house or another car, by list index and
// record (the record tells a stale index apart).
//
// A refusal depends on nothing but the numbers of the two bodies, so the same numbers are
// refused again. A car in a jam stands still beside a blocker that stands still too, and its
// tentative centre swings between two or three places as its speed flips and the driver
// accelerates: the blocker keeps the numbers apart from the tentative centre, and the centres
// it refused with them lately.
struct StepBlocker {
  // The bits of the car's and the blocker's numbers, apart from the car's tentative centre.
  static constexpr size_t NUMBERS = 10;
  using Numbers = std::array<uint64_t, NUMBERS>;
  static constexpr int REFUSALS = 3;

  const void* record = nullptr;
  int index = -1;
  bool isHouse = false;
  Numbers numbers{};
  std::array<std::array<uint64_t, 2>, REFUSALS> refusedAt{};  // tentative centres' bits
  int refusals = 0;                                           // how many of refusedAt hold one
  int oldest = 0;                                             // the one replaced next

  // Whether this blocker refused the tentative centre (nextX, nextY) with these numbers.
  bool refusedBefore(const Numbers& now, double nextX, double nextY) const;
  // Notes a refusal; other numbers forget the centres refused with the old ones.
  void noteRefusal(const Numbers& now, double nextX, double nextY);
};

// A car a person may walk to, with a bound below its clearance from the person.
struct PickCandidate {
  double bound;
  int index;
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
  std::vector<PickCandidate> pickCandidates;
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
