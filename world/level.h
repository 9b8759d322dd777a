// Level start: a fresh city from the map, money on the roads, a new player.
#pragma once

#include <memory>
#include <vector>

#include "world/records.h"

struct World;

void placeMoneyItems(World& world);
// The player "Valdero" at the start point (100, 100) with its life, money and wanted level 5,
// carrying the bare hands and `guns`.
std::unique_ptr<Person> makeValdero(std::vector<std::unique_ptr<Weapon>> guns);
// Makes the player "Valdero" at (100, 100) with the standard arsenal (replacing any old one).
void makeStartPlayer(World& world);
void startLevel(World& world);
