// Pedestrians and drivers on their networks: segment relations, the choice of the next
// segment, turn points, panic, wandering, drivers taking cars, and removed records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "world/world.h"
#include "sim/collision.h"
#include "sim/traffic.h"
#include "sim/vehicles.h"
#include "world/lifetime.h"
#include "world/map_files.h"

namespace {

Segment seg(double x, double y, double w, double h) {
  Segment s;
  s.x = x;
  s.y = y;
  s.w = w;
  s.h = h;
  return s;
}

struct TrafficWorld : ::testing::Test {
  World world;
  void SetUp() override {
    world.view = {0, 0, 800, 600};
    world.clock.setManual(10000);
    srand(1);
  }
  Sidewalk& sidewalk(double x, double y, double w, double h) {
    auto s = std::make_unique<Sidewalk>();
    s->x = x, s->y = y, s->w = w, s->h = h;
    return *world.sidewalks.append(std::move(s));
  }
  Road& road(double x, double y, double w, double h) {
    auto r = std::make_unique<Road>();
    r->x = x, r->y = y, r->w = w, r->h = h;
    return *world.roads.append(std::move(r));
  }
  House& house(double x, double y, double w, double h) {
    auto b = std::make_unique<House>();
    b->x = x, b->y = y, b->w = w, b->h = h;
    return *world.houses.append(std::move(b));
  }
  Person& walker(RecordList<Person>& list, double x, double y) {
    return *list.append(
        makePerson("w", nullptr, 0, true, false, 100, 0, 0, x, y, 29, 18, {}, 50, 10));
  }
  Person& pedestrian(double x, double y) { return walker(world.pedestrians, x, y); }
  Person& driver(double x, double y) { return walker(world.drivers, x, y); }
  Car& car(double x, double y, int heading = 0) {
    return *world.cars.append(makeMapCar(x, y, 69, 94, 0, 100, heading, 10, 0, 4, 0, 0.5));
  }
  // A pedestrian standing on waypoint A of `on`, having come from `from`.
  Person& atA(Segment& on, Segment* from, double x, double y) {
    Person& p = pedestrian(x, y);
    p.segment = &on;
    p.previousSegment = from;
    p.waypointAX = static_cast<int32_t>(x);
    p.waypointAY = static_cast<int32_t>(y);
    return p;
  }
};

TEST(SegmentRelation, EveryBranchInItsOrder) {
  const Segment a = seg(100, 100, 100, 50);
  // b wholly left of a
  EXPECT_EQ(segmentRelation(a, seg(0, 100, 100, 10)), "left");    // same top
  EXPECT_EQ(segmentRelation(a, seg(0, 60, 100, 40)), "left");     // a's top inside b, at its edge
  EXPECT_EQ(segmentRelation(a, seg(0, 150, 100, 40)), "down");    // b's top inside a's span
  EXPECT_EQ(segmentRelation(a, seg(0, 151, 100, 40)), "none");
  EXPECT_EQ(segmentRelation(a, seg(0, 0, 100, 40)), "none");      // above-left, not spanning
  // b wholly above a
  EXPECT_EQ(segmentRelation(a, seg(100, 0, 100, 100)), "up");     // spans a across
  EXPECT_EQ(segmentRelation(a, seg(150, 0, 20, 100)), "right");   // starts right of a's left
  EXPECT_EQ(segmentRelation(a, seg(90, 0, 50, 100)), "none");     // starts left, ends inside
  // b wholly right of a
  EXPECT_EQ(segmentRelation(a, seg(200, 90, 50, 50)), "right");   // a.y >= b.y
  EXPECT_EQ(segmentRelation(a, seg(200, 110, 50, 20)), "right");  // a reaches below b
  EXPECT_EQ(segmentRelation(a, seg(200, 110, 50, 60)), "down");
  // b wholly below a
  EXPECT_EQ(segmentRelation(a, seg(100, 150, 10, 50)), "down");   // same left edge
  EXPECT_EQ(segmentRelation(a, seg(90, 150, 120, 50)), "down");   // spans a with room
  EXPECT_EQ(segmentRelation(a, seg(90, 150, 110, 50)), "none");   // flush right edge
  EXPECT_EQ(segmentRelation(a, seg(150, 150, 10, 50)), "right");
  // overlapping
  EXPECT_EQ(segmentRelation(a, seg(150, 120, 100, 100)), "none");
  EXPECT_EQ(segmentRelation(a, a), "none");

  EXPECT_EQ(segmentKind(seg(0, 0, 100, 40)), "horizontal");
  EXPECT_EQ(segmentKind(seg(0, 0, 40, 100)), "vertical");
  EXPECT_EQ(segmentKind(seg(0, 0, 40, 40)), "square");
}

TEST(FacePoint, AxesAndQuadrantsAsFacingAPointSizedRectangle) {
  Body b(100, 100, 10, 10, 1, 0, 45);
  facePoint(b, 100, 100);
  EXPECT_EQ(b.heading, 45);  // no direction: unchanged
  facePoint(b, 100, 150);
  EXPECT_EQ(b.heading, 270);
  facePoint(b, 100, 20);
  EXPECT_EQ(b.heading, 90);
  facePoint(b, 130, 100);
  EXPECT_EQ(b.heading, 0);
  facePoint(b, 10, 100);
  EXPECT_EQ(b.heading, 180);
  facePoint(b, 200, 0);
  EXPECT_EQ(b.heading, 45);
  facePoint(b, 0, 200);
  EXPECT_EQ(b.heading, 225);
  // Everywhere around, the same heading as turning toward a rectangle of no size there.
  for (int px = 0; px <= 200; px += 7)
    for (int py = 3; py <= 200; py += 11) {
      Body p(100, 100, 10, 10, 1, 0, 17), r(100, 100, 10, 10, 1, 0, 17);
      facePoint(p, px, py);
      faceRect(r, {static_cast<double>(px), static_cast<double>(py), 0, 0});
      ASSERT_EQ(p.heading, r.heading) << px << "," << py;
    }
}

TEST_F(TrafficWorld, CarBlocksOnlyWhenTheStepWouldTouchACar) {
  Person& p = pedestrian(100, 100);
  p.nextX = 101;
  EXPECT_FALSE(carBlocks(world, p));  // no cars
  Car& c = car(300, 100);
  EXPECT_FALSE(carBlocks(world, p));  // far
  c.x = 100 + 9 + 47 + 0.5;           // heading 0: the car's rear 0.5 px from the tentative front
  EXPECT_TRUE(carBlocks(world, p));
  c.x = 100 + 9 + 47 + 2.5;
  EXPECT_FALSE(carBlocks(world, p));
}

TEST_F(TrafficWorld, NextSegmentChoices) {
  Segment a = seg(0, 0, 10, 10), b = seg(20, 0, 10, 10), c = seg(40, 0, 10, 10);
  Segment s = seg(100, 0, 10, 10);
  EXPECT_EQ(drawNextSegment(s, nullptr), nullptr);  // no connections
  s.neighbours = {&a};
  EXPECT_EQ(drawNextSegment(s, &a), &a);  // one connection: that one, even back
  s.neighbours = {&a, &b};
  for (unsigned seed = 0; seed < 200; ++seed) {
    srand(seed);
    ASSERT_EQ(drawNextSegment(s, &a), &b) << seed;  // never back while another one exists
  }
  // The draw is connection[rand() % count].
  s.neighbours = {&a, &b, &c};
  srand(9);
  const Segment* expected = s.neighbours[rand() % 3];
  srand(9);
  EXPECT_EQ(drawNextSegment(s, nullptr), expected);

  // Every connection is the segment walked from: accepted after a bounded number of draws.
  s.neighbours = {&a, &a};
  srand(4);
  for (int i = 0; i < MAX_SEGMENT_DRAWS; ++i) rand();
  const int after = rand();
  srand(4);
  EXPECT_EQ(drawNextSegment(s, &a), &a);
  EXPECT_EQ(rand(), after);
}

TEST_F(TrafficWorld, PedestrianTurnPointsAlongTwoStrips) {
  Sidewalk& west = sidewalk(100, 100, 200, 40);
  Sidewalk& east = sidewalk(300, 100, 200, 40);
  linkNetworks(world);
  Person& p = atA(west, nullptr, 119, 119);
  const double r = halfDiagonal(p);

  updatePedestrians(world);  // at A: the one connection, lying right
  EXPECT_EQ(p.segment, &east);
  EXPECT_EQ(p.previousSegment, &west);
  EXPECT_EQ(p.waypointBX, static_cast<int>(300 + r + 10));
  EXPECT_EQ(p.waypointBY, 119);
  EXPECT_EQ(p.waypointAX, -1);
  EXPECT_EQ(p.heading, 0);
  EXPECT_DOUBLE_EQ(p.x, 119);  // a turn is not a step

  const double startX = p.x;
  updatePedestrians(world);  // walking toward B
  EXPECT_GT(p.x, startX);

  p.x = p.waypointBX - 9;  // within 10 of B
  updatePedestrians(world);
  EXPECT_EQ(p.waypointAX, static_cast<int>(300 + r + 2));
  EXPECT_EQ(p.waypointAY, static_cast<int>(100 + r + 2));
  EXPECT_EQ(p.waypointBX, -1);

  p.x = p.waypointAX + 9.5;
  p.y = p.waypointAY;
  updatePedestrians(world);  // back west: a single connection is taken even if walked from
  EXPECT_EQ(p.segment, &west);
  EXPECT_EQ(p.waypointBX, static_cast<int>(100 + r + 10));
  EXPECT_EQ(p.heading, 180);
}

TEST_F(TrafficWorld, PedestrianTurnsDownAndWaitsAtAnIsolatedStrip) {
  Sidewalk& top = sidewalk(100, 100, 200, 40);
  Sidewalk& side = sidewalk(100, 140, 40, 200);
  Sidewalk& alone = sidewalk(1000, 1000, 100, 40);
  linkNetworks(world);
  Person& p = atA(top, nullptr, 119, 119);
  const double r = halfDiagonal(p);
  updatePedestrians(world);
  EXPECT_EQ(p.segment, &side);
  EXPECT_EQ(p.waypointBX, 119);
  EXPECT_EQ(p.waypointBY, static_cast<int>(140 + r + 10));
  EXPECT_EQ(p.heading, 270);

  Person& q = atA(alone, nullptr, 1019, 1019);
  const int heading = q.heading;
  updatePedestrians(world);
  EXPECT_EQ(q.segment, &alone);
  EXPECT_EQ(q.waypointAX, 1019);
  EXPECT_EQ(q.heading, heading);
  EXPECT_DOUBLE_EQ(q.x, 1019);
}

TEST_F(TrafficWorld, BlockedPedestrianWaitsInPlace) {
  Sidewalk& s = sidewalk(100, 100, 400, 40);
  linkNetworks(world);
  Person& p = pedestrian(200, 119);
  p.segment = &s;
  p.waypointAX = 480;
  p.waypointAY = 119;
  p.heading = 0;
  house(200 + 9 + 1, 80, 50, 80);  // right in front
  updatePedestrians(world);
  EXPECT_DOUBLE_EQ(p.x, 200);
  world.houses.clear();
  car(200 + 9 + 47 + 1.5, 119);
  updatePedestrians(world);
  EXPECT_DOUBLE_EQ(p.x, 200);
  world.cars.clear();
  updatePedestrians(world);
  EXPECT_GT(p.x, 200);
}

TEST_F(TrafficWorld, AttachingPicksTheContainingOrNearestSidewalkAndItsFirstWaypoint) {
  sidewalk(500, 500, 40, 300);                    // vertical, far
  Sidewalk& near = sidewalk(100, 200, 300, 40);   // horizontal, 60 below
  Sidewalk& under = sidewalk(1000, 100, 60, 60);  // square, holding the second walker
  Person& p = pedestrian(150, 140);
  Person& q = pedestrian(1030, 130);
  const double r = halfDiagonal(p);
  updatePedestrians(world);
  EXPECT_EQ(p.segment, &near);
  EXPECT_EQ(p.previousSegment, &near);
  EXPECT_EQ(p.waypointAX, static_cast<int>(100 + r));
  EXPECT_EQ(p.waypointAY, 220);
  EXPECT_EQ(q.segment, &under);
  EXPECT_EQ(q.waypointAX, 1030);
  EXPECT_EQ(q.waypointAY, 130);
  EXPECT_DOUBLE_EQ(p.x, 150);  // attaching is the whole frame

  Person& v = pedestrian(520, 450);
  updatePedestrians(world);
  EXPECT_EQ(v.waypointAX, 520);
  EXPECT_EQ(v.waypointAY, static_cast<int>(500 + r));
}

TEST_F(TrafficWorld, AHugeSidewalkGivesAWaypointAheadOfTheWalker) {
  sidewalk(100, 100, 1e10, 1e10);  // square: its centre lies far beyond any int
  Person& p = pedestrian(2000, 2000);
  updatePedestrians(world);
  EXPECT_GT(p.waypointAX, 2000);
  EXPECT_GT(p.waypointAY, 2000);
}

TEST_F(TrafficWorld, PanicZigzagsForwardOnScreenAndCalmsOffScreen) {
  Sidewalk& s = sidewalk(100, 100, 400, 40);
  Person& p = pedestrian(300, 300);
  p.scared = true;
  p.heading = 90;
  srand(3);
  const int first = rand();
  srand(3);
  updatePedestrians(world);
  EXPECT_EQ(p.savedHeading, 90);
  EXPECT_EQ(p.heading, first % 2 == 0 ? 110 : 70);
  EXPECT_LT(p.y, 300);  // ran on
  EXPECT_TRUE(p.scared);

  // Off screen it calms down in the same frame and walks its network, keeping its segment.
  Person& q = pedestrian(2000, 2000);
  q.scared = true;
  q.segment = &s;
  q.waypointAX = 2100;
  q.waypointAY = 2000;
  q.heading = 0;
  updatePedestrians(world);
  EXPECT_FALSE(q.scared);
  EXPECT_EQ(q.segment, &s);
  EXPECT_GT(q.x, 2000);
}

TEST_F(TrafficWorld, WithoutSidewalksPedestriansWander) {
  Person& p = pedestrian(300, 300);
  p.heading = 100;
  srand(11);
  const int draw = rand();
  srand(11);
  updatePedestrians(world);
  EXPECT_EQ(p.heading, draw % 2 == 1 ? 120 : 80);
  EXPECT_NE(p.y, 300);
  EXPECT_EQ(p.segment, nullptr);
}

TEST_F(TrafficWorld, ARemovedSidewalkIsLeftForTheNearestOther) {
  Sidewalk& gone = sidewalk(100, 100, 300, 40);
  Sidewalk& other = sidewalk(100, 300, 300, 40);
  linkNetworks(world);
  Person& p = pedestrian(200, 119);
  p.segment = &gone;
  p.previousSegment = &gone;
  p.nextSegment = &gone;
  p.waypointBX = 300;
  p.waypointBY = 119;
  removeSidewalk(world, world.sidewalks.indexOf(&gone));
  updatePedestrians(world);
  EXPECT_EQ(p.segment, &other);
  EXPECT_EQ(p.previousSegment, &other);
  for (int i = 0; i < 100; ++i) updatePedestrians(world);
  EXPECT_EQ(p.segment, &other);
  EXPECT_NEAR(p.y, 319, 12);  // came over to it
}

// Drivers

// A driver sitting in `c`, as the boarding leaves it.
Person& seat(World& world, Person& d, Car& c) {
  d.inCar = true;
  d.targetCar = &c;
  d.x = c.x, d.y = c.y;
  c.driver = world.drivers.indexOf(&d);
  return d;
}

TEST_F(TrafficWorld, DriverWalksToTheNearestCarAndTakesIt) {
  car(900, 900);
  Car& mine = car(300, 200);
  Person& d = driver(200, 200);
  updateDrivers(world);
  EXPECT_EQ(d.targetCar, &mine);
  EXPECT_TRUE(d.walkingToCar);
  int frames = 0;
  while (!d.inCar && frames < 200) {
    updateDrivers(world);
    ++frames;
  }
  ASSERT_TRUE(d.inCar);
  EXPECT_EQ(mine.driver, 0);
  EXPECT_FALSE(d.walkingToCar);
  EXPECT_GT(d.x, 200);
}

TEST_F(TrafficWorld, DriverAttachesToTheNearestRoadAndGoesFullThrottle) {
  road(1000, 1000, 300, 100);  // far
  Road& near = road(100, 100, 400, 100);
  Car& c = car(250, 260, 90);
  Person& d = seat(world, driver(0, 0), c);
  updateDrivers(world);
  EXPECT_EQ(d.segment, &near);
  EXPECT_EQ(d.waypointAX, 110);  // horizontal: 10 in from its start
  EXPECT_EQ(d.waypointAY, 150);
  EXPECT_EQ(c.heading, static_cast<int>(180 - std::atan(110.0 / 140.0) * 180 / PI));
  EXPECT_DOUBLE_EQ(c.speed, 0.5);
  updateDrivers(world);
  EXPECT_DOUBLE_EQ(c.speed, 1.0);
}

TEST_F(TrafficWorld, DriverTurnPointsForEachRelation) {
  struct Case {
    Segment current, next;
    double carX, carY;
    const char* relation;
    double bx, by;  // expected B, before truncation (car.r = 58.26)
  };
  const double r = std::sqrt(34.5 * 34.5 + 47 * 47);
  const Case cases[] = {
      {seg(400, 100, 300, 100), seg(100, 100, 300, 100), 460, 160, "left", 400 - r, 160},
      {seg(100, 100, 300, 100), seg(400, 96, 108, 108), 160, 160, "right", 400 + r, 160},
      {seg(100, 400, 100, 300), seg(100, 100, 100, 300), 160, 460, "up", 160, 100 - r},
      {seg(100, 100, 100, 300), seg(100, 400, 100, 300), 160, 160, "down", 160, 400 + r},
  };
  for (const Case& k : cases) {
    World w;
    w.view = {0, 0, 800, 600};
    auto a = std::make_unique<Road>(), b = std::make_unique<Road>();
    static_cast<Segment&>(*a) = k.current;
    static_cast<Segment&>(*b) = k.next;
    Road* ra = w.roads.append(std::move(a));
    Road* rb = w.roads.append(std::move(b));
    ra->neighbours = {rb, rb};  // two connections, both the next one
    Car* c = w.cars.append(makeMapCar(k.carX, k.carY, 69, 94, 0, 100, 0, 10, 0, 4, 0, 0.5));
    Person* d = w.drivers.append(
        makePerson("d", nullptr, 0, true, false, 100, 0, 0, 0, 0, 29, 18, {}, 50, 10));
    seat(w, *d, *c);
    d->segment = ra;
    d->waypointAX = static_cast<int>(k.carX);
    d->waypointAY = static_cast<int>(k.carY);
    ASSERT_EQ(segmentRelation(*ra, *rb), k.relation);
    updateDrivers(w);
    EXPECT_EQ(d->segment, rb) << k.relation;
    EXPECT_EQ(d->previousSegment, ra) << k.relation;
    EXPECT_EQ(d->waypointBX, static_cast<int>(k.bx)) << k.relation;
    EXPECT_EQ(d->waypointBY, static_cast<int>(k.by)) << k.relation;
    // Within r of B, A becomes the next road's corner r inside.
    c->x = d->waypointBX + 30;
    c->y = d->waypointBY;
    updateDrivers(w);
    EXPECT_EQ(d->waypointAX, static_cast<int>(k.next.x + r)) << k.relation;
    EXPECT_EQ(d->waypointAY, static_cast<int>(k.next.y + r)) << k.relation;
    EXPECT_EQ(d->waypointBY, -1);
  }
}

// A street with a dead end at each end: a lone car drives it end to end, and two cars
// meeting head-on on it turn back rather than push each other for good.
TEST_F(TrafficWorld, CarsTurnBackAtDeadEndsAndWhenMeetingHeadOn) {
  const double r = std::sqrt(34.5 * 34.5 + 47 * 47);
  for (int cars = 1; cars <= 2; ++cars) {
    World w;
    w.view = {0, 0, 800, 600};
    auto makeRoad = [&w](double x, double y, double width, double height) {
      auto road = std::make_unique<Road>();
      road->x = x, road->y = y, road->w = width, road->h = height;
      return w.roads.append(std::move(road));
    };
    Road* left = makeRoad(100, 100, 108, 108);
    Road* street = makeRoad(208, 104, 600, 100);
    Road* right = makeRoad(808, 100, 108, 108);
    linkNetworks(w);
    ASSERT_EQ(left->neighbours.size(), 1u);
    std::vector<Car*> driven;
    for (int k = 0; k < cars; ++k) {
      // The first heads right for the right end, the second left along the street.
      Car* c = w.cars.append(
          makeMapCar(k ? 700 : 300, 154, 69, 94, 0, 100, k ? 180 : 0, 10, 0, 4, 0, 0.5));
      Person* d = w.drivers.append(
          makePerson("d", nullptr, 0, true, false, 100, 0, 0, 0, 0, 29, 18, {}, 50, 10));
      seat(w, *d, *c);
      d->segment = k ? static_cast<Segment*>(street) : right;
      d->previousSegment = k ? static_cast<Segment*>(right) : street;
      if (k) {
        d->waypointAX = static_cast<int>(street->x + r);
        d->waypointAY = static_cast<int>(street->y + r);
      } else {
        d->waypointBX = static_cast<int>(right->x + r);
        d->waypointBY = 154;
      }
      driven.push_back(c);
    }
    // Still: not a car length from where it stood. Trips: from one end of the street to the other.
    std::vector<int> trips(cars, 0), lastEnd(cars, 0), still(cars, 0), longestStill(cars, 0);
    std::vector<double> fromX(cars, 0);
    for (int frame = 0; frame < 1500; ++frame) {
      updateDrivers(w);
      moveCars(w);
      for (int k = 0; k < cars; ++k) {
        const double x = driven[k]->x;
        if (std::fabs(x - fromX[k]) > 94) {
          fromX[k] = x;
          still[k] = 0;
        }
        longestStill[k] = std::max(longestStill[k], ++still[k]);
        const int end = x < 330 ? -1 : x > 700 ? 1 : 0;
        if (end && end != lastEnd[k]) {
          ++trips[k];
          lastEnd[k] = end;
        }
      }
    }
    for (int k = 0; k < cars; ++k) EXPECT_LE(longestStill[k], 250) << cars << " cars, car " << k;
    if (cars == 1) EXPECT_GE(trips[0], 3);  // two cars keep meeting halfway
  }
}

TEST_F(TrafficWorld, PulledOutDriverFleesThenTakesTheCarBackFromThePlayer) {
  world.player = makePerson("Valdero", nullptr, 0, false, false, 100, 0, 0, 1200, 200, 29, 18,
                            {}, 100, 0);
  Person& player = *world.player;
  Car& c = car(1200, 200);
  player.inCar = true;
  player.targetCar = &c;
  c.driver = PLAYER_DRIVER;
  Person& d = driver(400, 200);  // 800 from the player; the screen diagonal is 1000
  d.scared = true;
  d.attacker = &player;
  for (int i = 0; i < 5; ++i) updateDrivers(world);
  EXPECT_TRUE(d.scared);  // still fleeing
  EXPECT_FALSE(d.walkingToCar);

  d.x = 150;
  d.y = 200;  // now beyond the diagonal
  updateDrivers(world);
  EXPECT_FALSE(d.scared);
  EXPECT_EQ(d.attacker, nullptr);
  int frames = 0;
  while (!d.inCar && frames < 600) {
    updateDrivers(world);
    ++frames;
  }
  ASSERT_TRUE(d.inCar);
  EXPECT_EQ(d.targetCar, &c);
  EXPECT_EQ(c.driver, 0);
  EXPECT_FALSE(player.inCar);
  EXPECT_EQ(player.targetCar, nullptr);
}

TEST_F(TrafficWorld, TakingACarFromAnotherDriverPutsHimOutScared) {
  Car& c = car(500, 300);
  Person& sitting = seat(world, driver(0, 0), c);
  sitting.segment = nullptr;
  Person& taker = driver(500 + 47 + 10, 300);
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
}

TEST_F(TrafficWorld, DriverIndicesAndTargetsSurviveRemovals) {
  Road& r = road(100, 100, 600, 100);
  Car& first = car(300, 150);
  Car& second = car(600, 150);
  Person& gone = driver(50, 50);
  Person& d = seat(world, driver(0, 0), second);
  ASSERT_EQ(second.driver, 1);
  removeDriver(world, world.drivers.indexOf(&gone));
  EXPECT_EQ(second.driver, 0);
  updateDrivers(world);
  EXPECT_TRUE(d.inCar);
  EXPECT_EQ(d.segment, &r);
  EXPECT_EQ(second.driver, 0);
  EXPECT_GT(second.speed, 0);

  // A driver whose target car is removed picks the next nearest one.
  Person& walker = driver(250, 300);
  updateDrivers(world);
  ASSERT_EQ(walker.targetCar, &first);
  removeCar(world, world.cars.indexOf(&first));
  EXPECT_EQ(walker.targetCar, nullptr);
  updateDrivers(world);
  EXPECT_EQ(walker.targetCar, &second);
  EXPECT_TRUE(walker.walkingToCar);

  // A fleeing driver whose attacker is gone calms down.
  Person& chased = driver(2000, 2000);
  Person& attacker = *world.pedestrians.append(
      makePerson("a", nullptr, 0, true, false, 100, 0, 0, 1990, 2000, 29, 18, {}, 50, 0));
  chased.scared = true;
  chased.attacker = &attacker;
  removePedestrian(world, 0);
  updateDrivers(world);
  EXPECT_FALSE(chased.scared);

  // A driver whose road is removed attaches to a road again.
  Road& other = road(100, 400, 600, 100);
  removeRoad(world, world.roads.indexOf(&r));
  EXPECT_EQ(d.segment, nullptr);
  updateDrivers(world);
  EXPECT_EQ(d.segment, &other);
}

TEST_F(TrafficWorld, WithoutRoadsADrivenCarJustAccelerates) {
  Car& c = car(500, 500, 30);
  Person& d = seat(world, driver(0, 0), c);
  d.heading = 100;
  srand(2);
  const int draw = rand();
  srand(2);
  updateDrivers(world);
  EXPECT_EQ(d.heading, draw % 2 == 0 ? 120 : 80);
  EXPECT_EQ(c.heading, 30);
  EXPECT_DOUBLE_EQ(c.speed, 0.5);
}

}  // namespace
