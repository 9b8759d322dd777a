// Cars: driving commands, friction, the car step with its bounce, running people over,
// boarding and leaving, and the removal of wrecked cars.
#include "sim/vehicles.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "world/world.h"
#include "sim/collision.h"
#include "sim/on_foot.h"
#include "sim/scratch.h"
#include "sim/spatial_grid.h"
#include "sim/traffic.h"
#include "world/lifetime.h"

namespace {

// The driver a car names, or nullptr when the index names no one in the list.
Person* driverOf(const World& world, const Car& car) {
  if (car.driver < 0 || car.driver >= world.drivers.count()) return nullptr;
  return world.drivers[car.driver];
}

// Two cars already in contact (a turn can swing one into the other) may still move apart;
// were every move refused, they would hold each other for good.
bool movingApart(const Car& car, const Car& other, SimScratch& scratch, PairMemo* pairs) {
  return pointDistance(car.nextX, car.nextY, other.x, other.y) >
             pointDistance(car.x, car.y, other.x, other.y) &&
         boxBoxCloserThan(car, other, BLOCK_DISTANCE, &scratch.outlines, pairs);
}

// The cars' contact answers are remembered, except under the plain rules, which the tests
// compare the remembering with.
PairMemo* carPairs(const World& world) {
  return gridUse(world) == GridUse::Never ? nullptr : &scratchOf(world).carPairs;
}

// Everything but the tentative centre that decides whether a blocker, once near enough,
// refuses the car's step: the car's own numbers and the blocker's (a house has no heading).
StepBlocker::Numbers refusalNumbers(const Car& car, double x, double y, double w, double h,
                                    double heading) {
  const double values[] = {car.x, car.y, car.w, car.h, static_cast<double>(car.heading),
                           x,     y,     w,     h,     heading};
  return bitsOf<StepBlocker::NUMBERS>(values);
}

// Whether the car's tentative box comes within the block distance of a house near it or of
// another car; `nearCar` is the pre-test that decides whether another car is measured.
//
// Any one house or car within reach settles it, so which is tried first does not change the
// answer: in a jam the same neighbour refuses a car's step frame after frame, and `last` (when
// given) names what refused it last time, tried before anything is looked up, with the steps
// it refused lately.
template <class NearCar>
bool tentativelyBlocked(const World& world, const Car& car, NearCar&& nearCar,
                        StepBlocker* last) {
  SimScratch& scratch = scratchOf(world);
  OutlineMemo* memo = &scratch.outlines;
  PairMemo* pairs = carPairs(world);
  // The pre-tests, cheap enough to ask afresh every time ...
  auto nearHouseAt = [&](int i) {
    const Rect rect = rectOf(*world.houses[i]);
    return hasArea(rect) && nearHouse(rect, car);
  };
  auto nearCarAt = [&](int i) {
    const Car& other = *world.cars[i];
    return &other != &car && nearCar(other);
  };
  // ... and the measures behind them. A car moving away from one it touches is let go
  // whatever its tentative box touches, so that is asked first: when it holds, the tentative
  // box is not measured.
  auto touches = [&](int i, bool isHouse) {
    if (isHouse) return nextBoxRectCloserThan(car, rectOf(*world.houses[i]), BLOCK_DISTANCE, memo);
    const Car& other = *world.cars[i];
    return !movingApart(car, other, scratch, pairs) &&
           nextBoxBoxCloserThan(car, other, BLOCK_DISTANCE, memo, pairs);
  };
  auto numbersWith = [&](int i, bool isHouse) {
    if (isHouse) {
      const Rect r = rectOf(*world.houses[i]);
      return refusalNumbers(car, r.x, r.y, r.w, r.h, 0);
    }
    const Car& o = *world.cars[i];
    return refusalNumbers(car, o.x, o.y, o.w, o.h, o.heading);
  };
  // The house or car asked here already and found not to refuse, which the search passes over.
  int askedHouse = -1, askedCar = -1;
  if (last && last->index >= 0) {
    const int i = last->index;
    const bool isHouse = last->isHouse;
    const bool same = isHouse ? i < world.houses.count() && world.houses[i] == last->record
                              : i < world.cars.count() && world.cars[i] == last->record;
    if (same && (isHouse ? nearHouseAt(i) : nearCarAt(i))) {
      const StepBlocker::Numbers numbers = numbersWith(i, isHouse);
      if (last->refusedBefore(numbers, car.nextX, car.nextY)) return true;
      if (touches(i, isHouse)) {
        last->noteRefusal(numbers, car.nextX, car.nextY);
        return true;
      }
    }
    if (same) (isHouse ? askedHouse : askedCar) = i;
  }
  // A blocker found by the search below is not the one recorded (that one refuses no more).
  auto blockedBy = [&](const void* record, int i, bool isHouse) {
    if (last) {
      *last = StepBlocker{record, i, isHouse};
      last->noteRefusal(numbersWith(i, isHouse), car.nextX, car.nextY);
    }
    return true;
  };
  for (int i : housesNear(world, car.nextX, car.nextY, halfDiagonal(car), scratch.carHouses))
    if (i != askedHouse && nearHouseAt(i) && touches(i, true))
      return blockedBy(world.houses[i], i, true);
  std::vector<int>& cars = scratch.carCars;
  carsNear(world, car.nextX, car.nextY, std::max(halfDiagonal(car), car.halfDiagonal), cars,
           /*inOrder=*/false);
  for (int i : cars)
    if (i != askedCar && nearCarAt(i) && touches(i, false))
      return blockedBy(world.cars[i], i, false);
  return false;
}

// The car's remembered blockers, except under the plain rules, which the tests compare the
// remembering with.
StepBlocker* blockersOf(World& world, int index) {
  if (gridUse(world) == GridUse::Never) return nullptr;
  auto& blockers = scratchOf(world).carBlockers;
  if (blockers.size() != static_cast<size_t>(world.cars.count()))
    blockers.resize(static_cast<size_t>(world.cars.count()));
  return blockers[static_cast<size_t>(index)].data();
}

void stepCar(World& world, Car& car, StepBlocker* blockers) {
  applyFriction(car);
  double radians = car.heading * PI / 180;
  car.nextX = car.x + car.speed * std::cos(radians);
  car.nextY = car.y - car.speed * std::sin(radians);
  const double reach = halfDiagonal(car);
  const bool blocked = tentativelyBlocked(
      world, car,
      [&](const Car& other) {
        return pointDistance(car.nextX, car.nextY, other.x, other.y) < reach + other.halfDiagonal;
      },
      blockers ? &blockers[0] : nullptr);
  if (!blocked) {
    commitMove(car);
    return;
  }
  // Bounce back one step; if that is blocked too the car stays put, already reversed.
  car.nextX = car.x - car.speed * std::cos(radians);
  car.nextY = car.y + car.speed * std::sin(radians);
  car.speed = -car.speed;
  const bool blockedBack = tentativelyBlocked(
      world, car,
      [&](const Car& other) {
        return pointDistance(car.nextX, car.nextY, other.nextX, other.nextY) <
               car.halfDiagonal + other.halfDiagonal;
      },
      blockers ? &blockers[1] : nullptr);
  if (!blockedBack) commitMove(car);
}

// Whether a point lies in the body's box (edges included), measured along and across its heading.
bool inBox(const Body& body, double px, double py) {
  const double radians = body.heading * PI / 180;
  const double dx = px - body.x, dy = py - body.y;
  const double along = dx * std::cos(radians) - dy * std::sin(radians);
  const double across = dx * std::sin(radians) + dy * std::cos(radians);
  return std::fabs(along) <= body.h / 2 && std::fabs(across) <= body.w / 2;
}

// Puts a person out of a given car at its exit point.
void leaveThisCar(Person& person, Car& car) {
  stepOutOf(person, car);
  commitMove(person);
}

}  // namespace

const char* nameOf(DriveCommand command) {
  switch (command) {
    case DriveCommand::Gas: return "gas";
    case DriveCommand::Brake: return "brake";
    case DriveCommand::Handbrake: return "handbrake";
  }
  return "gas";
}

void driveCommand(Car& car, DriveCommand command) {
  switch (command) {
    case DriveCommand::Gas:
      car.speed += car.acceleration;
      if (car.speed > car.maxSpeed) car.speed = car.maxSpeed;
      break;
    case DriveCommand::Brake:
      // Braking past zero is reversing, at most half the top speed.
      car.speed -= car.acceleration;
      if (car.speed < -0.5 * car.maxSpeed) car.speed = -0.5 * car.maxSpeed;
      break;
    case DriveCommand::Handbrake:
      // The handbrake stops a reversing car at once.
      car.speed -= 5 * car.acceleration;
      if (car.speed < 0) car.speed = 0;
      break;
  }
}

void applyFriction(Car& car) {
  double size = std::fabs(car.speed);
  if (size > 0 && size < 0.05)
    car.speed = 0;
  else if (car.speed > 0)
    car.speed -= 0.05;
  else if (car.speed < 0)
    car.speed += 0.05;
}

void steerCar(Car& car, int degrees) {
  if (car.speed != 0) car.heading = turnHeading(car.heading, degrees);
}

void moveCars(World& world) {
  const HouseGridScope houses(world);  // no house moves while the cars do
  CarGridScope cars(world, /*carsMove=*/true);  // a car that moved is filed again where it went
  for (int i = 0; i < world.cars.count(); ++i) {
    if (world.cars[i]->speed == 0) continue;
    stepCar(world, *world.cars[i], blockersOf(world, i));
    cars.refile(i);
  }
  // Drivers ride along; the player follows its car in the play loop.
  for (const auto& car : world.cars) {
    Person* driver = driverOf(world, *car);
    if (!driver) continue;
    if (0 < car->x && car->x < WORLD_SIZE) driver->x = car->x;
    if (0 < car->y && car->y < WORLD_SIZE) driver->y = car->y;
  }
}

void runOver(World& world) {
  const CarGridScope grid(world);  // the cars stand still now; the first one that hits counts
  SimScratch& scratch = scratchOf(world);
  std::vector<int>& cars = scratch.runOverCars;
  OutlineMemo* memo = &scratch.outlines;
  auto tryCars = [&world, &cars, memo](Person& person) {
    if (isDead(person) || person.inCar) return;
    carsNear(world, person.x, person.y, person.halfDiagonal, cars);
    for (int i : cars) {
      const Car* car = world.cars[i];
      if (pointDistance(car->x, car->y, person.x, person.y) >=
          car->halfDiagonal + person.halfDiagonal)
        continue;
      if (!boxBoxCloserThan(*car, person, BLOCK_DISTANCE, memo)) continue;
      person.damage += 10 * std::fabs(car->speed);
      return;  // one car per person and frame
    }
  };
  for (const auto& person : world.pedestrians) tryCars(*person);
  for (const auto& person : world.drivers) tryCars(*person);
}

void pickTargetCar(World& world, Person& person) {
  // The nearest car by clearance, the first in the list of those equally near. Outlines lie
  // within their half-diagonals of the centres, so the centres' distance less both
  // half-diagonals (less a margin for rounding) is never more than a car's clearance: cars
  // are measured in the order of that bound, and once it exceeds the best clearance found,
  // none of the rest can come nearer. In a city of many cars that measures a few instead of
  // every car a scan in list order would find nearer than the best so far.
  SimScratch& scratch = scratchOf(world);
  std::vector<PickCandidate>& candidates = scratch.pickCandidates;
  candidates.clear();
  const double start = person.carDistance, own = halfDiagonal(person);
  for (int i = 0; i < world.cars.count(); ++i) {
    const Car& car = *world.cars[i];
    const double bound =
        pointDistance(person.x, person.y, car.x, car.y) - own - halfDiagonal(car) - 1e-6;
    if (!(bound > start)) candidates.push_back({bound, i});  // NaN: measured, as it may be near
  }
  // Bounds that are not numbers come first, in list order, then the rest nearest first: a
  // heap, as only the first few are taken.
  auto later = [](const PickCandidate& a, const PickCandidate& b) {
    const bool aNaN = std::isnan(a.bound), bNaN = std::isnan(b.bound);
    if (aNaN != bNaN) return bNaN;
    if (!aNaN && a.bound != b.bound) return a.bound > b.bound;
    return a.index > b.index;
  };
  std::make_heap(candidates.begin(), candidates.end(), later);
  int picked = -1;
  for (auto end = candidates.end(); end != candidates.begin(); --end) {
    std::pop_heap(candidates.begin(), end, later);
    const PickCandidate& c = end[-1];
    if (c.bound > person.carDistance) break;  // and so are the rest's
    Car* car = world.cars[c.index];
    const double clearance = boxBoxClearance(person, *car, &scratch.outlines);
    // A tie goes to the car earlier in the list; a car must come nearer than the distance the
    // person had before to be picked at all (none is picked while `picked` is -1).
    if (clearance < person.carDistance ||
        (clearance == person.carDistance && c.index < picked)) {
      person.carDistance = clearance;
      person.targetCar = car;
      picked = c.index;
    }
  }
  person.walkingToCar = true;
}

void updateCarDistance(Person& person, OutlineMemo* memo) {
  const Car* car = person.targetCar;
  if (!car) return;
  double d = pointDistance(person.nextX, person.nextY, car->x, car->y);
  if (d >= halfDiagonal(person) + car->halfDiagonal) {
    person.carDistance = d;
    return;
  }
  person.carDistance = nextBoxBoxClearance(person, *car, memo);
  // Outlines alone miss a walker wholly inside the car's box (a driver placed at its car's
  // centre), who would walk to the centre for good: a centre in the box has reached the car.
  if (person.carDistance > BLOCK_DISTANCE && inBox(*car, person.nextX, person.nextY))
    person.carDistance = 0;
}

void walkToCar(World& world, Person& person) {
  Car* car = person.targetCar;
  if (!person.walkingToCar || !car) return;
  updateCarDistance(person, &scratchOf(world).outlines);
  if (person.carDistance <= BLOCK_DISTANCE) {
    enterCar(world, person);
    return;
  }
  // The player's steps are refused by the cars it touches, which hurt; a driver's are not.
  const bool isPlayer = &person == world.player.get();
  auto move = [&world, &person, isPlayer] {
    if (isPlayer)
      moveWithCarContact(world, person);
    else
      commitMove(person);
  };
  // Straight at the car's centre. Facing the rectangle that the centre and size would span
  // as a top-left corner (as movers face each other) leaves a strip beside the car's rear and
  // right in which the heading never turns to the car, so the walk there never ends.
  facePoint(person, car->x, car->y);
  walkStep(person, WalkStep::Forward);
  houseTest(world, person);
  if (person.houseClearance > BLOCK_DISTANCE) {
    move();
    return;
  }
  slideStep(person, WalkStep::Forward);
  houseTest(world, person);
  if (person.houseClearance > BLOCK_DISTANCE && person.heading % 90 != 0) move();
}

void putOut(World& world, Car& car, Person& boarder) {
  Person* player = world.player.get();
  if (car.driver == PLAYER_DRIVER) {
    if (player && player != &boarder) leaveCar(*player);
    return;
  }
  Person* driver = driverOf(world, car);
  if (!driver || driver == &boarder) return;
  driver->scared = true;
  driver->attacker = &boarder;
  faceRect(*driver, rectOf(boarder));
  driver->heading = turnHeading(driver->heading, 180);
  leaveThisCar(*driver, car);
}

void enterCar(World& world, Person& person) {
  Car* car = person.targetCar;
  if (!car) return;
  const bool isPlayer = &person == world.player.get();
  const int32_t seat = isPlayer ? PLAYER_DRIVER : world.drivers.indexOf(&person);
  if (seat == NO_DRIVER) return;  // only the player and drivers drive
  putOut(world, *car, person);
  person.inCar = true;
  person.walkingToCar = false;
  car->driver = seat;
  if (isPlayer) person.enteredAt = static_cast<int32_t>(world.clock.now());
}

void stepOutOf(Person& person, Car& car) {
  const ExitPoint exit = exitPoint(car);
  person.nextX = exit.x;
  person.nextY = exit.y;
  person.inCar = false;
  person.carDistance = NO_CONTACT;
  car.driver = NO_DRIVER;
  person.targetCar = nullptr;
  person.walkingToCar = false;
}

void leaveCar(Person& person) {
  if (person.targetCar) {
    leaveThisCar(person, *person.targetCar);
    return;
  }
  // No car to leave from: just stand where the person is.
  person.inCar = false;
  person.carDistance = NO_CONTACT;
  person.walkingToCar = false;
}

ExitPoint exitPoint(const Car& car) {
  int a = car.heading;
  bool rolling = car.speed > -0.1;
  if (a > 360) return {cornerX(car, 3), cornerY(car, 3)};
  if (a >= 180 && rolling) return {cornerX(car, 1) + 20, cornerY(car, 1) + 20};
  int k = rolling ? 1 : 0;
  return {cornerX(car, k) - 20, cornerY(car, k) - 20};
}

void destroyCars(World& world) {
  // A removed car's place is taken by the next one, which waits for the next frame.
  for (int i = 0; i < world.cars.count(); ++i) {
    Car& car = *world.cars[i];
    if (!isDead(car)) continue;
    Person* player = world.player.get();
    if (player && player->inCar && player->targetCar == &car) {
      player->damage += car.damage;
      leaveThisCar(*player, car);
    }
    if (Person* driver = driverOf(world, car)) {
      driver->damage += car.damage;
      leaveThisCar(*driver, car);
    }
    removeCar(world, i);
  }
}
