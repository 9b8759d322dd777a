// The play frame: input, the player's movement, the simulation in its fixed order, drawing, pacing.
#include "app/play_loop.h"

#include "app/game.h"
#include "platform/platform.h"
#include "render/list_screen.h"
#include "render/pacing.h"
#include "render/status.h"
#include "render/text.h"
#include "render/world_view.h"
#include "sim/collision.h"
#include "sim/tick.h"
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

void drawFrameRate(Media& media, uint32_t elapsedMs) {
  if (elapsedMs == 0 || !media.screen) return;
  drawText(media, media.smallFont.get(), toText(static_cast<int>(1000 / elapsedMs)), media.black,
           media.screen->w - 30, 10);
}

void gameOverScreen(Game& game) {
  Media& media = game.media;
  bool done = false;
  while (!done) {
    done = pollDismissed();
    drawText(media, media.bigFont.get(), "Game Over", media.black, media.screen->w / 2,
             media.screen->h / 2);
    SDL_Flip(media.screen);
    if (!done) waitMs(game.world.clock, GAME_OVER_WAIT_MS);
  }
}

bool playFrame(Game& game, bool& showHud) {
  World& world = game.world;
  bool quit = false;

  game.timer.start();
  world.clock.follow(ticksNow(world.clock));
  while (SDL_PollEvent(&game.event)) playEvent(world, game.event, showHud, quit);
  game.keys = game.scriptedKeys ? game.scriptedKeys : platformKeyState();
  if (applyHeldKeys(world, game.keys)) quit = true;
  movePlayer(world, game.keys);
  if (game.keys[SDLK_F4] && game.keys[SDLK_LALT]) quit = true;
  if (platformStopRequested()) quit = true;

  if (!quit) {
    simulateFrame(world);
    drawWorld(game.media, world);
    if (showHud) drawStatus(game.media, world);
    const uint32_t workMs = game.timer.elapsed();
    drawFrameRate(game.media, workMs);
    SDL_Flip(game.media.screen);
    platformFrameShown(workMs);
    if (isDead(*world.player)) {
      gameOverScreen(game);
      quit = true;
    }
  }

  waitFrameEnd(game.world.clock, game.timer, FRAME_MS);
  return !quit;
}

void playLoop(Game& game) {
  World& world = game.world;
  if (!world.player || isDead(*world.player)) startLevel(world);
  bool showHud = true;
  while (playFrame(game, showHud)) {
  }
}
