// One frame of the city's simulation, every step in the order it runs.
#include "sim/tick.h"

#include "sim/camera.h"
#include "sim/collision.h"
#include "sim/hostiles.h"
#include "sim/traffic.h"
#include "sim/vehicles.h"
#include "sim/weapons.h"
#include "world/world.h"

namespace {

// The player rides along with its car, and is put out when someone else took the wheel.
// True while the player sits in its car with the car's centre as its next position.
bool followCar(World& world) {
  Person& player = *world.player;
  if (!player.inCar) return false;
  Car* car = player.targetCar;
  if (!car) {
    // Sitting in no car at all: the player is on foot again.
    player.inCar = false;
    return false;
  }
  player.nextX = car->x;
  player.nextY = car->y;
  if (car->driver == PLAYER_DRIVER) return true;
  leaveCar(player);
  return false;
}

}  // namespace

void simulateFrame(World& world) {
  updateDrivers(world);
  moveCars(world);
  updatePedestrians(world);
  updateBadGuys(world);
  // On foot the player's own step has committed or refused its move already: committing the
  // tentative centre again would walk it through the cars and walls that refused it.
  if (followCar(world)) commitMove(*world.player);
  expireMarks(world);
  moveBullets(world);
  collectMoney(world);
  collectDrops(world);
  runOver(world);
  deathStep(world);
  updateCamera(world);
}

