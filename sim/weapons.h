// Weapons and what they leave behind: switching, firing, bullets, money, the death step.
#pragma once

struct World;
struct Person;
struct Weapon;

// Weapon keys: m steps forward, n steps back, both wrapping round; no weapons, no change.
void nextWeapon(Person& person);
void previousWeapon(Person& person);
// The current weapon, or nullptr when the index names none.
Weapon* currentWeaponOf(Person& person);

// Fires the shooter's current weapon when its rate and ammunition allow: on-screen
// pedestrians panic and a bullet leaves the shooter's front-right corner.
void fire(World& world, Person& shooter);
// Flies every bullet 10 pixels, drops the spent and the stray, then lets the bullets hit
// houses, cars, pedestrians, bad guys, drivers and the player, in that order.
void moveBullets(World& world);
// Money on the roads: expired items vanish, items under the player (or its car) are taken.
void collectMoney(World& world);
// Money dropped by the dead, taken by the player (or its car); a taken drop disappears.
void collectDrops(World& world);
// Removes the dead: persons leave a death mark and their money, then cars, then houses.
void deathStep(World& world);
// Death marks fade after this long.
constexpr int DEATH_MARK_MS = 5000;
void expireMarks(World& world);
