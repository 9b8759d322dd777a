// Record removal that keeps every reference between records valid.
#include "world/lifetime.h"

#include <algorithm>

#include "world/references.h"
#include "world/world.h"

// The one holder of RecordList's removal (a friend of it).
struct RecordRemoval {
  template <class T>
  static void removeAt(RecordList<T>& list, int index) {
    list.removeAt(index);
  }
  template <class T, class Gone>
  static void removeWhere(RecordList<T>& list, Gone gone) {
    list.removeWhere(gone);
  }
  template <class T>
  static void clear(RecordList<T>& list) {
    list.clear();
  }
};

namespace {

// Clears every reference to a record that goes, with what depends on it. `gone` is the record,
// or nullptr when every record of the lists goes (only the player is left to visit then).
struct Forget {
  const void* gone = nullptr;
  bool goneIsDriver = false;  // cars after it in the drivers list move down one place
  int32_t seat = NO_DRIVER;   // the car driver value that names it

  bool goes(const void* p) const { return p && (!gone || p == gone); }

  void operator()(Body&, const House*& house) const {
    if (goes(house)) house = nullptr;
  }
  void operator()(Car&, int32_t& driver) const {
    if (seat == NO_DRIVER) return;
    if (driver == seat)
      driver = NO_DRIVER;
    else if (goneIsDriver && driver > seat)
      --driver;
  }
  void operator()(Person& p, Car*& car) const {
    if (!goes(car)) return;
    car = nullptr;
    p.inCar = false;
    p.walkingToCar = false;
    p.carDistance = NO_CONTACT;
  }
  void operator()(Person&, Person*& attacker) const {
    if (goes(attacker)) attacker = nullptr;
  }
  void operator()(Person& p, const Segment*& segment) const {
    if (!goes(segment)) return;
    // Re-attach on the next update: the walker picks the nearest segment again.
    p.segment = p.nextSegment = p.previousSegment = nullptr;
    p.waypointAX = p.waypointAY = p.waypointBX = p.waypointBY = -1;
  }
  void operator()(Segment&, std::vector<Segment*>& neighbours) const {
    neighbours.erase(std::remove_if(neighbours.begin(), neighbours.end(),
                                    [this](const Segment* s) { return goes(s); }),
                     neighbours.end());
  }
};

void forgetEverywhere(World& world, const Forget& forget) {
  forEachRecord(world, [&forget](auto& record) { forEachReference(record, forget); });
}

template <class T>
void removeReferenced(World& world, RecordList<T>& list, int index, int32_t seat = NO_DRIVER) {
  Forget forget;
  forget.gone = list[index];
  forget.seat = seat;
  forget.goneIsDriver = seat >= 0;
  forgetEverywhere(world, forget);
  RecordRemoval::removeAt(list, index);
}

}  // namespace

void removeHouse(World& world, int index) { removeReferenced(world, world.houses, index); }
void removeRoad(World& world, int index) { removeReferenced(world, world.roads, index); }
void removeSidewalk(World& world, int index) { removeReferenced(world, world.sidewalks, index); }
void removeCar(World& world, int index) { removeReferenced(world, world.cars, index); }
void removePedestrian(World& world, int index) {
  removeReferenced(world, world.pedestrians, index);
}
void removeDriver(World& world, int index) {
  removeReferenced(world, world.drivers, index, index);
}
void removeBadGuy(World& world, int index) { removeReferenced(world, world.badGuys, index); }

void removePlayer(World& world) {
  if (!world.player) return;
  Forget forget;
  forget.gone = world.player.get();
  forget.seat = PLAYER_DRIVER;
  forgetEverywhere(world, forget);
  world.player.reset();
}

void removeLawn(World& world, int index) { RecordRemoval::removeAt(world.lawns, index); }
void removeWeapon(World& world, int index) { RecordRemoval::removeAt(world.weapons, index); }

void removeRecord(RecordList<Bullet>& list, int index) { RecordRemoval::removeAt(list, index); }
void removeRecord(RecordList<MoneyItem>& list, int index) { RecordRemoval::removeAt(list, index); }
void removeRecord(RecordList<MoneyDrop>& list, int index) { RecordRemoval::removeAt(list, index); }
void removeRecord(RecordList<DeathMark>& list, int index) { RecordRemoval::removeAt(list, index); }
void removeRecords(RecordList<Bullet>& list, const std::vector<char>& gone) {
  RecordRemoval::removeWhere(list, [&](int i) { return i < static_cast<int>(gone.size()) && gone[i]; });
}

void clearWorld(World& world) {
  RecordRemoval::clear(world.houses);
  RecordRemoval::clear(world.sidewalks);
  RecordRemoval::clear(world.roads);
  RecordRemoval::clear(world.lawns);
  RecordRemoval::clear(world.weapons);
  RecordRemoval::clear(world.cars);
  RecordRemoval::clear(world.pedestrians);
  RecordRemoval::clear(world.drivers);
  RecordRemoval::clear(world.moneyItems);
  RecordRemoval::clear(world.bullets);
  RecordRemoval::clear(world.badGuys);
  if (Person* p = world.player.get()) {
    // The player outlives the city: nothing of it may point into the emptied lists, and it
    // stands on foot wherever it was.
    forEachReference(*p, Forget{});
    p->inCar = false;
    p->walkingToCar = false;
    p->carDistance = NO_CONTACT;
  }
}

void clearRemains(World& world) {
  RecordRemoval::clear(world.deathMarks);
  RecordRemoval::clear(world.moneyDrops);
}
