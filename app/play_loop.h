// The 20 ms play frame and its loop.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "sim/tick.h"

struct FrameInput;
struct Game;
struct HeldKeys;
struct Media;
struct World;

// Runs frames until Escape, window close, Alt+F4 or game over.
void playLoop(Game& game);
// One frame: the devices (or the replay) give the frame's input, the tick runs it, then the
// picture is drawn and flipped; a recording keeps the input.
// Returns false when the loop must end after this frame's wait.
bool playFrame(Game& game, bool& showHud);

// The pieces of a frame, callable on their own.

// The held keys the rules read, from SDL's key array (indexed by SDLKey, SDLK_LAST long).
HeldKeys heldKeysOf(const Uint8* keys);
// One polled event into the frame's input: window close leaves; Return, m, n and mouse motion
// are the frame's presses; i toggles the status display.
void readEvent(const SDL_Event& event, FrameInput& input, bool& showHud);
// One event applied at once (as the frame would apply it); quit is set by window close.
void playEvent(World& world, const SDL_Event& event, bool& showHud, bool& quit);
// The held keys applied at once; returns true when Escape is held.
bool applyHeldKeys(World& world, const Uint8* keys);
// The player's own movement this frame for SDL's key array.
void movePlayer(World& world, const Uint8* keys);
// The rate the frame could run at, when it took any time at all.
void drawFrameRate(Media& media, uint32_t elapsedMs);
// Shows "Game Over" until the window is closed or Return or Escape is pressed.
void gameOverScreen(Game& game);
