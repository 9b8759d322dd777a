// Weapons and what they leave behind: switching, firing, bullets, money, the death step.
#pragma once

struct World;
struct Person;
struct Weapon;

void nextWeapon(Person& person);
void previousWeapon(Person& person);
// The current weapon, or nullptr when the index names none.
Weapon* currentWeaponOf(Person& person);

void fire(World& world, Person& shooter);
void moveBullets(World& world);
void collectMoney(World& world);
void collectDrops(World& world);
void deathStep(World& world);
void expireMarks(World& world);
