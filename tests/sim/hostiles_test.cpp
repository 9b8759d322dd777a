// Bad guys: alerted by the player within their weapon's range, chasing and firing.
#include "sim/hostiles.h"

#include "sim_world.h"

namespace {

struct HostileWorld : SimWorld {
  // A bad guy as the loader arms it: hands, AK47 (range 500) and M4 (range 200), holding the M4.
  Person& badGuy(double x, double y) {
    auto p = testsupport::testPerson().at(x, y).size(29, 18).money(10).make();
    addWeapon(*p, makeAK47(x, y));
    addWeapon(*p, makeM4(x, y));
    p->currentWeapon = 2;
    return *world.badGuys.append(std::move(p));
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

}  // namespace
