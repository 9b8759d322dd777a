// One frame of the game, every step in the order it runs.
#include "sim/tick.h"

#include "sim/camera.h"
#include "sim/collision.h"
#include "sim/frame_input.h"
#include "sim/hostiles.h"
#include "sim/on_foot.h"
#include "sim/traffic.h"
#include "sim/vehicles.h"
#include "sim/weapons.h"
#include "world/world.h"

namespace {

constexpr int TURN_STEP = 5;  // degrees per frame a held key turns

// The car the player sits in, or nullptr on foot.
Car* drivenCar(Person& player) { return player.inCar ? player.targetCar : nullptr; }

// The player rides along with its car, and is put out when someone else took the wheel.
// True while the player sits in its car with the car's centre as its next position.
bool followCar(World& world) {
  Person& player = *world.player;
  if (!player.inCar) return false;
  Car* car = player.targetCar;
  if (!car) {
    // Sitting in no car at all: the player is on foot again.
    leaveCar(player);
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

void moveCursor(World& world, int dx, int dy) {
  const int x = world.cursorX + dx;
  if (x >= CURSOR_MIN && x <= CURSOR_MAX) world.cursorX = x;
  const int y = world.cursorY + dy;
  if (y >= CURSOR_MIN && y <= CURSOR_MAX) world.cursorY = y;
}

void applyPress(World& world, const Press& press) {
  Person& player = *world.player;
  switch (press.kind) {
    case PressKind::Motion:
      moveCursor(world, press.dx, press.dy);
      break;
    case PressKind::Enter:
      if (!player.inCar) {
        pickTargetCar(world, player);
        player.walkingToCar = true;
      } else {
        leaveCar(player);
      }
      break;
    case PressKind::NextWeapon:
      nextWeapon(player);
      break;
    case PressKind::PreviousWeapon:
      previousWeapon(player);
      break;
  }
}

void applyHeldKeys(World& world, const HeldKeys& held) {
  Person& player = *world.player;
  if (held.faster) changeWalkSpeed(player, 0.1);
  if (held.slower) changeWalkSpeed(player, -0.1);
  if (player.inCar) {
    if (Car* car = drivenCar(player)) {
      if (held.forward) driveCommand(*car, DriveCommand::Gas);
      if (held.right) steerCar(*car, -TURN_STEP);
      if (held.backward) driveCommand(*car, DriveCommand::Brake);
      if (held.left) steerCar(*car, TURN_STEP);
      if (held.handbrake) driveCommand(*car, DriveCommand::Handbrake);
    }
  } else {
    // Any walking or turning key takes the player off the way to its car.
    if (held.forward) {
      player.walkingToCar = false;
      walkStep(player, WalkStep::Forward);
    }
    if (held.right) {
      player.walkingToCar = false;
      player.heading = turnHeading(player.heading, -TURN_STEP);
    }
    if (held.backward) {
      player.walkingToCar = false;
      walkStep(player, WalkStep::Backward);
    }
    if (held.left) {
      player.walkingToCar = false;
      player.heading = turnHeading(player.heading, TURN_STEP);
    }
  }
  if (!player.inCar && held.fire) fire(world, player);
}

void movePlayer(World& world, const HeldKeys& held) {
  Person& player = *world.player;
  if (player.inCar) return;
  if (!player.walkingToCar)
    playerFootStep(world, held.forward, held.backward);
  else if (player.targetCar)
    walkToCar(world, player);
}

void tick(World& world, const FrameInput& input) {
  world.clock.set(input.time);
  if (!world.player) return;
  for (const Press& press : input.presses) applyPress(world, press);
  applyHeldKeys(world, input.held);
  movePlayer(world, input.held);
  if (!input.leave) simulateFrame(world);
}
