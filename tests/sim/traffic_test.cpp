// Pedestrians and drivers on their networks: segment relations, the choice of the next
// segment, turn points, panic, and drivers taking cars.
#include "sim/traffic.h"

#include <cmath>
#include <string>

#include "sim/collision.h"
#include "sim/vehicles.h"
#include "sim_world.h"
#include "world/lifetime.h"
#include "world/map_files.h"

namespace {

Segment seg(double x, double y, double w, double h) { return *makeRect<Segment>(x, y, w, h); }

struct TrafficWorld : SimWorld {
  Road* addRoad(const Segment& s) {
    Road* road = world.roads.append(std::make_unique<Road>());
    static_cast<Segment&>(*road) = s;
    return road;
  }
  Person& walker(RecordList<Person>& list, double x, double y) {
    return *list.append(PersonSpec{}.at(x, y).money(10).make());
  }
  // The game's own car and a 29 x 18 driver at its wheel.
  Person& driverIn(double x, double y, int heading) {
    Car& car = *world.cars.append(CarSpec{}.at(x, y).heading(heading).acceleration(0.5).make());
    return seat(car, walker(world.drivers, 0, 0));
  }
  // A pedestrian standing on waypoint A of `on`, having come from `from`.
  Person& atA(Segment& on, Segment* from, double x, double y) {
    Person& p = walker(world.pedestrians, x, y);
    p.segment = &on;
    p.previousSegment = from;
    p.waypointAX = static_cast<int32_t>(x);
    p.waypointAY = static_cast<int32_t>(y);
    return p;
  }
};

TEST(SegmentRelation, EveryBranchInItsOrder) {
  const Segment a = seg(100, 100, 100, 50);
  auto to = [&a](const Segment& b) { return std::string(nameOf(segmentRelation(a, b))); };
  // b wholly left of a
  EXPECT_EQ(to(seg(0, 100, 100, 10)), "left");   // same top
  EXPECT_EQ(to(seg(0, 60, 100, 40)), "left");    // a's top inside b, at its edge
  EXPECT_EQ(to(seg(0, 150, 100, 40)), "down");   // b's top inside a's span
  EXPECT_EQ(to(seg(0, 151, 100, 40)), "none");
  EXPECT_EQ(to(seg(0, 0, 100, 40)), "none");     // above-left, not spanning
  // b wholly above a
  EXPECT_EQ(to(seg(100, 0, 100, 100)), "up");    // spans a across
  EXPECT_EQ(to(seg(100, 0, 50, 100)), "right");  // narrower, same left edge
  EXPECT_EQ(to(seg(150, 0, 20, 100)), "right");  // starts right of a's left
  EXPECT_EQ(to(seg(90, 0, 50, 100)), "none");    // starts left, ends inside
  // b wholly right of a
  EXPECT_EQ(to(seg(200, 90, 50, 50)), "right");  // a.y >= b.y
  EXPECT_EQ(to(seg(200, 100, 50, 60)), "right");  // same top
  EXPECT_EQ(to(seg(200, 110, 50, 20)), "right");  // a reaches below b
  EXPECT_EQ(to(seg(200, 110, 50, 60)), "down");
  // b wholly below a
  EXPECT_EQ(to(seg(100, 150, 10, 50)), "down");  // same left edge
  EXPECT_EQ(to(seg(90, 150, 120, 50)), "down");  // spans a with room
  EXPECT_EQ(to(seg(90, 150, 110, 50)), "none");  // flush right edge
  EXPECT_EQ(to(seg(150, 150, 10, 50)), "right");
  // overlapping
  EXPECT_EQ(to(seg(150, 120, 100, 100)), "none");
  EXPECT_EQ(to(a), "none");

  EXPECT_STREQ(nameOf(segmentKind(seg(0, 0, 100, 40))), "horizontal");
  EXPECT_STREQ(nameOf(segmentKind(seg(0, 0, 40, 100))), "vertical");
  EXPECT_STREQ(nameOf(segmentKind(seg(0, 0, 40, 40))), "square");
}

TEST_F(TrafficWorld, PedestrianTurnsDownAndWaitsAtAnIsolatedStrip) {
  Sidewalk& top = add(world.sidewalks, 100, 100, 200, 40);
  Sidewalk& side = add(world.sidewalks, 100, 140, 40, 200);
  Sidewalk& alone = add(world.sidewalks, 1000, 1000, 100, 40);
  linkNetworks(world);
  Person& p = atA(top, nullptr, 119, 119);
  p.nextSegment = &top;  // the strip it entered last
  const double r = halfDiagonal(p);
  updatePedestrians(world);
  EXPECT_EQ(p.segment, &side);
  EXPECT_EQ(p.waypointBX, 119);
  EXPECT_EQ(p.waypointBY, static_cast<int>(140 + r + 10));
  EXPECT_EQ(p.heading, 270);
  // At B, A lies in from the corner of the strip it turned into.
  p.x = p.waypointBX;
  p.y = p.waypointBY;
  updatePedestrians(world);
  EXPECT_EQ(p.waypointAX, static_cast<int>(100 + r + 2));
  EXPECT_EQ(p.waypointAY, static_cast<int>(140 + r + 2));

  Person& q = atA(alone, nullptr, 1019, 1019);
  const int heading = q.heading;
  updatePedestrians(world);
  EXPECT_EQ(q.segment, &alone);
  EXPECT_EQ(q.waypointAX, 1019);
  EXPECT_EQ(q.heading, heading);
  EXPECT_DOUBLE_EQ(q.x, 1019);
}

TEST_F(TrafficWorld, DriverTurnPointsForEachRelation) {
  struct Case {
    Segment current, next;
    double carX, carY;
    SegmentRelation relation;
    double bx, by;  // expected B, before truncation
    int heading;    // the car turns to B at once
  };
  const double r = std::sqrt(34.5 * 34.5 + 47 * 47);  // the game's own car, 69 x 94
  using R = SegmentRelation;
  const Case cases[] = {
      {seg(400, 100, 300, 100), seg(100, 100, 300, 100), 460, 160, R::Left, 400 - r, 160, 180},
      {seg(100, 100, 300, 100), seg(400, 96, 108, 108), 160, 160, R::Right, 400 + r, 160, 0},
      {seg(100, 400, 100, 300), seg(100, 100, 100, 300), 160, 460, R::Up, 160, 100 - r, 90},
      {seg(100, 100, 100, 300), seg(100, 400, 100, 300), 160, 160, R::Down, 160, 400 + r, 270},
  };
  for (const Case& k : cases) {
    clearWorld(world);
    Road* ra = addRoad(k.current);
    Road* rb = addRoad(k.next);
    ra->neighbours = {rb, rb};  // two connections, both the next one
    Person& d = driverIn(k.carX, k.carY, 0);
    Car& c = *d.targetCar;
    d.segment = ra;
    d.waypointAX = static_cast<int>(k.carX);
    d.waypointAY = static_cast<int>(k.carY);
    ASSERT_EQ(segmentRelation(*ra, *rb), k.relation);
    updateDrivers(world);
    const char* what = nameOf(k.relation);
    EXPECT_EQ(d.segment, rb) << what;
    EXPECT_EQ(d.previousSegment, ra) << what;
    EXPECT_EQ(d.waypointBX, static_cast<int>(k.bx)) << what;
    EXPECT_EQ(d.waypointBY, static_cast<int>(k.by)) << what;
    EXPECT_EQ(c.heading, k.heading) << what;
    // Within r of B, A becomes the next road's corner r inside.
    c.x = d.waypointBX + 30;
    c.y = d.waypointBY;
    updateDrivers(world);
    EXPECT_EQ(d.waypointAX, static_cast<int>(k.next.x + r)) << what;
    EXPECT_EQ(d.waypointAY, static_cast<int>(k.next.y + r)) << what;
    EXPECT_EQ(d.waypointBY, -1);
  }
}

// A car that has come no nearer to its aim for fifty frames (a second) turns back.
TEST_F(TrafficWorld, ADriverWithoutHeadwayForASecondTurnsBack) {
  Road* road = addRoad(seg(100, 100, 1000, 100));
  Road* ahead = addRoad(seg(1100, 100, 300, 100));
  Road* behind = addRoad(seg(0, 100, 100, 100));
  road->neighbours = {ahead, behind};
  Person& d = driverIn(600, 150, 0);
  d.segment = road;
  d.waypointAX = 1000;
  d.waypointAY = 150;
  d.closestToAim = 0;  // wedged: it has been nearer than it will come
  int frames = 0;
  while (d.segment == road && frames < 100) {
    updateDrivers(world);
    ++frames;
  }
  EXPECT_EQ(frames, 50);
  EXPECT_EQ(d.segment, behind);
  EXPECT_EQ(d.targetCar->heading, 180);
}

// A scared walker runs, jittering, and never into the house beside it.
TEST_F(TrafficWorld, APanickingWalkerRunsButNeverIntoAHouse) {
  Person& p = addPedestrian(400, 300);
  p.scared = true;
  add(world.houses, 420, 250, 100, 100);
  for (int frame = 0; frame < 200; ++frame) {
    updatePedestrians(world);
    const bool inside = p.x + 10 > 420 && p.x - 10 < 520 && p.y + 10 > 250 && p.y - 10 < 350;
    ASSERT_FALSE(inside) << "frame " << frame << " at " << p.x << ", " << p.y;
  }
  EXPECT_GT(pointDistance(p.x, p.y, 400, 300), 20);
}

TEST_F(TrafficWorld, TakingACarFromAnotherDriverPutsHimOutScared) {
  Person& sitting = driverIn(500, 300, 0);
  Car& c = *sitting.targetCar;
  Person& taker = walker(world.drivers, 500 + 47 + 10, 300);
  taker.targetCar = &c;
  taker.walkingToCar = true;
  taker.heading = 180;
  for (int i = 0; i < 20 && !taker.inCar; ++i) {
    // Only the taker acts: the sitting driver would drive off.
    c.speed = 0;
    c.x = 500, c.y = 300;
    updateDrivers(world);
  }
  ASSERT_TRUE(taker.inCar);
  EXPECT_EQ(c.driver, 1);
  EXPECT_FALSE(sitting.inCar);
  EXPECT_TRUE(sitting.scared);
  EXPECT_EQ(sitting.attacker, &taker);
  EXPECT_EQ(sitting.targetCar, nullptr);
  EXPECT_GT(sitting.heading, 135);  // the taker came from the east: he flees west
  EXPECT_LT(sitting.heading, 225);
}

// A driver beside a parked car's side, where aiming at the rectangle that the car's centre and
// size would span sends him back and forth for good, walks to the car's centre and boards.
TEST_F(TrafficWorld, ADriverOnFootWalksToTheCarsCentreAndBoards) {
  Car& c = *world.cars.append(CarSpec{}.at(500, 300).make());
  Person& d = walker(world.drivers, 540, 355);  // 6 pixels below the car, facing along it
  d.targetCar = &c;
  d.walkingToCar = true;
  for (int i = 0; i < 100 && !d.inCar; ++i) updateDrivers(world);
  EXPECT_TRUE(d.inCar);
  EXPECT_EQ(c.driver, 0);
}

// Without roads a driver only turns in his seat; the houses around him are measured afresh.
TEST_F(TrafficWorld, WithoutRoadsADriverMeasuresTheHousesAroundHim) {
  Person& d = driverIn(500, 300, 0);
  add(world.houses, 515, 250, 100, 100);
  d.houseClearance = NO_CONTACT;
  updateDrivers(world);
  EXPECT_LT(d.houseClearance, 10);
}

}  // namespace
