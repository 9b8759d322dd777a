// Removing and clearing records without leaving any reference dangling.
//
// Records point at each other (world/references.h lists every such field): a body at its
// blocking house, a person at its target car, segments and attacker, a segment at its
// neighbours, a car names its driver by position in the drivers list. Records leave their
// lists only through here (RecordList keeps removal to itself and this file), so that each of
// those references is cleared or re-indexed first.
#pragma once

#include <vector>

#include "world/record_list.h"
#include "world/records.h"

struct World;

void removeHouse(World& world, int index);
void removeRoad(World& world, int index);
void removeSidewalk(World& world, int index);
void removeCar(World& world, int index);
void removePedestrian(World& world, int index);
void removeDriver(World& world, int index);
void removeBadGuy(World& world, int index);
// Destroys the player: nobody keeps it as attacker and a car it drove is free again.
void removePlayer(World& world);
void removeLawn(World& world, int index);
void removeWeapon(World& world, int index);

// Records nothing points at: removal is plain (later records move down one place).
void removeRecord(RecordList<Bullet>& list, int index);
void removeRecord(RecordList<MoneyItem>& list, int index);
void removeRecord(RecordList<MoneyDrop>& list, int index);
void removeRecord(RecordList<DeathMark>& list, int index);
// Removes the bullets whose flag in `gone` (one per bullet, by index) is set, in one sweep:
// the outcome of removing them one by one from the last to the first.
void removeRecords(RecordList<Bullet>& list, const std::vector<char>& gone);

// Empties houses, sidewalks, roads, lawns, weapons, cars, pedestrians, drivers,
// money items, bullets and bad guys; leaves death marks and money drops alone.
// The player stays, with every reference into the world cleared.
void clearWorld(World& world);
// Empties the death marks and money drops: what the dead of the last city left behind.
void clearRemains(World& world);
