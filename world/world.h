// The city: the thirteen lists, the player, the map's name and the level list, the clock, the
// cursor and the view that the rules look through.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "world/clock.h"
#include "world/random.h"
#include "world/record_list.h"
#include "world/records.h"
#include "world/rect.h"

// The simulation's working memory (candidate lists, pass grids), defined in sim/. The world
// keeps it so that the simulation holds no state of its own between calls.
struct SimScratch;
struct SimScratchDeleter {
  void (*destroy)(SimScratch*) = nullptr;  // set by the simulation when it makes one
  void operator()(SimScratch* scratch) const {
    if (destroy) destroy(scratch);
  }
};

constexpr int BIG_LIST_CAPACITY = 500;
constexpr int BULLET_CAPACITY = 2000;
constexpr int MONEY_ITEM_CAPACITY = 20;

struct World {
  // The camera on the city. Bullets leave it, pedestrians panic in it, drivers flee a diagonal
  // of it away, and it follows the player; its size is the screen's, set by the app.
  View view;

  std::string mapName;
  std::vector<std::string> levels;
  int cursorX = 0, cursorY = 0;  // world coordinates, kept in 1..2999

  RecordList<House> houses{BIG_LIST_CAPACITY};
  RecordList<Sidewalk> sidewalks{BIG_LIST_CAPACITY};
  RecordList<Road> roads{BIG_LIST_CAPACITY};
  RecordList<Lawn> lawns{BIG_LIST_CAPACITY};
  RecordList<Weapon> weapons{BIG_LIST_CAPACITY};  // lying in the city
  RecordList<Car> cars{BIG_LIST_CAPACITY};
  RecordList<Person> pedestrians{BIG_LIST_CAPACITY};
  RecordList<DeathMark> deathMarks{BIG_LIST_CAPACITY};
  RecordList<MoneyDrop> moneyDrops{BIG_LIST_CAPACITY};
  RecordList<Bullet> bullets{BULLET_CAPACITY};
  RecordList<MoneyItem> moneyItems{MONEY_ITEM_CAPACITY};
  RecordList<Person> drivers{BIG_LIST_CAPACITY};
  RecordList<Person> badGuys{BIG_LIST_CAPACITY};

  std::unique_ptr<Person> player;
  uint32_t shotsFired = 0;  // numbers the bullets, so that a bullet is told from its successor

  Clock clock;
  RandomStream random;  // every draw of the simulation; seeded by the game's start or a replay

  // Made by the simulation on first use; no outcome depends on what it holds, so passes that
  // only read the world may still use it.
  mutable std::unique_ptr<SimScratch, SimScratchDeleter> scratch;
};
