// Bad guys: alerted by the player within their weapon's range, chasing and firing, calming
// down off screen and out of range, and their sidewalk walk with its own turn points.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "world/world.h"
#include "sim/collision.h"
#include "sim/hostiles.h"
#include "sim/traffic.h"
#include "world/map_files.h"

namespace {

struct HostileWorld : ::testing::Test {
  World world;
  void SetUp() override {
    world.view = {0, 0, 800, 600};
    world.clock.setManual(10000);
    srand(1);
    world.player = makePerson("Valdero", nullptr, 0, false, false, 100, 0, 0, 2000, 2000, 29,
                              18, {}, 100, 0);
  }
  // A bad guy as the loader arms it: hands, AK47 (range 500) and M4 (range 200), holding the M4.
  Person& badGuy(double x, double y) {
    std::vector<std::unique_ptr<Weapon>> guns;
    auto p = makePerson("Eno", nullptr, 0, true, false, 100, 0, 0, x, y, 29, 18, {}, 50, 10);
    addWeapon(*p, makeAK47(x, y));
    addWeapon(*p, makeM4(x, y));
    p->currentWeapon = 2;
    return *world.badGuys.append(std::move(p));
  }
  Sidewalk& sidewalk(double x, double y, double w, double h) {
    auto s = std::make_unique<Sidewalk>();
    s->x = x, s->y = y, s->w = w, s->h = h;
    return *world.sidewalks.append(std::move(s));
  }
  void placePlayer(double x, double y) { world.player->x = x, world.player->y = y; }
};

TEST_F(HostileWorld, AlertedWithinRangeOffScreenTurnsWalksAndFires) {
  Person& b = badGuy(2000, 1800);  // far off screen
  placePlayer(2000, 1999);         // 199 away: inside the M4's 200
  updateBadGuys(world);
  EXPECT_TRUE(b.scared);
  EXPECT_EQ(b.heading, 270);  // straight down at the player
  EXPECT_GT(b.y, 1800);
  ASSERT_EQ(world.bullets.count(), 1);
  EXPECT_EQ(world.bullets[0]->heading, 270);
  EXPECT_EQ(b.weapons[2]->ammo, 999);

  // Every frame it keeps coming; the rate holds the next shot back.
  const double y = b.y;
  updateBadGuys(world);
  EXPECT_GT(b.y, y);
  EXPECT_EQ(world.bullets.count(), 1);
  world.clock.advance(40);
  updateBadGuys(world);
  EXPECT_EQ(world.bullets.count(), 2);

  // Exactly at the range is out of it.
  Person& c = badGuy(2500, 2000);
  placePlayer(2300, 2000);
  c.scared = false;
  updateBadGuys(world);
  EXPECT_FALSE(c.scared);
}

TEST_F(HostileWorld, AgainstAHouseItTurnsAndFiresButStays) {
  Person& b = badGuy(2000, 1800);
  auto wall = std::make_unique<House>();
  wall->x = 1950, wall->y = 1800 + 9 + 0.5, wall->w = 100, wall->h = 20;  // just below it
  world.houses.append(std::move(wall));
  placePlayer(2000, 1900);
  for (int i = 0; i < 3; ++i) {
    world.clock.advance(100);
    updateBadGuys(world);
  }
  EXPECT_EQ(b.heading, 270);
  EXPECT_DOUBLE_EQ(b.y, 1800);
  EXPECT_DOUBLE_EQ(b.x, 2000);
  EXPECT_EQ(world.bullets.count(), 3);
}

TEST_F(HostileWorld, CalmsDownOnlyOffScreenAndOutOfRange) {
  Sidewalk& s = sidewalk(100, 100, 400, 40);
  Person& onScreen = badGuy(300, 300);
  onScreen.scared = true;
  Person& offScreen = badGuy(2500, 2500);
  offScreen.scared = true;
  offScreen.segment = &s;
  offScreen.waypointAX = 2600;
  offScreen.waypointAY = 2500;
  offScreen.heading = 0;
  placePlayer(1500, 1500);  // out of both ranges
  updateBadGuys(world);
  EXPECT_TRUE(onScreen.scared);  // seen: keeps chasing
  EXPECT_EQ(onScreen.heading, 315);
  EXPECT_GT(onScreen.x, 300);
  EXPECT_FALSE(offScreen.scared);
  EXPECT_EQ(offScreen.segment, &s);  // resumes its walk where it was
  EXPECT_GT(offScreen.x, 2500);
  EXPECT_EQ(world.bullets.count(), 1);  // only the one on screen fired
}

TEST_F(HostileWorld, BadGuyTurnPointsLieCloserThanAPedestrians) {
  Sidewalk& west = sidewalk(100, 100, 200, 40);
  Sidewalk& east = sidewalk(300, 100, 200, 40);
  linkNetworks(world);
  Person& b = badGuy(117, 117);
  const double r = halfDiagonal(b);
  b.segment = &west;
  b.waypointAX = 117;
  b.waypointAY = 117;
  updateBadGuys(world);
  EXPECT_EQ(b.segment, &east);
  EXPECT_EQ(b.waypointBX, static_cast<int>(300 + r));
  EXPECT_EQ(b.waypointBY, 117);
  // B is reached within r, where a pedestrian would need 10.
  b.x = b.waypointBX - 15;
  updateBadGuys(world);
  EXPECT_EQ(b.waypointAX, static_cast<int>(300 + r));
  EXPECT_EQ(b.waypointAY, static_cast<int>(100 + r));
  EXPECT_EQ(b.waypointBX, -1);
}

TEST_F(HostileWorld, StrangeWeaponIndicesAndMissingPlayerAreHarmless) {
  Sidewalk& s = sidewalk(1000, 1000, 400, 40);
  Person& b = badGuy(1100, 1019);
  b.currentWeapon = 7;  // names no weapon: never in range
  placePlayer(1100, 1030);
  updateBadGuys(world);
  EXPECT_FALSE(b.scared);
  EXPECT_EQ(b.segment, &s);
  EXPECT_EQ(world.bullets.count(), 0);

  Person& seen = badGuy(300, 300);
  seen.scared = true;
  world.player.reset();
  updateBadGuys(world);  // nobody to chase: a calm walk
  EXPECT_EQ(world.bullets.count(), 0);
  EXPECT_NE(seen.segment, nullptr);

  Person& dead = badGuy(1200, 1019);
  dead.damage = dead.life;
  const double x = dead.x;
  updateBadGuys(world);
  EXPECT_EQ(dead.segment, nullptr);
  EXPECT_DOUBLE_EQ(dead.x, x);
}

TEST_F(HostileWorld, WithoutSidewalksCalmBadGuysWander) {
  Person& b = badGuy(1500, 1500);
  b.heading = 200;
  srand(6);
  const int draw = rand();
  srand(6);
  updateBadGuys(world);
  EXPECT_EQ(b.heading, draw % 2 == 1 ? 220 : 180);
  EXPECT_FALSE(b.scared);
}

}  // namespace
