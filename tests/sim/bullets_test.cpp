// Bullet flight and hits, money pick-ups and the death step.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "world/world.h"
#include "sim/weapons.h"

namespace {

struct BulletWorld : ::testing::Test {
  World world;

  void SetUp() override {
    world.view = {0, 0, 800, 600};
    world.clock.setManual(10000);
    srand(1);
  }

  Bullet& addBullet(double x, double y, int heading, double power, int32_t range = 1000) {
    auto bullet = std::make_unique<Bullet>();
    static_cast<Body&>(*bullet) = Body(x, y, 10, 5, power, 0, heading);
    bullet->originX = x;
    bullet->originY = y;
    bullet->power = power;
    bullet->range = range;
    return *world.bullets.append(std::move(bullet));
  }

  // A 20 x 20 person facing east.
  Person& addPerson(RecordList<Person>& list, double x, double y, double life, double money = 0) {
    return *list.append(
        makePerson("someone", nullptr, 0, true, false, life, 0, 0, x, y, 20, 20, {}, 5, money));
  }

  Person& addPlayer(double x, double y) {
    world.player =
        makePerson("player", nullptr, 0, false, false, 100, 0, 0, x, y, 20, 20, {}, 5, 0);
    return *world.player;
  }

  // A 20 wide, 40 long car facing east.
  Car& addCar(double x, double y, double life, double damage = 0) {
    return *world.cars.append(makeMapCar(x, y, 20, 40, damage, life, 0, 5, 0, 4, 0, 0.1));
  }

  House& addHouse(double x, double y, double w, double h, double life) {
    auto house = std::make_unique<House>();
    house->x = x;
    house->y = y;
    house->w = w;
    house->h = h;
    house->life = life;
    return *world.houses.append(std::move(house));
  }

  void frame() {
    moveBullets(world);
    deathStep(world);
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
}

TEST_F(BulletWorld, AGrazingBulletHitsACornerAndANearMissDoesNot) {
  // Both end up beside the pedestrian's top-left corner, farther from its centre than its
  // own half-diagonal: only the two reaches together let the outlines be measured.
  Person& target = addPerson(world.pedestrians, 120, 300, 100);
  addBullet(96, 287, 0, 10);  // ends 2 pixels short of the corner
  moveBullets(world);
  EXPECT_EQ(target.damage, 0);
  EXPECT_EQ(world.bullets.count(), 1);
  world.bullets.clear();

  addBullet(97, 288, 0, 10);  // ends with its front corner half a pixel off
  moveBullets(world);
  EXPECT_EQ(target.damage, 10);
  EXPECT_TRUE(world.bullets.empty());
}

TEST_F(BulletWorld, TheBulletAfterASpentOneSitsOutThatGroupForAFrame) {
  Person& target = addPerson(world.pedestrians, 120, 300, 100);
  Person& gunman = addPerson(world.badGuys, 120, 300, 100);
  addBullet(100, 300, 0, 50);
  addBullet(100, 300, 0, 50);

  moveBullets(world);
  EXPECT_EQ(target.damage, 50);  // the first bullet, spent on it; the second skipped it
  EXPECT_EQ(gunman.damage, 50);  // the second bullet, in the next group
  EXPECT_TRUE(world.bullets.empty());
}

TEST_F(BulletWorld, APassingBulletHitsTheNextTargetInALaterFrame) {
  addPerson(world.pedestrians, 120, 300, 20, 5);
  Person& second = addPerson(world.pedestrians, 150, 300, 40, 8);
  Bullet& bullet = addBullet(100, 300, 0, 50);

  frame();
  ASSERT_EQ(world.bullets.count(), 1);
  EXPECT_EQ(bullet.damage, 20);  // what the first one had left, taken before it was hit
  ASSERT_EQ(world.pedestrians.count(), 1);
  EXPECT_EQ(world.pedestrians[0], &second);
  EXPECT_EQ(second.damage, 0);

  frame();
  frame();
  EXPECT_EQ(world.bullets.count(), 1);
  EXPECT_EQ(second.damage, 0);
  frame();
  EXPECT_TRUE(world.bullets.empty());
  EXPECT_TRUE(world.pedestrians.empty());
  ASSERT_EQ(world.moneyDrops.count(), 2);
  EXPECT_EQ(world.moneyDrops[1]->value, 8);
}

TEST_F(BulletWorld, DeadTargetsCarsAndThePlayerInsideStillTakeHits) {
  Person& corpse = addPerson(world.pedestrians, 120, 300, 10);
  corpse.damage = 10;
  Bullet& throughCorpse = addBullet(100, 300, 0, 50);
  moveBullets(world);
  EXPECT_EQ(corpse.damage, 60);
  EXPECT_EQ(throughCorpse.damage, 0);
  world.pedestrians.clear();
  world.bullets.clear();

  // The player sits in a nearly wrecked car; the bullet meets the car's rear edge first
  // and the player's box one frame later.
  Car& car = addCar(300, 300, 100, 90);
  Person& player = addPlayer(300, 300);
  player.inCar = true;
  player.targetCar = &car;
  car.driver = PLAYER_DRIVER;
  addBullet(268, 300, 0, 30);
  moveBullets(world);
  EXPECT_EQ(car.damage, 120);
  EXPECT_EQ(player.damage, 0);
  ASSERT_EQ(world.bullets.count(), 1);
  EXPECT_EQ(world.bullets[0]->damage, 10);
  moveBullets(world);
  EXPECT_EQ(car.damage, 120);  // inside the car's outline it is not seen
  EXPECT_EQ(player.damage, 30);
  EXPECT_TRUE(world.bullets.empty());
}

TEST_F(BulletWorld, RangeAndTheScreenEdgeEndAFlight) {
  Bullet& ranged = addBullet(100, 300, 0, 10, 300);
  for (int i = 0; i < 30; ++i) moveBullets(world);
  ASSERT_EQ(world.bullets.count(), 1);  // exactly 300 away is still in range
  EXPECT_DOUBLE_EQ(ranged.x, 400);
  moveBullets(world);
  EXPECT_TRUE(world.bullets.empty());  // 310 away, though well on screen

  Bullet& edge = addBullet(790, 300, 0, 10);  // its tail stays on the last column
  addBullet(795, 300, 0, 10);                 // wholly beyond it after one step
  moveBullets(world);
  ASSERT_EQ(world.bullets.count(), 1);
  EXPECT_EQ(world.bullets[0], &edge);
  EXPECT_DOUBLE_EQ(edge.x, 800);

  // A bullet that moves into a freed slot waits a frame.
  world.bullets.clear();
  addBullet(795, 300, 0, 10);
  Bullet& next = addBullet(795, 500, 0, 10);
  moveBullets(world);
  ASSERT_EQ(world.bullets.count(), 1);
  EXPECT_EQ(next.x, 795);
  moveBullets(world);
  EXPECT_TRUE(world.bullets.empty());

  Bullet& spent = addBullet(400, 300, 0, 10);
  spent.damage = 10;
  moveBullets(world);
  EXPECT_TRUE(world.bullets.empty());
}

TEST_F(BulletWorld, AShotDownHouseGoesInTheSameFrame) {
  House& house = addHouse(300, 250, 100, 100, 100);
  House& other = addHouse(600, 250, 100, 100, 100);
  Person& player = addPlayer(200, 200);
  player.blockingHouse = &house;
  Bullet& bullet = addBullet(288, 300, 0, 60);

  frame();
  EXPECT_EQ(house.damage, 60);
  EXPECT_EQ(bullet.damage, 40);  // what the house has left after the hit
  ASSERT_EQ(world.houses.count(), 2);

  moveBullets(world);
  EXPECT_EQ(house.damage, 120);
  deathStep(world);
  ASSERT_EQ(world.houses.count(), 1);
  EXPECT_EQ(world.houses[0], &other);
  EXPECT_EQ(player.blockingHouse, nullptr);
}

TEST_F(BulletWorld, ABulletOutlivesTheGunmanWhoFiredIt) {
  Person& gunman = addPerson(world.badGuys, 100, 300, 50);
  gunman.weapons.push_back(makeWeapon("Gun", 0, 0, -1, 500, 1, 1, 30, 10));
  gunman.currentWeapon = 1;
  Person& victim = addPerson(world.pedestrians, 160, 310, 100);
  fire(world, gunman);
  ASSERT_EQ(world.bullets.count(), 1);

  gunman.damage = 50;
  deathStep(world);
  ASSERT_TRUE(world.badGuys.empty());

  for (int i = 0; i < 3; ++i) frame();
  EXPECT_EQ(victim.damage, 0);
  frame();
  EXPECT_EQ(victim.damage, 30);
  EXPECT_TRUE(world.bullets.empty());
}

TEST_F(BulletWorld, MoneyExpiresAndIsPickedUpOnFootOrByCar) {
  auto item = [&](double x, double y, double value, int lifetime) -> MoneyItem& {
    auto m = std::make_unique<MoneyItem>();
    m->x = x;
    m->y = y;
    m->value = value;
    m->lifetime = lifetime;
    m->createdAt = 1000;
    return *world.moneyItems.append(std::move(m));
  };
  Person& player = addPlayer(1500, 1500);
  item(100, 100, 1, 5);  // lasts until 6000
  world.clock.setManual(6000);
  collectMoney(world);
  EXPECT_EQ(world.moneyItems.count(), 1);
  world.clock.setManual(6001);
  collectMoney(world);
  EXPECT_TRUE(world.moneyItems.empty());
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
  Car& car = addCar(1000, 1000, 100);
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
}

TEST_F(BulletWorld, DropsArePickedUpOnceOnFootOrByCar) {
  auto drop = [&](double x, double y, double value) {
    auto d = std::make_unique<MoneyDrop>();
    d->x = x;
    d->y = y;
    d->value = value;
    world.moneyDrops.append(std::move(d));
  };
  Person& player = addPlayer(1500, 1500);
  drop(400, 400, 25);
  drop(1000, 1000, 9);
  collectDrops(world);
  EXPECT_EQ(world.moneyDrops.count(), 2);

  player.x = 376;  // the player's box just reaches the coins' left edge as they are drawn
  player.y = 400;
  collectDrops(world);
  collectDrops(world);
  EXPECT_EQ(player.money, 25);
  ASSERT_EQ(world.moneyDrops.count(), 1);
  EXPECT_EQ(world.moneyDrops[0]->value, 9);

  Car& car = addCar(990, 1020, 100);
  player.inCar = true;
  player.targetCar = &car;
  player.x = 1015;  // the player's own box would touch the drop, but it sits in a car
  player.y = 1020;
  car.x = 1500;
  collectDrops(world);
  EXPECT_EQ(world.moneyDrops.count(), 1);
  car.x = 990;
  collectDrops(world);
  EXPECT_TRUE(world.moneyDrops.empty());
  EXPECT_EQ(player.money, 34);
}

TEST_F(BulletWorld, TheDeadLeaveMarksAndMoneyInOrder) {
  addPerson(world.pedestrians, 50, 60, 100);
  Person& walker = addPerson(world.pedestrians, 100, 110, 10, 1);
  walker.damage = 10;
  Person& gunman = addPerson(world.badGuys, 200, 210, 10, 2);
  gunman.damage = 12;
  Person& driver = addPerson(world.drivers, 300, 310, 10, 3);
  driver.damage = 10;
  Person& player = addPlayer(500, 500);
  player.damage = player.life;

  world.clock.setManual(12345);
  deathStep(world);
  EXPECT_EQ(world.pedestrians.count(), 1);
  EXPECT_TRUE(world.badGuys.empty());
  EXPECT_TRUE(world.drivers.empty());
  EXPECT_NE(world.player, nullptr);  // the game, not the death step, ends the player

  ASSERT_EQ(world.deathMarks.count(), 3);
  ASSERT_EQ(world.moneyDrops.count(), 3);
  const double xs[] = {100, 200, 300};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(world.deathMarks[i]->x, xs[i]);
    EXPECT_EQ(world.deathMarks[i]->y, xs[i] + 10);
    EXPECT_EQ(world.deathMarks[i]->createdAt, 12345u);
    EXPECT_EQ(world.deathMarks[i]->value, 0);
    EXPECT_EQ(world.moneyDrops[i]->x, xs[i]);
    EXPECT_EQ(world.moneyDrops[i]->y, xs[i] + 10);
    EXPECT_EQ(world.moneyDrops[i]->value, i + 1);
  }

  // Of two dead neighbours the second moves into the freed slot and goes next frame.
  world.pedestrians.clear();
  addPerson(world.pedestrians, 10, 10, 1).damage = 1;
  addPerson(world.pedestrians, 20, 20, 1).damage = 1;
  deathStep(world);
  EXPECT_EQ(world.pedestrians.count(), 1);
  deathStep(world);
  EXPECT_TRUE(world.pedestrians.empty());
}

TEST_F(BulletWorld, ADeadDriverLeavesNoReferenceBehind) {
  Car& wreck = addCar(100, 100, 100, 100);
  Car& first = addCar(300, 100, 100);
  Car& second = addCar(500, 100, 100);
  Person& wreckDriver = addPerson(world.drivers, 100, 100, 10);
  wreckDriver.damage = 10;
  Person& firstDriver = addPerson(world.drivers, 300, 100, 10);
  firstDriver.damage = 10;
  addPerson(world.drivers, 500, 100, 10);
  wreck.driver = 0;
  first.driver = 1;
  second.driver = 2;
  for (auto& d : world.drivers) d->inCar = true;
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

TEST_F(BulletWorld, FullListsDropTheRemainsButNotTheRemoval) {
  while (!world.deathMarks.full()) world.deathMarks.append(std::make_unique<DeathMark>());
  addPerson(world.pedestrians, 100, 100, 5, 4).damage = 5;
  deathStep(world);
  EXPECT_TRUE(world.pedestrians.empty());
  EXPECT_EQ(world.deathMarks.count(), BIG_LIST_CAPACITY);
  ASSERT_EQ(world.moneyDrops.count(), 1);
  EXPECT_EQ(world.moneyDrops[0]->value, 4);
}

TEST_F(BulletWorld, DeathMarksFadeAfterFiveSeconds) {
  auto mark = std::make_unique<DeathMark>();
  mark->createdAt = 10000;
  world.deathMarks.append(std::move(mark));
  world.clock.setManual(15000);
  expireMarks(world);
  EXPECT_EQ(world.deathMarks.count(), 1);
  world.clock.setManual(15001);
  expireMarks(world);
  EXPECT_TRUE(world.deathMarks.empty());
}

}  // namespace
