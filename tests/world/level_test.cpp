// Level start: money on the roads, the start player, the restart of the shipped test town.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "world/level.h"
#include "world/lifetime.h"
#include "world/map_files.h"
#include "support/records.h"
#include "support/scratch.h"
#include "world/world.h"
#include "world/world_check.h"
using namespace testsupport;

namespace {

bool onRoad(const World& world, const MoneyItem& item) {
  for (const auto& r : world.roads)
    if (item.x >= r->x + 10 && item.x < r->x + r->w && item.y >= r->y + 10 &&
        item.y < r->y + r->h)
      return true;
  return false;
}

// The player's own fields and weapons as one line.
std::string describe(const Person& p) {
  std::ostringstream o;
  o << p.name << ' ' << p.x << ' ' << p.y << ' ' << p.w << ' ' << p.h << " life " << p.life << ' '
    << p.damage << " wanted " << p.wantedLevel << " money " << p.money << " hands "
    << p.handsPower << " weapon " << p.currentWeapon << " flags " << p.flag << p.inCar << ' '
    << p.enteredAt << (p.targetCar ? " in a car" : "");
  for (const auto& w : p.weapons)
    o << ' ' << w->name << ':' << w->ammo << '/' << w->power << '/' << w->rate;
  return o.str();
}

const char* const kTown = "smalltown";  // shipped in maps/, read from the repository root

}  // namespace

TEST(PlaceMoneyItems, TenItemsInsideTheirRoads) {
  World world;
  placeMoneyItems(world);
  EXPECT_EQ(world.moneyItems.count(), 0);  // no roads, no money

  world.roads.append(makeRect<Road>(100, 100, 400, 60));
  world.roads.append(makeRect<Road>(1000, 50, 60, 900));
  world.roads.append(makeRect<Road>(2000, 2000, 11, 11));  // exactly room for one spot
  world.random.seed(1234);
  placeMoneyItems(world);
  ASSERT_EQ(world.moneyItems.count(), 10);
  for (const auto& m : world.moneyItems) {
    EXPECT_TRUE(onRoad(world, *m)) << m->x << "," << m->y;
    EXPECT_EQ(m->x, std::trunc(m->x));
    if (m->x >= 2000) {
      EXPECT_EQ(m->y, 2010);
    }
  }

  // A list that already holds money takes only what fits.
  placeMoneyItems(world);
  placeMoneyItems(world);
  EXPECT_EQ(world.moneyItems.count(), MONEY_ITEM_CAPACITY);
}

TEST(StartLevel, GivesTheStandardPlayerAndTheMapAsSaved) {
  World world;
  world.mapName = kTown;
  world.clock.setManual(500);
  world.random.seed(42);
  startLevel(world);
  const int cars = world.cars.count();
  ASSERT_GE(cars, 2) << "run from the repository root";

  const std::string standard =
      "Valdero 100 100 29 18 life 100 0 wanted 5 money 1000 hands 100 weapon 0 flags 00 -10 "
      "Hands:-1/100/4 AK47:160/1000/10 M4:1000/10/30";
  EXPECT_EQ(describe(*world.player), standard);
  EXPECT_EQ(world.moneyItems.count(), 10);
  EXPECT_EQ(world.moneyItems[0]->createdAt, 500u);

  // Play changes everything; a restart brings the map and the player back.
  Car& car = *world.cars[0];
  const double carX = car.x, carY = car.y;
  car.x += 300;
  car.damage = car.life;
  car.driver = PLAYER_DRIVER;
  removeCar(world, 1);
  world.player->targetCar = world.cars[0];
  world.player->inCar = true;
  world.player->damage = 100.0;
  world.player->money = 3;
  world.player->weapons[1]->ammo = 0;
  world.player->currentWeapon = 2;
  world.bullets.append(std::make_unique<Bullet>());
  world.deathMarks.append(std::make_unique<DeathMark>());
  world.moneyDrops.append(std::make_unique<MoneyDrop>());
  startLevel(world);
  ASSERT_EQ(world.cars.count(), cars);
  EXPECT_DOUBLE_EQ(world.cars[0]->x, carX);
  EXPECT_DOUBLE_EQ(world.cars[0]->y, carY);
  EXPECT_DOUBLE_EQ(world.cars[0]->damage, 0.0);
  EXPECT_EQ(world.cars[0]->driver, NO_DRIVER);
  EXPECT_EQ(world.bullets.count() + world.deathMarks.count() + world.moneyDrops.count(), 0);
  EXPECT_EQ(world.moneyItems.count(), 10);
  EXPECT_EQ(describe(*world.player), standard);
}

TEST(ClearWorld, EmptiesTheCityAndLeavesThePlayerWithoutReferences) {
  World world;
  world.mapName = kTown;
  startLevel(world);
  ASSERT_GT(world.sidewalks.count(), 0) << "run from the repository root";
  Person& p = *world.player;
  p.targetCar = world.cars[0];
  p.inCar = true;
  p.blockingHouse = world.houses[0];
  p.attacker = world.badGuys[0];
  p.segment = world.sidewalks[0];
  p.nextSegment = world.sidewalks[1];
  p.previousSegment = world.roads[0];
  world.deathMarks.append(std::make_unique<DeathMark>());
  world.moneyDrops.append(std::make_unique<MoneyDrop>());
  world.bullets.append(std::make_unique<Bullet>());

  clearWorld(world);
  EXPECT_EQ(world.houses.count() + world.sidewalks.count() + world.roads.count() +
                world.lawns.count() + world.weapons.count() + world.cars.count() +
                world.pedestrians.count() + world.drivers.count() + world.moneyItems.count() +
                world.bullets.count() + world.badGuys.count(),
            0);
  EXPECT_EQ(world.deathMarks.count(), 1);  // the next map load empties these
  EXPECT_EQ(world.moneyDrops.count(), 1);
  ASSERT_EQ(world.player.get(), &p);
  EXPECT_FALSE(p.inCar);
  EXPECT_EQ(checkWorld(world), std::vector<std::string>{});
}

// The shipped town (checked for links, houses and ground by the generator's tests) saves back
// byte for byte.
TEST(TestTown, SavesBackAsShipped) {
  World world;
  world.mapName = kTown;
  loadMap(world);
  ASSERT_GT(world.houses.count(), 0) << "run from the repository root";
  const auto home = std::filesystem::current_path();
  ScratchDir scratch;
  ASSERT_EQ(saveMap(world), "");
  for (int f = 0; f < MAP_FILE_COUNT; ++f) {
    const std::string file = mapFilePath(kTown, static_cast<MapFile>(f));
    EXPECT_EQ(readFile(file), readFile((home / file).string())) << file;
  }
}
