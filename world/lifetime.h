// Removing and clearing records without leaving any reference dangling.
//
// Records point at each other: a person at its target car, segments, blocking
// house and attacker; a segment at its neighbours; a car names its driver by
// position in the drivers list. Every removal of such a record goes through
// here, so that each of those references is cleared or re-indexed first.
#pragma once

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
// Lawns and map weapons are referred to by nothing; removal is plain.
void removeLawn(World& world, int index);
void removeWeapon(World& world, int index);

// Empties houses, sidewalks, roads, lawns, weapons, cars, pedestrians, drivers,
// money items, bullets and bad guys; leaves death marks and money drops alone.
// The player stays, with every reference into the world cleared.
void clearWorld(World& world);
