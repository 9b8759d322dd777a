// Weapon switching and firing: rate, ammunition, panic of bystanders, the new bullet.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "world/world.h"
#include "sim/weapons.h"

namespace {

// A person holding `weapon` as its current one (or only its bare hands when null).
std::unique_ptr<Person> armedPerson(double x, double y, std::unique_ptr<Weapon> weapon) {
  std::vector<std::unique_ptr<Weapon>> guns;
  if (weapon) guns.push_back(std::move(weapon));
  auto person = makePerson("shooter", nullptr, 0, true, false, 100, 0, 0, x, y, 20, 20,
                           std::move(guns), 5, 0);
  person->currentWeapon = static_cast<int>(person->weapons.size()) - 1;
  return person;
}

std::unique_ptr<Weapon> gun(int32_t ammo, double rate, double power = 30, int32_t range = 400) {
  return makeWeapon("Gun", 0, 0, ammo, range, 1, 3, power, rate);
}

struct FiringWorld : ::testing::Test {
  World world;
  void SetUp() override {
    world.view = {0, 0, 800, 600};
    world.clock.setManual(10000);
    srand(1);
  }
  Person& addPedestrian(double x, double y, int heading) {
    auto p = makePerson("walker", nullptr, 0, true, false, 100, 0, 0, x, y, 20, 20, {}, 5, 0);
    p->heading = heading;
    return *world.pedestrians.append(std::move(p));
  }
};

TEST(WeaponSwitching, WrapsAtBothEndsAndKeepsASingleOrMissingWeapon) {
  std::vector<std::unique_ptr<Weapon>> guns;
  guns.push_back(makeM4(0, 0));
  guns.push_back(makeAK47(0, 0));
  auto person = makePerson("p", nullptr, 0, true, false, 100, 0, 0, 50, 50, 20, 20,
                           std::move(guns), 5, 0);
  ASSERT_EQ(person->weapons.size(), 3u);

  std::vector<int> seen;
  for (int i = 0; i < 4; ++i) {
    nextWeapon(*person);
    seen.push_back(person->currentWeapon);
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 0, 1}));
  seen.clear();
  person->currentWeapon = 0;
  for (int i = 0; i < 4; ++i) {
    previousWeapon(*person);
    seen.push_back(person->currentWeapon);
  }
  EXPECT_EQ(seen, (std::vector<int>{2, 1, 0, 2}));
  EXPECT_EQ(currentWeaponOf(*person), person->weapons[2].get());

  auto barehanded = makePerson("q", nullptr, 0, true, false, 100, 0, 0, 50, 50, 20, 20, {}, 5, 0);
  nextWeapon(*barehanded);
  EXPECT_EQ(barehanded->currentWeapon, 0);
  previousWeapon(*barehanded);
  EXPECT_EQ(barehanded->currentWeapon, 0);

  barehanded->weapons.clear();
  nextWeapon(*barehanded);
  previousWeapon(*barehanded);
  EXPECT_EQ(barehanded->currentWeapon, 0);
  EXPECT_EQ(currentWeaponOf(*barehanded), nullptr);

  person->currentWeapon = 3;
  EXPECT_EQ(currentWeaponOf(*person), nullptr);
  person->currentWeapon = -1;
  EXPECT_EQ(currentWeaponOf(*person), nullptr);
}

TEST_F(FiringWorld, RateLimitsShotsAndTheFirstShotIsImmediate) {
  auto shooter = armedPerson(100, 300, gun(-1, 2));
  Weapon& weapon = *currentWeaponOf(*shooter);

  fire(world, *shooter);
  EXPECT_EQ(world.bullets.count(), 1);
  EXPECT_EQ(weapon.lastShotAt, 10000u);

  world.clock.setManual(10400);
  fire(world, *shooter);
  world.clock.setManual(10500);  // exactly the interval: still held back
  fire(world, *shooter);
  EXPECT_EQ(world.bullets.count(), 1);

  world.clock.setManual(10501);
  fire(world, *shooter);
  EXPECT_EQ(world.bullets.count(), 2);
  EXPECT_EQ(weapon.ammo, -1);  // unlimited never counts down

  // One shot a second: a fresh gun counts as fired exactly one interval ago, so it
  // waits one more millisecond.
  auto slow = armedPerson(100, 300, gun(-1, 1));
  fire(world, *slow);
  EXPECT_EQ(world.bullets.count(), 2);
  world.clock.advance(1);
  fire(world, *slow);
  EXPECT_EQ(world.bullets.count(), 3);
}

TEST_F(FiringWorld, AmmunitionRunsOutAndRateZeroNeverFires) {
  auto shooter = armedPerson(100, 300, gun(1, 10));
  fire(world, *shooter);
  EXPECT_EQ(currentWeaponOf(*shooter)->ammo, 0);
  for (int i = 0; i < 5; ++i) {
    world.clock.advance(1000);
    fire(world, *shooter);
  }
  EXPECT_EQ(world.bullets.count(), 1);
  EXPECT_EQ(currentWeaponOf(*shooter)->ammo, 0);

  auto jammed = armedPerson(100, 300, gun(50, 0));
  for (int i = 0; i < 5; ++i) {
    world.clock.advance(100000);
    fire(world, *jammed);
  }
  EXPECT_EQ(world.bullets.count(), 1);
  EXPECT_EQ(currentWeaponOf(*jammed)->ammo, 50);

  auto unarmed = armedPerson(100, 300, nullptr);
  unarmed->currentWeapon = 9;  // names no weapon
  fire(world, *unarmed);
  EXPECT_EQ(world.bullets.count(), 1);
}

TEST_F(FiringWorld, OnlyPedestriansOnScreenPanicAndOnlyWhenAShotLeaves) {
  Person& beside = addPedestrian(400, 300, 45);     // right of the shooter
  Person& above = addPedestrian(100, 100, 0);       // straight above the shooter
  Person& faraway = addPedestrian(1500, 1500, 45);  // off screen
  auto shooter = armedPerson(100, 300, gun(-1, 2));

  fire(world, *shooter);
  EXPECT_TRUE(beside.scared);
  EXPECT_EQ(beside.heading, 360);  // faced the shooter (180), then turned away
  EXPECT_TRUE(above.scared);
  EXPECT_EQ(above.heading, 90);  // faced down (270), then away: up
  EXPECT_FALSE(faraway.scared);
  EXPECT_EQ(faraway.heading, 45);

  // A held-back trigger frightens nobody.
  beside.scared = false;
  beside.heading = 45;
  world.clock.advance(100);
  fire(world, *shooter);
  EXPECT_FALSE(beside.scared);
  EXPECT_EQ(beside.heading, 45);
}

TEST_F(FiringWorld, BulletLeavesTheFrontRightCornerWithItsOwnCopyOfTheGun) {
  auto shooter = makePerson("s", nullptr, 1, true, false, 100, 0, 0, 200, 200, 10, 20, {}, 5, 0);
  shooter->weapons.push_back(makeWeapon("Gun", 0, 0, 7, 321, 1, 4, 45, 5));
  shooter->currentWeapon = 1;
  shooter->heading = 0;
  fire(world, *shooter);
  ASSERT_EQ(world.bullets.count(), 1);
  const Bullet& east = *world.bullets[0];
  EXPECT_NEAR(east.x, 210, 1e-9);
  EXPECT_NEAR(east.y, 205, 1e-9);
  EXPECT_EQ(east.originX, east.x);
  EXPECT_EQ(east.originY, east.y);
  EXPECT_EQ(east.heading, 0);
  EXPECT_EQ(east.w, 10);
  EXPECT_EQ(east.h, 5);
  EXPECT_EQ(east.life, 45);
  EXPECT_EQ(east.damage, 0);
  EXPECT_EQ(east.power, 45);
  EXPECT_EQ(east.range, 321);
  EXPECT_EQ(east.imageIndex, 4);

  shooter->heading = 90;
  world.clock.advance(1000);
  fire(world, *shooter);
  ASSERT_EQ(world.bullets.count(), 2);
  const Bullet& north = *world.bullets[1];
  EXPECT_NEAR(north.x, 205, 1e-9);
  EXPECT_NEAR(north.y, 190, 1e-9);
  EXPECT_EQ(north.heading, 90);
}

TEST_F(FiringWorld, AFullBulletListDropsTheNewBulletButTheShotCounts) {
  while (!world.bullets.full()) world.bullets.append(std::make_unique<Bullet>());
  ASSERT_EQ(world.bullets.count(), BULLET_CAPACITY);
  Bullet* lastBefore = world.bullets.last();
  auto shooter = armedPerson(100, 300, gun(5, 10));
  fire(world, *shooter);
  EXPECT_EQ(world.bullets.count(), BULLET_CAPACITY);
  EXPECT_EQ(world.bullets.last(), lastBefore);
  EXPECT_EQ(currentWeaponOf(*shooter)->ammo, 4);
  EXPECT_EQ(currentWeaponOf(*shooter)->lastShotAt, 10000u);
}

}  // namespace
