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
// One frame of the player or a driver on foot walking to its target car, boarding it when it
// is reached.
void walkToCar(World& world, Person& person);
// Whoever else sits in the car gets out for the boarder: the player just steps out, a driver
// flees from the boarder, scared.
void putOut(World& world, Car& car, Person& boarder);
// The player or a driver boards its target car, putting out whoever sits in it.
void enterCar(World& world, Person& person);
// Puts the person out at the car's exit point (committed).
void leaveCar(Person& person);
// The same without committing the move: the exit point is only the tentative centre.
void stepOutOf(Person& person, Car& car);

struct ExitPoint {
  double x, y;
};
ExitPoint exitPoint(const Car& car);

void destroyCars(World& world);
