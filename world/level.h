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
// The player as the program's start builds it: "Valdero" at (100, 100) with an AK47 of 100
// rounds and an M4 beside the bare hands, wanted level 3.
std::unique_ptr<Person> makeFirstPlayer();
// The city as the program starts it: the first player with the cursor 50 pixels below and right
// of it, the level list read, and the map (world.mapName, else the list's first) loaded with
// its money; the first house is "Brannik". Without a map the city starts empty. Returns false,
// loading nothing, when world.mapName is set but not in the list.
bool startFirstCity(World& world);
