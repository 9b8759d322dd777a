// Money pick-ups: the timed notes on the roads and the money the dead leave behind.
#include <cmath>
#include <cstdint>

#include "world/lifetime.h"
#include "world/world.h"
#include "sim/collision.h"
#include "sim/scratch.h"
#include "sim/weapons.h"

namespace {

// Whoever picks money up: the player's car while the player drives, else the player.
const Body& collectorOf(const Person& player) {
  if (player.inCar && player.targetCar) return *player.targetCar;
  return player;
}

}  // namespace

void collectMoney(World& world) {
  RecordList<MoneyItem>& items = world.moneyItems;
  // 64-bit, so neither a late clock nor a long lifetime wraps the deadline round.
  const int64_t now = world.clock.now();
  for (int i = 0; i < items.count(); ++i) {
    const MoneyItem& item = *items[i];
    if (static_cast<int64_t>(item.createdAt) + 1000 * static_cast<int64_t>(item.lifetime) < now)
      removeRecord(items, i);
  }

  if (!world.player) return;
  Person& player = *world.player;
  const Body& collector = collectorOf(player);
  for (int i = 0; i < items.count(); ++i) {
    const Rect rect = rectOf(*items[i]);
    if (!nearHouseNow(rect, collector)) continue;
    if (!boxRectCloserThan(collector, rect, BLOCK_DISTANCE, &scratchOf(world).outlines)) continue;
    player.money += items[i]->value;
    removeRecord(items, i);
  }
}

void collectDrops(World& world) {
  if (!world.player) return;
  Person& player = *world.player;
  const Body& collector = collectorOf(player);
  RecordList<MoneyDrop>& drops = world.moneyDrops;
  for (int i = 0; i < drops.count(); ++i) {
    const MoneyDrop& drop = *drops[i];
    // A drop is no Body; its reach is worked out from its own size.
    const double dropReach =
        std::sqrt((0.5 * drop.h) * (0.5 * drop.h) + (0.5 * drop.w) * (0.5 * drop.w));
    if (pointDistance(collector.x, collector.y, drop.x, drop.y) >=
        collector.halfDiagonal + dropReach)
      continue;
    if (!boxRectCloserThan(collector, rectOf(drop), BLOCK_DISTANCE, &scratchOf(world).outlines))
      continue;
    player.money += drop.value;
    removeRecord(drops, i);  // taken money is gone, or it would pay out every frame
  }
}
