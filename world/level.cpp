// Level start: the city reloaded from its map, money scattered on the roads, a fresh player.
#include "world/level.h"

#include <algorithm>

#include "world/builders.h"
#include "world/lifetime.h"
#include "world/map_files.h"
#include "world/saturate.h"
#include "world/world.h"

namespace {

constexpr int MONEY_ITEMS_PER_LEVEL = 10;
constexpr double MONEY_ITEM_VALUE = 1000.0;
constexpr int32_t MONEY_ITEM_LIFETIME = 10000;  // seconds


}  // namespace

void placeMoneyItems(World& world) {
  const int roadCount = world.roads.count();
  if (roadCount == 0) return;
  for (int n = 0; n < MONEY_ITEMS_PER_LEVEL; ++n) {
    const Road& road = *world.roads[world.random.next() % roadCount];
    const int spanX = truncateToInt(road.w - 10);
    const int spanY = truncateToInt(road.h - 10);
    // A road narrower or lower than 11 units has no room 10 units in from its edge.
    if (spanX <= 0 || spanY <= 0) continue;
    const int x = truncateToInt(road.x + 10 + world.random.next() % spanX);
    const int y = truncateToInt(road.y + 10 + world.random.next() % spanY);
    auto item = std::make_unique<MoneyItem>();
    item->x = x;
    item->y = y;
    item->w = 30;
    item->h = 30;
    item->value = MONEY_ITEM_VALUE;
    item->lifetime = MONEY_ITEM_LIFETIME;
    item->createdAt = world.clock.now();
    world.moneyItems.append(std::move(item));
  }
}

std::unique_ptr<Person> makeValdero(std::vector<std::unique_ptr<Weapon>> guns) {
  PersonSpec spec;
  spec.name("Valdero").at(100.0, 100.0).wanted(5.0).hands(100.0).money(1000.0).flag(false);
  for (auto& gun : guns) spec.gun(std::move(gun));
  auto player = spec.make();
  player->enteredAt = -10;
  return player;
}

void makeStartPlayer(World& world) {
  removePlayer(world);
  auto player = makeValdero({});
  const double x = player->x, y = player->y;
  addWeapon(*player, makeAK47(x, y, 100));
  addWeapon(*player, makeM4(x, y));
  addWeapon(*player, makeAK47(x, y, 60));  // merges into the first: 160 rounds
  world.player = std::move(player);
}

void startLevel(World& world) {
  clearWorld(world);
  loadMap(world);
  placeMoneyItems(world);
  makeStartPlayer(world);
}

std::unique_ptr<Person> makeFirstPlayer() {
  constexpr double START_X = 100.0, START_Y = 100.0;
  std::vector<std::unique_ptr<Weapon>> guns;
  guns.push_back(makeAK47(START_X, START_Y));
  guns.push_back(makeM4(START_X, START_Y));
  auto player = makeValdero(std::move(guns));
  // The first start of the program is calmer than a level start.
  player->wantedLevel = 3.0;
  return player;
}

bool startFirstCity(World& world) {
  world.player = makeFirstPlayer();
  world.levels = readLevelList();
  const Person& player = *world.player;
  world.cursorX = static_cast<int>(player.x) + 50;
  world.cursorY = static_cast<int>(player.y) + 50;
  if (world.mapName.empty() && !world.levels.empty()) world.mapName = world.levels[0];
  if (!world.mapName.empty() &&
      std::find(world.levels.begin(), world.levels.end(), world.mapName) == world.levels.end())
    return false;
  if (!world.mapName.empty()) {
    loadMap(world);
    placeMoneyItems(world);
  }
  if (!world.houses.empty()) world.houses[0]->text = "Brannik";
  return true;
}
