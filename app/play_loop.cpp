// The play frame: input, the player's movement, the simulation in its fixed order, drawing, pacing.
#include "app/play_loop.h"

#include "app/game.h"
#include "platform/platform.h"
#include "render/list_screen.h"
#include "render/pacing.h"
#include "render/status.h"
#include "render/text.h"
#include "render/world_view.h"
#include "sim/frame_input.h"
#include "sim/replay.h"
#include "sim/tick.h"
#include "world/level.h"

namespace {

constexpr uint32_t GAME_OVER_WAIT_MS = 5;

// The next frame of the game being replayed, taking the place of what the devices gave; past
// the recording's end the player leaves.
void replayInput(Game& game, FrameInput& input) {
  const Recording& replay = *game.replay;
  if (game.replayFrame >= replay.frames.size()) {
    input.presses.clear();
    input.held = HeldKeys();
    input.leave = true;
    return;
  }
  const bool closed = input.leave;
  input = replay.frames[game.replayFrame++];
  input.leave = input.leave || closed;
}

}  // namespace

HeldKeys heldKeysOf(const Uint8* keys) {
  HeldKeys held;
  held.forward = keys[SDLK_UP] || keys[SDLK_w];
  held.backward = keys[SDLK_DOWN] || keys[SDLK_s];
  held.right = keys[SDLK_RIGHT] || keys[SDLK_d];
  held.left = keys[SDLK_LEFT] || keys[SDLK_a];
  held.faster = keys[SDLK_1] != 0;
  held.slower = keys[SDLK_2] != 0;
  held.handbrake = keys[SDLK_SPACE] != 0;
  held.fire = keys[SDLK_RCTRL] != 0;
  return held;
}

void readEvent(const SDL_Event& event, FrameInput& input, bool& showHud) {
  switch (event.type) {
    case SDL_QUIT:
      input.leave = true;
      break;
    case SDL_MOUSEMOTION: {
      Press motion;
      motion.kind = PressKind::Motion;
      motion.dx = event.motion.xrel;
      motion.dy = event.motion.yrel;
      input.presses.push_back(motion);
      break;
    }
    case SDL_KEYDOWN:
      switch (event.key.keysym.sym) {
        case SDLK_RETURN:
          input.presses.push_back(Press{PressKind::Enter});
          break;
        case SDLK_i:
          showHud = !showHud;
          break;
        case SDLK_m:
          input.presses.push_back(Press{PressKind::NextWeapon});
          break;
        case SDLK_n:
          input.presses.push_back(Press{PressKind::PreviousWeapon});
          break;
        default:
          break;
      }
      break;
    default:
      break;
  }
}

void playEvent(World& world, const SDL_Event& event, bool& showHud, bool& quit) {
  FrameInput input;
  readEvent(event, input, showHud);
  for (const Press& press : input.presses) applyPress(world, press);
  if (input.leave) quit = true;
}

bool applyHeldKeys(World& world, const Uint8* keys) {
  applyHeldKeys(world, heldKeysOf(keys));
  return keys[SDLK_ESCAPE] != 0;
}

void movePlayer(World& world, const Uint8* keys) { movePlayer(world, heldKeysOf(keys)); }

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

  game.timer.start();
  world.clock.follow(ticksNow(world.clock));
  FrameInput input;
  input.time = world.clock.now();
  while (SDL_PollEvent(&game.event)) readEvent(game.event, input, showHud);
  game.keys = game.scriptedKeys ? game.scriptedKeys : platformKeyState();
  input.held = heldKeysOf(game.keys);
  if (game.keys[SDLK_ESCAPE] || (game.keys[SDLK_F4] && game.keys[SDLK_LALT])) input.leave = true;
  if (platformStopRequested()) input.leave = true;
  if (game.replay) replayInput(game, input);
  if (game.recording) game.recording->frames.push_back(input);

  tick(world, input);
  if (!input.leave) {
    drawWorld(game.media, world);
    if (showHud) drawStatus(game.media, world);
    const uint32_t workMs = game.timer.elapsed();
    drawFrameRate(game.media, workMs);
    SDL_Flip(game.media.screen);
    platformFrameShown(workMs);
    if (isDead(*world.player)) {
      gameOverScreen(game);
      input.leave = true;
    }
  }

  waitFrameEnd(world.clock, game.timer, FRAME_MS);
  // A replay runs on its recorded clock; it is shown at the game's own pace.
  if (game.replay && !input.leave) SDL_Delay(FRAME_MS);
  return !input.leave;
}

void playLoop(Game& game) {
  World& world = game.world;
  if (!world.player || isDead(*world.player)) startLevel(world);
  bool showHud = true;
  while (playFrame(game, showHud)) {
  }
}
