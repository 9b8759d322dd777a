// The 20 ms play frame and its loop.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "sim/tick.h"

struct Game;
struct Media;
struct World;

constexpr int CURSOR_MIN = 1;
constexpr int CURSOR_MAX = 2999;

// Runs frames until Escape, window close, Alt+F4 or game over.
void playLoop(Game& game);
// One frame (steps 1 to 9: events, keys, movement, simulation, drawing, flip).
// Returns false when the loop must end after this frame's wait.
bool playFrame(Game& game, bool& showHud);

// The pieces of a frame, callable on their own.

// One polled event: window close quits; Return walks to the nearest car or leaves the car;
// i toggles the status display; m and n switch weapons; mouse motion moves the cursor.
void playEvent(World& world, const SDL_Event& event, bool& showHud, bool& quit);
// Moves the cursor by a relative motion, each axis only when it stays within 1..2999.
void moveCursor(World& world, int dx, int dy);
// The held keys (an array indexed by SDLKey, SDLK_LAST long): walking speed, walking or
// driving, turning, firing. Returns true when Escape is held.
bool applyHeldKeys(World& world, const Uint8* keys);
// The player's own movement this frame: on foot, or walking to its car and boarding it.
void movePlayer(World& world, const Uint8* keys);
// The rate the frame could run at, when it took any time at all.
void drawFrameRate(Media& media, uint32_t elapsedMs);
// Shows "Game Over" until the window is closed or Return or Escape is pressed.
void gameOverScreen(Game& game);
