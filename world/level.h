// Level start: a fresh city from the map, money on the roads, a new player.
#pragma once

struct World;

void placeMoneyItems(World& world);
// Makes the player "Valdero" at (100, 100) with the standard arsenal (replacing any old one).
void makeStartPlayer(World& world);
void startLevel(World& world);
