// The death step: the dead leave a blood stain and their money and are removed, then
// wrecked cars and shot-down houses go. Removal goes through world/lifetime so that no
// record is left pointing at the dead.
#include <cstdint>
#include <memory>

#include "world/world.h"
#include "sim/vehicles.h"
#include "sim/weapons.h"
#include "world/lifetime.h"

namespace {

// A full list drops the new mark or drop; the person is removed regardless.
void leaveRemains(World& world, const Person& person, uint32_t now) {
  auto mark = std::make_unique<DeathMark>();
  mark->x = person.x;
  mark->y = person.y;
  mark->createdAt = now;
  world.deathMarks.append(std::move(mark));

  auto drop = std::make_unique<MoneyDrop>();
  drop->x = person.x;
  drop->y = person.y;
  drop->value = person.money;
  world.moneyDrops.append(std::move(drop));
}

// A removal moves the next person into slot i; that one is looked at next frame.
void removeDead(World& world, RecordList<Person>& list, void (*remove)(World&, int)) {
  const uint32_t now = world.clock.now();
  for (int i = 0; i < list.count(); ++i) {
    if (!isDead(*list[i])) continue;
    leaveRemains(world, *list[i], now);
    remove(world, i);
  }
}

}  // namespace

void deathStep(World& world) {
  removeDead(world, world.pedestrians, removePedestrian);
  removeDead(world, world.badGuys, removeBadGuy);
  removeDead(world, world.drivers, removeDriver);
  destroyCars(world);
  for (int i = 0; i < world.houses.count(); ++i) {
    const House& house = *world.houses[i];
    if (isDead(house)) removeHouse(world, i);
  }
}

void expireMarks(World& world) {
  const int64_t now = world.clock.now();
  RecordList<DeathMark>& marks = world.deathMarks;
  for (int i = 0; i < marks.count(); ++i) {
    // Signed, so a mark stamped after a clock reset is not taken for an ancient one.
    if (now - static_cast<int64_t>(marks[i]->createdAt) > DEATH_MARK_MS) removeRecord(marks, i);
  }
}
