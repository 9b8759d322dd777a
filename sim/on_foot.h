// Walking shared by every person: the step with its speed ramp and animation, the house
// test, the slide along a wall, and the player's own move with its car contact.
#pragma once

struct World;
struct Person;

enum class WalkStep { Forward, Backward };
// "up" (forward), "down" (backward).
const char* nameOf(WalkStep step);

void walkStep(Person& person, WalkStep step);
void houseTest(const World& world, Person& person);
void slideStep(Person& person, WalkStep step);
// Commits the player's tentative centre unless a car is in contact (which hurts).
void playerMove(World& world);
// The same move rule for a given person (the player walking to its car).
void moveWithCarContact(World& world, Person& person);
// The player's frame on foot, not walking to a car.
void playerFootStep(World& world, bool forwardHeld, bool backwardHeld);
// Walking speed keys 1 and 2: +0.1 / -0.1 kept within 1.0..topWalkSpeed.
void changeWalkSpeed(Person& person, double delta);
