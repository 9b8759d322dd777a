// The candidate grid and the fast path it gives the simulation: the same outcomes as the plain
// all-pairs rules, frame by frame, on crowded random cities.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "world/world.h"
#include "sim/collision.h"
#include "sim/spatial_grid.h"
#include "sim/tick.h"
#include "sim_world.h"
#include "support/records.h"

namespace {

TEST(SpatialGrid, BadNumbersMakeEveryoneACandidate) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  SpatialGrid grid;
  grid.insert(0, 10, 10, 20, 20);
  grid.insert(1, nan, 10, 20, 20);          // a body from a broken map
  grid.insert(2, 2900, 2900, 1e300, 2950);  // reaching far out of the world
  grid.insert(3, 20, 30, 10, 25);           // corners given the wrong way round
  grid.insert(4, 100, 100, inf, 120);
  std::vector<int> found;

  grid.query(2000, 2000, 2010, 2010, found);
  EXPECT_EQ(found, (std::vector<int>{1, 4}));
  grid.query(12, 26, 13, 27, found);
  EXPECT_EQ(found, (std::vector<int>{0, 1, 3, 4}));
  grid.query(nan, 0, 1, 1, found);
  EXPECT_EQ(found, (std::vector<int>{0, 1, 2, 3, 4}));
  // Beyond the world every box falls into the border cells, where both ends still meet.
  grid.query(-1e9, -1e9, -1e9 + 1, -1e9 + 1, found);
  EXPECT_EQ(found, (std::vector<int>{0, 1, 3, 4}));
  grid.query(5000, 2920, 6000, 2930, found);
  EXPECT_EQ(found, (std::vector<int>{1, 2, 4}));

  grid.clear();
  EXPECT_EQ(grid.memberCount(), 0);
  grid.query(0, 0, 3000, 3000, found);
  EXPECT_TRUE(found.empty());

  // A negative index is answered like any other, from every cell the query spans, in order.
  grid.insert(5, 10, 10, 20, 20);
  grid.insert(-1, 10, 500, 20, 510);
  grid.query(0, 0, 30, 505, found);
  EXPECT_EQ(found, (std::vector<int>{-1, 5}));
}

TEST(SpatialGrid, CirclesOfBadNumbersAreEveryonesCandidatesTillTakenOut) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  SpatialGrid grid;
  grid.insertCircle(0, nan, 10, 5);
  grid.insertCircle(1, 10, 10, nan);
  grid.insertCircle(2, 500, 500, 30);
  grid.insertCircle(3, 1000, 1000, 30);
  std::vector<int> found;
  grid.queryCircles(535, 500, 5, found);  // the circle's box reaches 530
  EXPECT_EQ(found, (std::vector<int>{0, 1, 2}));
  grid.removeCircle(0, nan, 10, 5);
  grid.removeCircle(3, 1000, 1000, 30);
  grid.queryCircles(1000, 1000, 5, found);
  EXPECT_EQ(found, (std::vector<int>{1}));
  EXPECT_EQ(grid.memberCount(), 2);
}

TEST(SpatialGrid, PackedCirclesAnswerAsFiledOnesUntilTheNextChange) {
  SpatialGrid grid;
  // Two circles in one cell, one in the next cell of the row, one in the next row, one in the
  // first cell and one in the last cell of all.
  grid.insertCircle(4, 150, 150, 20);
  grid.insertCircle(1, 160, 140, 20);
  grid.insertCircle(7, 250, 150, 20);
  grid.insertCircle(2, 150, 260, 20);
  grid.insertCircle(8, 40, 40, 20);
  grid.insertCircle(9, 2990, 2990, 20);
  std::vector<int> found, asTheyCome;
  // In order (the first cell's two come unsorted), and the same members as they come.
  auto ask = [&](double x, double y) {
    grid.queryCircles(x, y, 60, found);
    grid.queryCircles(x, y, 60, asTheyCome, /*inOrder=*/false);
    std::sort(asTheyCome.begin(), asTheyCome.end());
    EXPECT_EQ(asTheyCome, found);
    return found;
  };
  const std::vector<int> near{1, 2, 4, 7};
  EXPECT_EQ(ask(200, 200), near);
  grid.packCircles();
  EXPECT_EQ(ask(200, 200), near);
  EXPECT_EQ(ask(30, 30), std::vector<int>{8});
  EXPECT_EQ(ask(2950, 2950), std::vector<int>{9});
  // A change after packing is seen at once, and packing again gives the same.
  grid.removeCircle(4, 150, 150, 20);
  EXPECT_EQ(ask(200, 200), (std::vector<int>{1, 2, 7}));
  grid.packCircles();
  grid.insertCircle(3, 210, 210, 5);
  EXPECT_EQ(ask(200, 200), (std::vector<int>{1, 2, 3, 7}));
  grid.packCircles();
  EXPECT_EQ(ask(200, 200), (std::vector<int>{1, 2, 3, 7}));
  grid.clear();
  grid.packCircles();
  EXPECT_TRUE(ask(200, 200).empty());
  // After a clear, cells are filled and emptied as afresh.
  grid.insertCircle(6, 150, 150, 20);
  grid.packCircles();
  EXPECT_EQ(ask(200, 200), (std::vector<int>{6}));
  grid.clear();
  EXPECT_TRUE(ask(200, 200).empty());
}

TEST(PassGrids, ServeTheirOwnWorldWhileOpenAndFollowMovedCars) {
  World world, other;
  setGridUse(world, GridUse::Always);
  setGridUse(other, GridUse::Always);
  for (int i = 0; i < 40; ++i) {
    world.houses.append(makeRect<House>(75.0 * i, 1000, 50, 50));
    world.cars.append(testsupport::testCar().at(75.0 * i + 20, 2000).make());
  }
  other.houses.append(std::make_unique<House>());
  std::vector<int> found, all(40);
  std::iota(all.begin(), all.end(), 0);

  housesNear(world, 400, 1025, 10, found);
  EXPECT_EQ(found, all) << "no grid open: every house";
  {
    const HouseGridScope houses(world);
    housesNear(world, 400, 1025, 10, found);
    EXPECT_TRUE(std::find(found.begin(), found.end(), 5) != found.end());  // 375..425
    EXPECT_LT(found.size(), 10u);
    housesNear(other, 400, 1025, 10, found);
    EXPECT_EQ(found, std::vector<int>{0}) << "another world is not served by this grid";
  }
  housesNear(world, 400, 1025, 10, found);
  EXPECT_EQ(found, all);
  {
    // A house grid kept from the last pass is not kept once a house has moved (down, here).
    world.houses[0]->y = 2500;
    const HouseGridScope houses(world);
    EXPECT_EQ(housesNear(world, 25, 2525, 10, found), std::vector<int>{0});
  }

  CarGridScope cars(world);
  // A car tried far away and moved there is found where it went only once filed again, and
  // then no longer where it stood.
  Car& moved = *world.cars[3];
  moved.nextX = 2900;
  moved.nextY = 500;
  const double oldX = moved.x, oldY = moved.y;
  commitMove(moved);
  carsNear(world, 2900, 500, 30, found);
  EXPECT_TRUE(found.empty());
  cars.refile(3);
  carsNear(world, 2900, 500, 30, found);
  EXPECT_EQ(found, std::vector<int>{3});
  // A car's tried box is filed as well, before the move is made: here across the cell edge
  // at y 1000, so found just above it.
  Car& trying = *world.cars[5];
  trying.nextX = 2700;
  trying.nextY = 1010;
  cars.refile(5);
  carsNear(world, 2700, 990, 1, found);
  EXPECT_EQ(found, std::vector<int>{5});
  carsNear(world, oldX, oldY, 80, found);
  EXPECT_TRUE(std::find(found.begin(), found.end(), 3) == found.end());
  EXPECT_TRUE(std::find(found.begin(), found.end(), 2) != found.end());

  setGridUse(world, GridUse::Never);
  const HouseGridScope plain(world);
  housesNear(world, 400, 1025, 10, found);
  EXPECT_EQ(found, all) << "the plain rules try every house";
}

// A crowded random city: overlapping houses, cars rolling in every direction (some driven),
// walkers, bad guys with guns around the player, and bullets added every frame.
class RandomCity {
 public:
  explicit RandomCity(unsigned seed) : random_(seed) {
    world.view = {0, 0, 3000, 3000};
    world.clock.setManual(5000);
    for (int i = 0; i < 120; ++i) {
      const double x = uniform(100, 1200), y = uniform(100, 1200);
      const double w = uniform(10, 160), h = uniform(10, 160);
      world.houses.append(makeRect<House>(x, y, w, h))->life = uniform(50, 20000);
    }
    for (int i = 0; i < 80; ++i) {
      world.cars.append(CarSpec{}
                            .at(uniform(150, 1250), uniform(150, 1250))
                            .size(20 + uniform(0, 20), 40 + uniform(0, 30))
                            .life(uniform(500, 30000))
                            .heading(whole(0, 359))
                            .maxSpeed(uniform(2, 8))
                            .model(whole(0, 1))
                            .speed(uniform(-2, 6))
                            .acceleration(0.2)
                            .make());
    }
    addPeople(world.pedestrians, 90, false);
    addPeople(world.badGuys, 50, true);
    addPeople(world.drivers, 50, false);
    // Half the drivers sit in a car of their own.
    for (int i = 0; i < 25; ++i) seatDriver(world, *world.cars[i], *world.drivers[i]);
    world.player =
        PersonSpec{}.name("player").holding(1).flag(false).life(1e9).at(700, 700).hands(5).make();
  }

  // Bullets in flight anywhere, in every direction; some strong enough to pass through.
  void addBullets(int count) {
    for (int i = 0; i < count && !world.bullets.full(); ++i) {
      const double x = uniform(100, 1300), y = uniform(100, 1300);
      const double power = uniform(0, 1) < 0.3 ? uniform(200, 3000) : uniform(5, 60);
      const int heading = whole(0, 359);
      world.bullets.append(makeBullet(x, y, heading, power, whole(100, 2000)));
    }
  }

  World world;

 private:
  double uniform(double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random_);
  }
  int whole(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  void addPeople(RecordList<Person>& list, int count, bool armed) {
    for (int i = 0; i < count; ++i) {
      PersonSpec spec;
      if (armed)
        spec.gun(WeaponSpec{}.name("M4").ammo(-1).range(whole(100, 500)).weaponImage(1)
                     .bulletImage(1).power(20).make());
      spec.name("walker").holding(armed ? 1 : 0).life(uniform(40, 2000));
      spec.at(uniform(150, 1250), uniform(150, 1250)).size(20 + uniform(0, 10), 18 + uniform(0, 10));
      auto p = spec.hands(5).money(uniform(0, 100)).make();
      p->heading = whole(0, 359);
      p->topWalkSpeed = uniform(1, 5);
      p->scared = uniform(0, 1) < 0.3;
      list.append(std::move(p));
    }
  }

  std::mt19937 random_;
};

// Everything a frame decides, written out: positions, headings, speeds, damages, flags, who
// targets which car, and every list's length and order.
std::string snapshot(const World& w) {
  std::ostringstream out;
  out.precision(17);
  auto body = [&out](const Body& b) {
    out << b.x << ' ' << b.y << ' ' << b.nextX << ' ' << b.nextY << ' ' << b.damage << ' '
        << b.heading << ' ' << b.houseClearance << ' ' << nameOf(b.blockSide) << ' '
        << b.carDistance << '|';
  };
  auto person = [&](const Person& p) {
    body(p);
    out << p.walkSpeed << ' ' << p.walkFrame << ' ' << p.scared << p.inCar << p.walkingToCar << ' '
        << w.cars.indexOf(p.targetCar) << ' ' << p.money << '\n';
  };
  out << "houses " << w.houses.count() << '\n';
  for (const auto& h : w.houses) out << h->x << ' ' << h->y << ' ' << h->damage << '\n';
  out << "cars " << w.cars.count() << '\n';
  for (const auto& c : w.cars) {
    body(*c);
    out << c->speed << ' ' << c->driver << '\n';
  }
  for (const RecordList<Person>* list : {&w.pedestrians, &w.badGuys, &w.drivers}) {
    out << "people " << list->count() << '\n';
    for (const auto& p : *list) person(*p);
  }
  out << "player ";
  person(*w.player);
  out << "bullets " << w.bullets.count() << '\n';
  for (const auto& b : w.bullets) body(*b);
  out << "\nmarks " << w.deathMarks.count() << " drops " << w.moneyDrops.count() << '\n';
  for (const auto& d : w.moneyDrops) out << d->x << ' ' << d->y << ' ' << d->value << '\n';
  return out.str();
}

// Plays the same city twice, the plain way and through the grids, and compares every frame.
void playBothWays(unsigned seed, int frames) {
  RandomCity plain(seed), fast(seed);
  setGridUse(plain.world, GridUse::Never);
  setGridUse(fast.world, GridUse::Always);
  int firstFrameRemovals = -1, bounces = 0;
  for (int f = 0; f < frames; ++f) {
    plain.addBullets(20);
    fast.addBullets(20);
    plain.world.clock.advance(FRAME_MS);
    fast.world.clock.advance(FRAME_MS);

    const int housesBefore = plain.world.houses.count();
    std::vector<double> speeds;
    for (const auto& car : plain.world.cars) speeds.push_back(car->speed);
    plain.world.random.seed(seed * 1000 + f);
    simulateFrame(plain.world);
    fast.world.random.seed(seed * 1000 + f);
    simulateFrame(fast.world);
    if (firstFrameRemovals < 0 && plain.world.houses.count() < housesBefore) firstFrameRemovals = f;
    // A car bounced when its speed changed sign (cars only go when they are wrecks, last).
    for (size_t k = 0; k < speeds.size() && k < static_cast<size_t>(plain.world.cars.count()); ++k)
      if (speeds[k] * plain.world.cars[k]->speed < 0) ++bounces;

    ASSERT_EQ(snapshot(plain.world), snapshot(fast.world)) << "seed " << seed << ", frame " << f;
  }
  // The run must have been a busy one: hits on every kind of target, houses shot down, cars
  // bouncing off houses and cars, people killed, bullets still flying.
  EXPECT_GT(bounces, 10);
  EXPECT_GT(plain.world.cars.count(), 10);
  EXPECT_GT(plain.world.pedestrians.count() + plain.world.badGuys.count(), 20);
  EXPECT_GE(firstFrameRemovals, 0) << "no house was shot down";
  EXPECT_GT(plain.world.deathMarks.count() + plain.world.moneyDrops.count(), 0);
  EXPECT_GT(plain.world.bullets.count(), 30);
}

TEST(FastPath, SameOutcomesAsThePlainRulesFrameByFrame) {
  for (unsigned seed : {1u, 2u, 3u}) playBothWays(seed, 100);
}

}  // namespace
