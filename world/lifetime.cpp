// Record removal that keeps every reference between records valid.
#include "world/lifetime.h"

#include "world/world.h"

namespace {

template <class Fn>
void forEachPerson(World& world, Fn fn) {
  for (auto& p : world.pedestrians) fn(*p);
  for (auto& p : world.drivers) fn(*p);
  for (auto& p : world.badGuys) fn(*p);
  if (world.player) fn(*world.player);
}

void forgetSegment(World& world, const Segment* gone) {
  forEachPerson(world, [gone](Person& p) {
    if (p.segment == gone || p.nextSegment == gone || p.previousSegment == gone) {
      // Re-attach on the next update: the walker picks the nearest segment again.
      p.segment = nullptr;
      p.nextSegment = nullptr;
      p.previousSegment = nullptr;
      p.waypointAX = p.waypointAY = p.waypointBX = p.waypointBY = -1;
    }
  });
  auto unlink = [gone](auto& list) {
    for (auto& s : list) {
      auto& n = s->neighbours;
      for (size_t i = 0; i < n.size();) {
        if (n[i] == gone)
          n.erase(n.begin() + static_cast<long>(i));
        else
          ++i;
      }
    }
  };
  unlink(world.roads);
  unlink(world.sidewalks);
}

// A person about to be destroyed: nobody may keep it as attacker, and the car it
// sits in loses its driver.
void forgetPerson(World& world, const Person* gone) {
  forEachPerson(world, [gone](Person& p) {
    if (p.attacker == gone) p.attacker = nullptr;
  });
}

}  // namespace

void removeHouse(World& world, int index) {
  const House* gone = world.houses[index];
  forEachPerson(world, [gone](Person& p) {
    if (p.blockingHouse == gone) p.blockingHouse = nullptr;
  });
  for (auto& c : world.cars)
    if (c->blockingHouse == gone) c->blockingHouse = nullptr;
  world.houses.removeAt(index);
}

void removeRoad(World& world, int index) {
  forgetSegment(world, world.roads[index]);
  world.roads.removeAt(index);
}

void removeSidewalk(World& world, int index) {
  forgetSegment(world, world.sidewalks[index]);
  world.sidewalks.removeAt(index);
}

void removeCar(World& world, int index) {
  const Car* gone = world.cars[index];
  forEachPerson(world, [gone](Person& p) {
    if (p.targetCar == gone) {
      p.targetCar = nullptr;
      p.inCar = false;
      p.walkingToCar = false;
      p.carDistance = NO_CONTACT;
    }
  });
  world.cars.removeAt(index);
}

void removePedestrian(World& world, int index) {
  forgetPerson(world, world.pedestrians[index]);
  world.pedestrians.removeAt(index);
}

void removeDriver(World& world, int index) {
  forgetPerson(world, world.drivers[index]);
  // Cars name their drivers by position: the driver's own car loses it, and
  // the drivers after it move down one place.
  for (auto& c : world.cars) {
    if (c->driver == index)
      c->driver = NO_DRIVER;
    else if (c->driver > index)
      --c->driver;
  }
  world.drivers.removeAt(index);
}

void removeBadGuy(World& world, int index) {
  forgetPerson(world, world.badGuys[index]);
  world.badGuys.removeAt(index);
}

void removePlayer(World& world) {
  if (!world.player) return;
  forgetPerson(world, world.player.get());
  for (auto& c : world.cars)
    if (c->driver == PLAYER_DRIVER) c->driver = NO_DRIVER;
  world.player.reset();
}

void removeLawn(World& world, int index) { world.lawns.removeAt(index); }
void removeWeapon(World& world, int index) { world.weapons.removeAt(index); }

void clearWorld(World& world) {
  world.houses.clear();
  world.sidewalks.clear();
  world.roads.clear();
  world.lawns.clear();
  world.weapons.clear();
  world.cars.clear();
  world.pedestrians.clear();
  world.drivers.clear();
  world.moneyItems.clear();
  world.bullets.clear();
  world.badGuys.clear();
  if (Person* p = world.player.get()) {
    // The player outlives the city: nothing of it may point into the emptied lists.
    p->targetCar = nullptr;
    p->inCar = false;
    p->walkingToCar = false;
    p->carDistance = NO_CONTACT;
    p->blockingHouse = nullptr;
    p->attacker = nullptr;
    p->segment = p->nextSegment = p->previousSegment = nullptr;
  }
}
