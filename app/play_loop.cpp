// The play frame: input, the player's movement, the simulation in its fixed order, drawing, pacing.
#include "app/play_loop.h"

#include "app/game.h"
#include "app/list_screen.h"
#include "platform/platform.h"
#include "render/status.h"
#include "render/text.h"
#include "render/world_view.h"
#include "sim/collision.h"
#include "sim/hostiles.h"
#include "sim/on_foot.h"
#include "sim/traffic.h"
#include "sim/vehicles.h"
#include "sim/weapons.h"
#include "world/level.h"

namespace {

constexpr int TURN_STEP = 5;           // degrees per frame a held key turns
constexpr uint32_t GAME_OVER_WAIT_MS = 5;

bool isDead(const Person& person) { return person.life <= person.damage; }

bool forwardHeld(const Uint8* keys) { return keys[SDLK_UP] || keys[SDLK_w]; }
bool backwardHeld(const Uint8* keys) { return keys[SDLK_DOWN] || keys[SDLK_s]; }
bool rightHeld(const Uint8* keys) { return keys[SDLK_RIGHT] || keys[SDLK_d]; }
bool leftHeld(const Uint8* keys) { return keys[SDLK_LEFT] || keys[SDLK_a]; }

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
    player.inCar = false;
    return false;
  }
  player.nextX = car->x;
  player.nextY = car->y;
  if (car->driver == PLAYER_DRIVER) return true;
  leaveCar(player);
  return false;
}

// A late frame still waits (for no time): in the browser every wait is the page's turn to
// show the frame and take input.
void waitFrameEnd(Game& game) {
  const uint32_t elapsed = game.timer.elapsed();
  game.world.clock.delay(elapsed < FRAME_MS ? FRAME_MS - elapsed : 0);
}

}  // namespace

void moveCursor(World& world, int dx, int dy) {
  const int x = world.cursorX + dx;
  if (x >= CURSOR_MIN && x <= CURSOR_MAX) world.cursorX = x;
  const int y = world.cursorY + dy;
  if (y >= CURSOR_MIN && y <= CURSOR_MAX) world.cursorY = y;
}

void playEvent(World& world, const SDL_Event& event, bool& showHud, bool& quit) {
  Person& player = *world.player;
  switch (event.type) {
    case SDL_QUIT:
      quit = true;
      break;
    case SDL_MOUSEMOTION:
      moveCursor(world, event.motion.xrel, event.motion.yrel);
      break;
    case SDL_KEYDOWN:
      switch (event.key.keysym.sym) {
        case SDLK_RETURN:
          if (!player.inCar) {
            pickTargetCar(world, player);
            player.walkingToCar = true;
          }
          else if (player.targetCar)
            leaveCar(player);
          else
            player.inCar = false;
          break;
        case SDLK_i:
          showHud = !showHud;
          break;
        case SDLK_m:
          nextWeapon(player);
          break;
        case SDLK_n:
          previousWeapon(player);
          break;
        default:
          break;
      }
      break;
    default:
      break;
  }
}

bool applyHeldKeys(World& world, const Uint8* keys) {
  Person& player = *world.player;
  if (keys[SDLK_1]) changeWalkSpeed(player, 0.1);
  if (keys[SDLK_2]) changeWalkSpeed(player, -0.1);
  if (player.inCar) {
    if (Car* car = drivenCar(player)) {
      if (forwardHeld(keys)) driveCommand(*car, "gas");
      if (rightHeld(keys)) steerCar(*car, -TURN_STEP);
      if (backwardHeld(keys)) driveCommand(*car, "brake");
      if (leftHeld(keys)) steerCar(*car, TURN_STEP);
      if (keys[SDLK_SPACE]) driveCommand(*car, "handbrake");
    }
  } else {
    // Any walking or turning key takes the player off the way to its car.
    if (forwardHeld(keys)) {
      player.walkingToCar = false;
      walkStep(player, "up");
    }
    if (rightHeld(keys)) {
      player.walkingToCar = false;
      player.heading = turnHeading(player.heading, -TURN_STEP);
    }
    if (backwardHeld(keys)) {
      player.walkingToCar = false;
      walkStep(player, "down");
    }
    if (leftHeld(keys)) {
      player.walkingToCar = false;
      player.heading = turnHeading(player.heading, TURN_STEP);
    }
  }
  const bool quit = keys[SDLK_ESCAPE] != 0;
  if (!player.inCar && keys[SDLK_RCTRL]) fire(world, player);
  return quit;
}

void movePlayer(World& world, const Uint8* keys) {
  Person& player = *world.player;
  if (player.inCar) return;
  if (!player.walkingToCar)
    playerFootStep(world, forwardHeld(keys), backwardHeld(keys));
  else if (player.targetCar)
    walkToCar(world, player);
}

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

void drawFrameRate(World& world, uint32_t elapsedMs) {
  if (elapsedMs == 0 || !world.screen) return;
  drawText(world, world.smallFont.get(), toText(static_cast<int>(1000 / elapsedMs)), world.black,
           world.screen->w - 30, 10);
}

void gameOverScreen(Game& game) {
  World& world = game.world;
  bool done = false;
  while (!done) {
    done = pollDismissed(game);
    drawText(world, world.bigFont.get(), "Game Over", world.black, world.screen->w / 2,
             world.screen->h / 2);
    SDL_Flip(world.screen);
    if (!done) world.clock.delay(GAME_OVER_WAIT_MS);
  }
}

bool playFrame(Game& game, bool& showHud) {
  World& world = game.world;
  bool quit = false;

  game.timer.start();
  while (SDL_PollEvent(&game.event)) playEvent(world, game.event, showHud, quit);
  game.keys = game.scriptedKeys ? game.scriptedKeys : platformKeyState();
  if (applyHeldKeys(world, game.keys)) quit = true;
  movePlayer(world, game.keys);
  if (game.keys[SDLK_F4] && game.keys[SDLK_LALT]) quit = true;
  if (platformStopRequested()) quit = true;

  if (!quit) {
    simulateFrame(world);
    drawWorld(world);
    if (showHud) drawStatus(world);
    const uint32_t workMs = game.timer.elapsed();
    drawFrameRate(world, workMs);
    SDL_Flip(world.screen);
    platformFrameShown(workMs);
    if (isDead(*world.player)) {
      gameOverScreen(game);
      quit = true;
    }
  }

  waitFrameEnd(game);
  return !quit;
}

void playLoop(Game& game) {
  World& world = game.world;
  if (!world.player || isDead(*world.player)) startLevel(world);
  bool showHud = true;
  while (playFrame(game, showHud)) {
  }
}
