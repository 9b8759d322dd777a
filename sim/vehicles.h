// Cars: driving commands, friction, the car step with its bounce, running over,
// boarding and leaving, and destroyed cars.
#pragma once

struct World;
struct Car;
struct Person;
class OutlineMemo;

enum class DriveCommand { Gas, Brake, Handbrake };
// "gas", "brake", "handbrake".
const char* nameOf(DriveCommand command);
void driveCommand(Car& car, DriveCommand command);
void applyFriction(Car& car);
void steerCar(Car& car, int degrees);  // only while the car rolls
void moveCars(World& world);
void runOver(World& world);

void pickTargetCar(World& world, Person& person);
void updateCarDistance(Person& person, OutlineMemo* memo = nullptr);
// The player walking to its target car for one frame, boarding it when it is reached.
void walkToCar(World& world, Person& player);
// The player boards its target car; a driver in it is put out and flees.
void enterCar(World& world, Person& player);
// Puts the person out at the car's exit point (committed).
void leaveCar(Person& person);

struct ExitPoint {
  double x, y;
};
ExitPoint exitPoint(const Car& car);

void destroyCars(World& world);
