// Weapon choice, bullet flight and hits, money pick-ups and the death step.
#include <gtest/gtest.h>

#include "sim/weapons.h"
#include "sim_world.h"
#include "world/lifetime.h"

namespace {

TEST(WeaponSwitching, WrapsAtBothEndsAndTheFirstWeaponCanBeCurrent) {
  auto person = testsupport::testPerson().make();
  addWeapon(*person, makeAK47(0, 0));
  addWeapon(*person, makeM4(0, 0));
  ASSERT_EQ(person->weapons.size(), 3u);
  person->currentWeapon = 0;
  EXPECT_EQ(currentWeaponOf(*person), person->weapons[0].get());
  previousWeapon(*person);
  EXPECT_EQ(person->currentWeapon, 2);
  nextWeapon(*person);
  EXPECT_EQ(person->currentWeapon, 0);
  person->currentWeapon = 1;
  previousWeapon(*person);
  EXPECT_EQ(person->currentWeapon, 0);
  person->currentWeapon = 3;
  EXPECT_EQ(currentWeaponOf(*person), nullptr);
}

struct BulletWorld : SimWorld {
  Person& addPerson(RecordList<Person>& list, double x, double y, double life) {
    Person& p = SimWorld::addPerson(list, x, y);
    p.life = life;
    return p;
  }
};

TEST_F(BulletWorld, BulletsPassThroughTargetsUntilTheirPowerIsSpent) {
  // Everybody stands where the bullet is after its first 10 pixels.
  Person& weak = addPerson(world.pedestrians, 120, 300, 20);
  Person& behindWeak = addPerson(world.pedestrians, 120, 300, 100);
  Person& gunman = addPerson(world.badGuys, 120, 300, 40);
  Person& driver = addPerson(world.drivers, 120, 300, 100);
  addBullet(100, 300, 0, 50);

  moveBullets(world);
  EXPECT_EQ(weak.damage, 50);          // took the full power
  EXPECT_EQ(behindWeak.damage, 0);     // one hit per group and frame
  EXPECT_EQ(gunman.damage, 50);        // the next group is still in reach ...
  EXPECT_TRUE(world.bullets.empty());  // ... and spends the bullet: 20 + 40 >= 50
  EXPECT_EQ(driver.damage, 0);

  // A bullet that leaves the list makes the next one sit the pass out.
  addBullet(798, 100, 0, 50);  // flies out of the view
  const Bullet& waits = addBullet(400, 100, 0, 50);
  const Bullet& flies = addBullet(400, 200, 0, 50);
  moveBullets(world);
  EXPECT_EQ(world.bullets.count(), 2);
  EXPECT_EQ(waits.x, 400);
  EXPECT_EQ(flies.x, 410);
}

// A gun that never fired shoots at once, even in the game's first second; then it waits out its
// rate, and every shot costs a round.
TEST_F(BulletWorld, AFreshGunShootsAtOnceThenKeepsItsRate) {
  world.clock.setManual(50);
  Person& shooter = player();
  addWeapon(shooter, makeAK47(0, 0, 5));
  shooter.currentWeapon = static_cast<int>(shooter.weapons.size()) - 1;
  const Weapon& gun = *shooter.weapons.back();
  shooter.heading = 0;
  fire(world, shooter);
  EXPECT_EQ(world.bullets.count(), 1);
  EXPECT_EQ(gun.ammo, 4);
  // The shot carries the gun's whole power: through a walker of a little less life, on. (The
  // outlines meet after the first step.)
  Person& walker =
      addPerson(world.pedestrians, world.bullets[0]->x + 22, world.bullets[0]->y, gun.power - 0.5);
  moveBullets(world);
  EXPECT_EQ(walker.damage, gun.power);
  EXPECT_EQ(world.bullets.count(), 1);

  fire(world, shooter);
  EXPECT_EQ(world.bullets.count(), 1);
  world.clock.setManual(50 + static_cast<uint32_t>(1000 / gun.rate) + 1);
  fire(world, shooter);
  EXPECT_EQ(world.bullets.count(), 2);
}

TEST_F(BulletWorld, AGrazingBulletHitsACornerAndANearMissDoesNot) {
  // Both end up beside the pedestrian's top-left corner, farther from its centre than its
  // own half-diagonal: only the two reaches together let the outlines be measured.
  Person& target = addPerson(world.pedestrians, 120, 300, 100);
  addBullet(96, 287, 0, 10);  // ends 2 pixels short of the corner
  moveBullets(world);
  EXPECT_EQ(target.damage, 0);
  EXPECT_EQ(world.bullets.count(), 1);
  removeRecord(world.bullets, 0);

  addBullet(97, 288, 0, 10);  // ends with its front corner half a pixel off
  moveBullets(world);
  EXPECT_EQ(target.damage, 10);
  EXPECT_TRUE(world.bullets.empty());
}

TEST_F(BulletWorld, MoneyAndMarksExpireAndMoneyIsPickedUpOnFootOrByCar) {
  auto item = [&](double x, double y, double value, int lifetime) {
    MoneyItem& m = add(world.moneyItems, x, y, 30, 30);
    m.value = value;
    m.lifetime = lifetime;
    m.createdAt = 1000;
  };
  Person& player = *world.player;
  player.x = player.y = 1500;
  item(100, 100, 1, 5);  // lasts until 6000, as a death mark made with it does
  add(world.deathMarks, 0, 0, 30, 40).createdAt = 1000;
  world.clock.setManual(6000);
  collectMoney(world);
  expireMarks(world);
  EXPECT_EQ(world.moneyItems.count() + world.deathMarks.count(), 2);
  world.clock.setManual(6001);
  collectMoney(world);
  expireMarks(world);
  EXPECT_EQ(world.moneyItems.count() + world.deathMarks.count(), 0);
  EXPECT_EQ(player.money, 0);

  item(500, 500, 25, 100);
  collectMoney(world);
  EXPECT_EQ(world.moneyItems.count(), 1);  // far away
  player.x = 515;
  player.y = 515;
  collectMoney(world);
  EXPECT_TRUE(world.moneyItems.empty());
  EXPECT_EQ(player.money, 25);

  // In a car the car's box collects, not the player's.
  Car& car = addCar(1000, 1000);
  player.inCar = true;
  player.targetCar = &car;
  item(500, 500, 40, 100);
  collectMoney(world);
  EXPECT_EQ(world.moneyItems.count(), 1);
  car.x = 540;  // its rear edge lies over the note
  car.y = 515;
  collectMoney(world);
  EXPECT_TRUE(world.moneyItems.empty());
  EXPECT_EQ(player.money, 65);

  // Money the dead drop is centred on its position, and picked up where it is drawn.
  add(world.moneyDrops, 400, 400, 30, 40).value = 9;
  player.inCar = false;
  player.x = 376;  // the player's box just reaches the coins' left edge
  player.y = 400;
  collectDrops(world);
  EXPECT_TRUE(world.moneyDrops.empty());
  EXPECT_EQ(player.money, 74);
}

TEST_F(BulletWorld, ADeadDriverLeavesNoReferenceBehind) {
  Car& wreck = addCar(100, 100);
  wreck.damage = wreck.life;
  Car& first = addCar(300, 100);
  Car& second = addCar(500, 100);
  seat(wreck, addPerson(world.drivers, 0, 0, 10)).damage = 10;
  Person& firstDriver = seat(first, addPerson(world.drivers, 0, 0, 10));
  firstDriver.damage = 10;
  seat(second, addPerson(world.drivers, 0, 0, 10));
  Person& victim = addPerson(world.pedestrians, 700, 100, 100);
  victim.attacker = &firstDriver;
  victim.scared = true;

  deathStep(world);  // driver 0 goes; driver 1 slides into its slot and waits a frame
  ASSERT_EQ(world.cars.count(), 2);  // the wreck is gone, having no driver to hurt
  EXPECT_EQ(world.cars[0], &first);
  EXPECT_EQ(first.driver, 0);
  EXPECT_EQ(second.driver, 1);
  EXPECT_EQ(victim.attacker, &firstDriver);

  deathStep(world);
  EXPECT_EQ(world.drivers.count(), 1);
  EXPECT_EQ(first.driver, NO_DRIVER);
  EXPECT_EQ(second.driver, 0);
  EXPECT_EQ(victim.attacker, nullptr);
}

}  // namespace
