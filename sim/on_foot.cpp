// Walking: the step with its speed ramp and animation, the house test, the slide along a
// wall, and the player's own move with the damage cars deal on contact.
#include "sim/on_foot.h"

#include <cmath>
#include <vector>

#include "world/world.h"
#include "sim/collision.h"
#include "sim/scratch.h"
#include "sim/spatial_grid.h"

namespace {

// Keeps a speed change only when the result stays within 1.0..topWalkSpeed.
void changeSpeedWithin(Person& person, double delta) {
  double speed = person.walkSpeed + delta;
  if (speed >= 1.0 && speed <= person.topWalkSpeed) person.walkSpeed = speed;
}

// Where the house lies as seen from a point outside it (Down = the house is below).
BlockSide sideOfHouse(double nx, double ny, const Rect& house) {
  bool inX = house.x <= nx && nx <= house.x + house.w;
  bool inY = house.y <= ny && ny <= house.y + house.h;
  bool above = ny < house.y;  // the point is above the house
  bool left = nx < house.x;
  if (inX) return above ? BlockSide::Down : BlockSide::Up;
  if (inY) return left ? BlockSide::Right : BlockSide::Left;
  if (left) return above ? BlockSide::DownRight : BlockSide::UpRight;
  return above ? BlockSide::DownLeft : BlockSide::UpLeft;
}

struct Slide {
  double dx, dy;
};

// The slide along a wall, by the side of the wall and the heading a.
Slide slideFor(BlockSide side, bool forward, int a, double s) {
  switch (side) {
    case BlockSide::Up:
      if (forward) {
        if (a <= 89) return {s, 0};
        if (a >= 91 && a <= 179) return {-s, 0};
      } else {
        if (a <= 269) return {s, 0};
        if (a >= 271 && a <= 359) return {-s, 0};
      }
      break;
    case BlockSide::Down:
      if (forward) {
        if (a <= 269) return {-s, 0};
        if (a >= 271 && a <= 359) return {s, 0};
      } else {
        if (a < 90) return {-s, 0};
        if (a >= 91 && a <= 179) return {s, 0};
      }
      break;
    case BlockSide::Left:
      if (forward) {
        if (a < 180) return {0, -s};
        if (a >= 181 && a <= 269) return {0, s};
      } else {
        if (a < 90) return {0, s};
        if (a >= 271 && a <= 359) return {0, -s};
      }
      break;
    case BlockSide::Right:
      if (forward) {
        if (a < 90) return {0, -s};
        if (a >= 271) return {0, s};
      } else {
        if (a < 180) return {0, s};
        if (a > 180) return {0, -s};
      }
      break;
    case BlockSide::UpRight:
      return {-s, s};
    case BlockSide::UpLeft:
      return {s, s};
    case BlockSide::DownLeft:
      return forward ? Slide{0, -s} : Slide{s, -s};
    case BlockSide::DownRight:
      return forward ? Slide{0, -s} : Slide{-s, -s};
    case BlockSide::None:
    case BlockSide::In:
      break;
  }
  return {0, 0};
}

}  // namespace

const char* nameOf(WalkStep step) { return step == WalkStep::Forward ? "up" : "down"; }

void walkStep(Person& person, WalkStep step) {
  const bool forward = step == WalkStep::Forward;
  changeSpeedWithin(person, 0.5);
  double degrees = forward ? person.heading : person.heading - 180.0;
  double radians = degrees * PI / 180;
  person.nextX = person.x + person.walkSpeed * std::cos(radians);
  person.nextY = person.y - person.walkSpeed * std::sin(radians);
  if (person.nextX == person.x && person.nextY == person.y) return;

  int a = person.heading;
  bool ahead = forward ? (180 <= a && a <= 360) : (1 <= a && a <= 180);
  person.walkFrame += ahead ? 1 : -1;
  if (person.walkFrame > 7) person.walkFrame = 0;
  if (person.walkFrame < 0) person.walkFrame = 7;
}

namespace {

// The house test over some of the houses, in list order.
template <class Houses>
void nearestHouseAmong(const World& world, Person& person, const Houses& houses) {
  const double nx = person.nextX, ny = person.nextY;
  const double reach = halfDiagonal(person);
  OutlineMemo* memo = &scratchOf(world).outlines;
  person.houseClearance = NO_CONTACT;
  for (int i : houses) {
    const House* house = world.houses[i];
    Rect rect = rectOf(*house);
    if (!hasArea(rect)) continue;
    if (rect.x <= nx && nx <= rect.x + rect.w && rect.y <= ny && ny <= rect.y + rect.h) {
      person.houseClearance = 0;
      person.blockingHouse = house;
      person.blockSide = BlockSide::In;
      continue;
    }
    // No sample of the outline lies farther than the half-diagonal from the centre, so a
    // house that cannot beat the nearest one so far is not measured (the margin absorbs
    // rounding); the outcome is the same as measuring every house.
    if (pointRectDistance(nx, ny, rect) - reach - 1e-6 > person.houseClearance) continue;
    double clearance = nextBoxRectClearance(person, rect, memo);
    if (clearance < person.houseClearance) {
      person.houseClearance = clearance;
      person.blockingHouse = house;
      person.blockSide = sideOfHouse(nx, ny, rect);
    }
  }
}

// Every index of a list, without storing them.
struct AllIndices {
  int count;
  struct Iterator {
    int i;
    int operator*() const { return i; }
    Iterator& operator++() {
      ++i;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return i != other.i; }
  };
  Iterator begin() const { return {0}; }
  Iterator end() const { return {count}; }
};

// Radii of the rings searched through an open house grid, in pixels beyond the half-diagonal.
constexpr double FIRST_HOUSE_RING = 64.0;
constexpr double LAST_HOUSE_RING = 4.0 * WORLD_SIZE;

}  // namespace

// The nearest house decides, wherever it lies. Through an open house grid the search widens
// ring by ring: once the nearest house among the candidates is no farther than the ring, a
// house left out (farther than the ring, since the clearance never falls short of the
// distance to the rectangle less the half-diagonal) could not have been nearer, nor equally
// near, so the outcome is that of measuring every house.
void houseTest(const World& world, Person& person) {
  if (PassGrid::of(world, PassGrid::Kind::Houses)) {
    std::vector<int>& candidates = scratchOf(world).houseTest;
    const House* const blockingBefore = person.blockingHouse;
    const BlockSide sideBefore = person.blockSide;
    const double reach = halfDiagonal(person);
    for (double ring = FIRST_HOUSE_RING; ring <= LAST_HOUSE_RING; ring *= 2) {
      nearestHouseAmong(world, person,
                        housesNear(world, person.nextX, person.nextY, reach + ring, candidates));
      if (person.houseClearance <= ring) return;
      person.blockingHouse = blockingBefore;
      person.blockSide = sideBefore;
    }
  }
  nearestHouseAmong(world, person, AllIndices{world.houses.count()});
}

void slideStep(Person& person, WalkStep step) {
  changeSpeedWithin(person, -1.0);
  const Slide slide =
      slideFor(person.blockSide, step == WalkStep::Forward, person.heading, person.walkSpeed);
  person.nextX = person.x + slide.dx;
  person.nextY = person.y + slide.dy;
}

void moveWithCarContact(World& world, Person& person) {
  double clearance = NO_CONTACT;
  const double reach = halfDiagonal(person);
  SimScratch& scratch = scratchOf(world);
  OutlineMemo* memo = &scratch.outlines;
  std::vector<int>& cars = scratch.carContact;
  carsNear(world, person.nextX, person.nextY, reach, cars);
  for (int i : cars) {
    const Car* car = world.cars[i];
    if (pointDistance(person.nextX, person.nextY, car->x, car->y) >= reach + car->halfDiagonal)
      continue;
    double contact = nextBoxBoxClearance(person, *car, memo);
    if (contact < clearance) clearance = contact;
    if (contact < BLOCK_DISTANCE) person.damage += std::fabs(car->speed);
  }
  if (clearance > BLOCK_DISTANCE) commitMove(person);
}

void playerMove(World& world) {
  if (world.player) moveWithCarContact(world, *world.player);
}

void playerFootStep(World& world, bool forwardHeld, bool backwardHeld) {
  if (!world.player) return;
  Person& player = *world.player;
  houseTest(world, player);
  if (player.houseClearance > BLOCK_DISTANCE || player.blockSide == BlockSide::In) {
    playerMove(world);
    return;
  }
  if (forwardHeld)
    slideStep(player, WalkStep::Forward);
  else if (backwardHeld)
    slideStep(player, WalkStep::Backward);
  else
    return;
  if (hitsHouse(world, player) || player.heading % 90 == 0) return;
  playerMove(world);
}

void changeWalkSpeed(Person& person, double delta) { changeSpeedWithin(person, delta); }
