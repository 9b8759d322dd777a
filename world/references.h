// The references between records, each field listed once: removal (world/lifetime) and the
// world check (world/world_check) both walk them through here, so a field added here is cleared
// by every removal and checked by every run.
#pragma once

#include <type_traits>

#include "world/world.h"

// Calls visit(record, field) for every field of `record` that names another record:
//   const House*&               a body's blocking house
//   int32_t&                    a car's driver (index into drivers, NO_DRIVER or PLAYER_DRIVER)
//   Car*&                       a person's target car
//   Person*&                    a person's attacker
//   const Segment*&             a person's segment, next and previous segment
//   std::vector<Segment*>&      a road's or sidewalk's neighbours
// `record` may be const; the fields are then const too.
template <class R, class F>
void forEachReference(R& record, F&& visit) {
  using T = std::remove_const_t<R>;
  if constexpr (std::is_base_of_v<Body, T>) visit(record, record.blockingHouse);
  if constexpr (std::is_same_v<T, Car>) visit(record, record.driver);
  if constexpr (std::is_same_v<T, Person>) {
    visit(record, record.targetCar);
    visit(record, record.attacker);
    visit(record, record.segment);
    visit(record, record.nextSegment);
    visit(record, record.previousSegment);
  }
  if constexpr (std::is_base_of_v<Segment, T>) visit(record, record.neighbours);
}

// Calls visit(record) for every record of the world: each list in its order, then the player.
// Kinds without references cost nothing here, and gain their checks the day they get one.
template <class W, class F>
void forEachRecord(W& world, F&& visit) {
  auto each = [&visit](auto& list) {
    for (const auto& r : list) visit(*r);
  };
  each(world.houses);
  each(world.sidewalks);
  each(world.roads);
  each(world.lawns);
  each(world.weapons);
  each(world.cars);
  each(world.pedestrians);
  each(world.deathMarks);
  each(world.moneyDrops);
  each(world.bullets);
  each(world.moneyItems);
  each(world.drivers);
  each(world.badGuys);
  if (world.player) visit(*world.player);
}
