// Pedestrians strolling the sidewalks, drivers steering along the roads and taking cars back.
#include "sim/traffic.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "world/world.h"
#include "sim/collision.h"
#include "sim/on_foot.h"
#include "sim/scratch.h"
#include "sim/spatial_grid.h"
#include "sim/vehicles.h"
#include "world/saturate.h"

namespace {

// Distance below which a pedestrian (and a bad guy) has reached waypoint A, and a pedestrian B.
constexpr double WAYPOINT_REACH = 10.0;
constexpr int32_t UNSET = -1;
// With another connection to take, the redraw is cut off here and the first other one taken,
// so even a broken random stream cannot hang a walker.
constexpr int MAX_REDRAWS_WITH_CHOICE = 1000;

double distanceTo(const Body& body, int32_t px, int32_t py) {
  return pointDistance(body.x, body.y, px, py);
}

void clearA(Person& p) { p.waypointAX = p.waypointAY = UNSET; }
void clearB(Person& p) { p.waypointBX = p.waypointBY = UNSET; }

// The segment just entered; a walker that lost it keeps to its current one.
const Segment& enteredSegment(const Person& p) {
  return p.nextSegment ? *p.nextSegment : *p.segment;
}

// Waypoint A on a freshly attached segment: along a strip it starts `inset` from the
// segment's first end, on a square at its centre.
void firstWaypoint(Person& p, const Segment& s, double inset) {
  double ax, ay;
  const SegmentKind kind = segmentKind(s);
  if (kind == SegmentKind::Vertical) {
    ax = s.x + s.w / 2;
    ay = s.y + inset;
  } else if (kind == SegmentKind::Horizontal) {
    ax = s.x + inset;
    ay = s.y + s.h / 2;
  } else {
    ax = s.x + s.w / 2;
    ay = s.y + s.h / 2;
  }
  p.waypointAX = truncateToInt(ax);
  p.waypointAY = truncateToInt(ay);
}

// Steps forward, committed only when neither a house nor a car is in the way.
void stepUnlessBlocked(World& world, Person& p) {
  walkStep(p, WalkStep::Forward);
  if (!carBlocks(world, p) && !hitsHouse(world, p)) commitMove(p);
}

// Panic: a jittering run forward.
void panicStep(World& world, Person& p, bool mindCars) {
  p.savedHeading = p.heading;
  randomTurn(world.random, p);
  walkStep(p, WalkStep::Forward);
  if (hitsHouse(world, p)) return;
  if (mindCars && carBlocks(world, p)) return;
  commitMove(p);
}

double screenDiagonal(const World& world) {
  const double w = world.view.w, h = world.view.h;
  return std::sqrt(w * w + h * h);
}

// The car a driver sits in, or nullptr when it is on foot.
Car* drivenCar(Person& d) { return (d.inCar && d.targetCar) ? d.targetCar : nullptr; }

void aimCar(Car& car, int32_t px, int32_t py) { facePoint(car, px, py); }

// A fresh point to aim at: the car has come no nearer to it yet.
void newAim(Person& d) {
  d.closestToAim = NO_CONTACT;
  d.framesWithoutHeadway = 0;
}

// B for a car leaving `current` for `next`, aimed at; `next` becomes the driver's segment.
void headFor(Person& d, Car& car, const Segment& current, const Segment& next) {
  const double r = car.halfDiagonal;
  int32_t bx = truncateToInt(car.x), by = truncateToInt(car.y);
  switch (segmentRelation(current, next)) {
    case SegmentRelation::Left: bx = truncateToInt(next.x + next.w - r); break;
    case SegmentRelation::Right: bx = truncateToInt(next.x + r); break;
    case SegmentRelation::Up: by = truncateToInt(next.y - r); break;
    case SegmentRelation::Down: by = truncateToInt(next.y + r); break;
    case SegmentRelation::None: break;
  }
  d.waypointBX = bx;
  d.waypointBY = by;
  aimCar(car, bx, by);
  d.previousSegment = &current;
  d.segment = &next;
  d.nextSegment = &next;
  clearA(d);
  newAim(d);
}

// Two cars meeting head-on on one road push each other back and forth for good, and a car can
// be wedged against a parked car or a house, or circle its turn point. Headway is coming
// PROGRESS nearer to the point aimed at than the car has been; without it for STALL_FRAMES
// the car counts as stalled.
constexpr int32_t STALL_FRAMES = 50;  // a second
constexpr double PROGRESS = 10;
// A driver that turned back waits up to this much longer before turning again, so that cars
// stuck together do not all turn at the same moment, for ever.
constexpr int STALL_SPREAD = 25;

bool stalled(Person& d, const Car& car) {
  const double distance = d.waypointBY != UNSET ? distanceTo(car, d.waypointBX, d.waypointBY)
                                                : distanceTo(car, d.waypointAX, d.waypointAY);
  if (distance < d.closestToAim - PROGRESS) {
    d.closestToAim = distance;
    d.framesWithoutHeadway = 0;
    return false;
  }
  return ++d.framesWithoutHeadway >= STALL_FRAMES;
}

// A stalled driver turns away: from the road under the car it takes another connection than
// the one ahead of the car, as if it had come from there (on a street, that is back the way
// it came; at a crossing, any other way).
void turnBack(World& world, Person& d, Car& car) {
  d.framesWithoutHeadway = 0;
  const Segment* on = d.segment;
  for (const auto& road : world.roads)
    if (road->x <= car.x && car.x <= road->x + road->w && road->y <= car.y &&
        car.y <= road->y + road->h) {
      on = road.get();
      break;
    }
  if (!on) return;
  const double radians = car.heading * PI / 180;
  const double fx = std::cos(radians), fy = -std::sin(radians);
  const Segment* ahead = nullptr;
  double mostAhead = -NO_CONTACT;
  for (const Segment* n : on->neighbours) {
    const double along = (n->x + n->w / 2 - car.x) * fx + (n->y + n->h / 2 - car.y) * fy;
    if (along > mostAhead) {
      mostAhead = along;
      ahead = n;
    }
  }
  const Segment* next = drawNextSegment(world.random, *on, ahead);
  if (!next) return;
  headFor(d, car, *on, *next);
  d.framesWithoutHeadway = -(world.random.next() % STALL_SPREAD);
}

// A calm driver at the wheel: waypoint steering over the road network, always on the gas.
void driveAlongRoads(World& world, Person& d, Car& car) {
  const double r = car.halfDiagonal;
  if (d.segment && stalled(d, car)) {
    turnBack(world, d, car);
  } else if (d.segment) {
    if (distanceTo(car, d.waypointAX, d.waypointAY) < r) {
      const Segment& current = *d.segment;
      // A dead end's one connection is the way back out.
      const Segment* next = drawNextSegment(world.random, current, d.previousSegment);
      if (next) headFor(d, car, current, *next);
    } else if (distanceTo(car, d.waypointBX, d.waypointBY) < r) {
      const Segment& next = enteredSegment(d);
      d.waypointAX = truncateToInt(next.x + r);
      d.waypointAY = truncateToInt(next.y + r);
      clearB(d);
      newAim(d);
      aimCar(car, d.waypointAX, d.waypointAY);
    } else if (d.waypointBY != UNSET) {
      aimCar(car, d.waypointBX, d.waypointBY);
    } else {
      aimCar(car, d.waypointAX, d.waypointAY);
    }
  } else if (!world.roads.empty()) {
    attachToNearestRoad(world, d);
    d.previousSegment = d.segment;
    if (d.segment) {
      firstWaypoint(d, *d.segment, 10.0);
      newAim(d);
      aimCar(car, d.waypointAX, d.waypointAY);
    }
  } else {
    // No roads: the driver's own body turns and is committed; the car just rolls on.
    randomTurn(world.random, d);
    houseTest(world, d);
    if (d.houseClearance <= d.w / 2)
      slideStep(d, WalkStep::Forward);
    else
      commitMove(d);
  }
  driveCommand(car, DriveCommand::Gas);
}

}  // namespace

const char* nameOf(SegmentKind kind) {
  switch (kind) {
    case SegmentKind::Horizontal: return "horizontal";
    case SegmentKind::Vertical: return "vertical";
    case SegmentKind::Square: return "square";
  }
  return "square";
}

SegmentKind segmentKind(const Segment& s) {
  if (s.h < s.w) return SegmentKind::Horizontal;
  if (s.w < s.h) return SegmentKind::Vertical;
  return SegmentKind::Square;
}

const char* nameOf(SegmentRelation relation) {
  switch (relation) {
    case SegmentRelation::Left: return "left";
    case SegmentRelation::Right: return "right";
    case SegmentRelation::Up: return "up";
    case SegmentRelation::Down: return "down";
    case SegmentRelation::None: return "none";
  }
  return "none";
}

SegmentRelation segmentRelation(const Segment& a, const Segment& b) {
  using R = SegmentRelation;
  if (b.x + b.w <= a.x) {  // b wholly left of a
    if (a.y == b.y || (b.y < a.y && a.y <= b.y + b.h)) return R::Left;
    if (a.y < b.y && b.y <= a.y + a.h) return R::Down;
    return R::None;
  }
  if (b.y + b.h <= a.y) {  // b wholly above a
    if (b.x <= a.x && a.x + a.w <= b.x + b.w) return R::Up;
    if (a.x <= b.x) return R::Right;
    return R::None;
  }
  if (a.x + a.w <= b.x) {  // b wholly right of a
    if (a.y >= b.y || a.y + a.h > b.y + b.h) return R::Right;
    return R::Down;
  }
  if (a.y + a.h <= b.y) {  // b wholly below a
    if (a.x == b.x || (a.x > b.x && a.x + a.w < b.x + b.w)) return R::Down;
    if (a.x < b.x) return R::Right;
    return R::None;
  }
  return R::None;  // overlapping
}

// The smallest clearance is below the block distance exactly when one of them is.
bool carBlocks(const World& world, const Person& person) {
  const double reach = halfDiagonal(person);
  SimScratch& scratch = scratchOf(world);
  std::vector<int>& cars = scratch.blockingCars;
  carsNear(world, person.nextX, person.nextY, reach, cars, /*inOrder=*/false);
  for (int i : cars) {
    const Car* car = world.cars[i];
    if (pointDistance(car->x, car->y, person.nextX, person.nextY) < reach + car->halfDiagonal &&
        nextBoxBoxCloserThan(person, *car, BLOCK_DISTANCE, &scratch.outlines))
      return true;
  }
  return false;
}

void randomTurn(RandomStream& random, Body& body) {
  body.heading = turnHeading(body.heading, random.next() % 2 == 0 ? 20 : -20);
}

void wanderTurn(RandomStream& random, Body& body) {
  body.heading = turnHeading(body.heading, random.next() % 2 == 1 ? 20 : -20);
}

const Segment* drawNextSegment(RandomStream& random, const Segment& current,
                               const Segment* previous) {
  const auto& links = current.neighbours;
  if (links.empty()) return nullptr;
  const Segment* other = nullptr;  // a connection that leads somewhere new, if there is one
  for (const Segment* s : links)
    if (s != previous) {
      other = s;
      break;
    }
  const int limit = other ? MAX_REDRAWS_WITH_CHOICE : MAX_SEGMENT_DRAWS;
  const int count = static_cast<int>(links.size());
  const Segment* next = links[random.next() % count];
  for (int draws = 1; next == previous && draws < limit; ++draws) next = links[random.next() % count];
  if (next == previous && other) next = other;
  return next;
}

void attachToNearestSidewalk(World& world, Person& person) {
  Sidewalk* best = nullptr;
  double bestDistance = NO_CONTACT;
  for (auto& s : world.sidewalks) {
    if (s->x <= person.x && person.x <= s->x + s->w && s->y <= person.y &&
        person.y <= s->y + s->h) {
      best = s.get();
      break;
    }
    const double d = pointRectDistance(person.x, person.y, rectOf(*s));
    if (d < bestDistance) {
      bestDistance = d;
      best = s.get();
    }
  }
  if (best) person.segment = best;
}

void attachToNearestRoad(World& world, Person& driver) {
  const Body& from = driver.targetCar && driver.inCar ? static_cast<const Body&>(*driver.targetCar)
                                                      : static_cast<const Body&>(driver);
  Road* best = nullptr;
  double bestClearance = NO_CONTACT;
  for (auto& road : world.roads) {
    const double cx = road->x + road->w / 2, cy = road->y + road->h / 2;
    if (pointDistance(cx, cy, from.x, from.y) < bestClearance) {
      const double c = boxRectClearance(driver, rectOf(*road), &scratchOf(world).outlines);
      if (c < bestClearance) {
        bestClearance = c;
        best = road.get();
      }
    }
  }
  if (best) driver.segment = best;
}

void calmWalk(World& world, Person& p, const NetworkWalk& walk) {
  const double r = halfDiagonal(p);
  if (p.segment) {
    if (distanceTo(p, p.waypointAX, p.waypointAY) < WAYPOINT_REACH) {
      const Segment& current = *p.segment;
      const Segment* next = drawNextSegment(world.random, current, p.previousSegment);
      if (!next) return;  // an isolated segment: wait at A
      // Walkers take left like right and up like down.
      int32_t bx = truncateToInt(p.x), by = truncateToInt(p.y);
      switch (segmentRelation(current, *next)) {
        case SegmentRelation::Left:
        case SegmentRelation::Right: bx = truncateToInt(next->x + r + walk.turnExtra); break;
        case SegmentRelation::Up:
        case SegmentRelation::Down: by = truncateToInt(next->y + r + walk.turnExtra); break;
        case SegmentRelation::None: break;
      }
      p.waypointBX = bx;
      p.waypointBY = by;
      facePoint(p, bx, by);
      p.previousSegment = p.segment;
      p.segment = next;
      p.nextSegment = next;
      clearA(p);
      return;
    }
    const double reachB = walk.reachBWithinR ? r : WAYPOINT_REACH;
    if (distanceTo(p, p.waypointBX, p.waypointBY) < reachB) {
      const Segment& next = enteredSegment(p);
      p.waypointAX = truncateToInt(next.x + r + walk.cornerExtra);
      p.waypointAY = truncateToInt(next.y + r + walk.cornerExtra);
      clearB(p);
      facePoint(p, p.waypointAX, p.waypointAY);
      return;
    }
    stepUnlessBlocked(world, p);
    return;
  }
  if (!world.sidewalks.empty()) {
    attachToNearestSidewalk(world, p);
    p.previousSegment = p.segment;
    if (p.segment) {
      firstWaypoint(p, *p.segment, r);
      facePoint(p, p.waypointAX, p.waypointAY);
    }
    return;
  }
  wanderTurn(world.random, p);
  walkStep(p, WalkStep::Forward);
  houseTest(world, p);
  if (p.houseClearance > BLOCK_DISTANCE && !carBlocks(world, p))
    commitMove(p);
  else
    slideStep(p, WalkStep::Forward);
}

void updatePedestrians(World& world) {
  const HouseGridScope houses(world);  // no house or car moves while people walk
  const CarGridScope cars(world);
  for (int i = 0; i < world.pedestrians.count(); ++i) {
    Person& p = *world.pedestrians[i];
    if (isDead(p) || p.inCar) continue;
    if (!anyCornerInView(p, world.view)) p.scared = false;
    if (p.scared)
      panicStep(world, p, true);
    else
      calmWalk(world, p, PEDESTRIAN_WALK);
  }
}

void updateDrivers(World& world) {
  const HouseGridScope houses(world);  // no house or car moves while people walk
  const CarGridScope cars(world);
  for (int i = 0; i < world.drivers.count(); ++i) {
    Person& d = *world.drivers[i];
    if (d.scared) {
      // A driver whose attacker is gone has nobody left to flee from.
      if (!d.attacker ||
          pointDistance(d.attacker->x, d.attacker->y, d.x, d.y) > screenDiagonal(world)) {
        d.attacker = nullptr;
        d.scared = false;
      }
      panicStep(world, d, false);
      continue;
    }
    if (Car* car = drivenCar(d)) {
      driveAlongRoads(world, d, *car);
      continue;
    }
    // On foot. A target car that was removed leaves targetCar empty: pick again.
    if (!d.walkingToCar || !d.targetCar) {
      pickTargetCar(world, d);
      d.walkingToCar = true;
      continue;
    }
    walkToCar(world, d);
    if (d.inCar) newAim(d);  // at the wheel, with nothing aimed at yet
  }
}
