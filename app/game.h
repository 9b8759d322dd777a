// The owner of all state: the city, the media, the editor's state, held keys and the frame timer.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "editor/editor_state.h"
#include "render/media.h"
#include "render/pacing.h"
#include "sim/replay.h"
#include "world/level.h"
#include "world/world.h"

struct Game {
  Game() { timer.setClock(&world.clock); }
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  SDL_Event event{};
  const Uint8* keys = nullptr;  // held keys, refreshed once per play frame
  // When set, the play frame reads held keys from here instead of SDL_GetKeyState
  // (scripted input in tests, benchmarks and soak runs).
  const Uint8* scriptedKeys = nullptr;
  FrameTimer timer;
  World world;
  Media media;
  Editor editor{world, media};  // survives from one run of the editor to the next
  Recording* recording = nullptr;     // when set, every play frame's input is kept here
  const Recording* replay = nullptr;  // when set, play frames take their input from here
  size_t replayFrame = 0;             // the next frame of the replay

  // Where the video mode chosen in the menu is remembered; empty = nowhere (the tests).
  std::string settingsFile;
  // Why the start failed, as one line for the user; empty after a good start.
  std::string startFailure;

  // Desktop size seen before the first video mode was set (0 when unknown); offered when the
  // display reports that any full-screen size is possible.
  int desktopWidth = 0, desktopHeight = 0;
};

// What the start opens: the video mode, and the map to start on (empty = the list's first).
struct StartChoice {
  VideoMode mode;
  std::string map;
};

// Finds the game's data, opens the window "ZOR" in the chosen mode (a mode that cannot be set
// falls back to the largest full-screen one), the fonts and images, reads the level list,
// loads the first map and places the money. Returns false on a start-up failure (no data
// found, no display, SDL, video mode, TTF or font, a map that is not listed), with
// game.startFailure saying what is missing and how to fix it, and SDL shut down again.
bool startGame(Game& game, const StartChoice& choice = StartChoice());
// Releases the media and the records and shuts SDL down.
void shutdownGame(Game& game);

// Video mode flags of the full-screen modes.
constexpr Uint32 FULLSCREEN_FLAGS = SDL_FULLSCREEN | SDL_DOUBLEBUF | SDL_RESIZABLE;
// Video mode flags of the window sizes.
constexpr Uint32 WINDOW_FLAGS = SDL_DOUBLEBUF | SDL_RESIZABLE;

// The full-screen sizes the display offers, largest first. When it accepts any size, the desktop
// size (or 1024 x 768 when that is unknown) is the one offered; an empty list when it has none.
std::vector<SDL_Rect> fullscreenModes(const Game& game);

// Opens a video mode: on success the screen, the world's view size and the colour tables
// follow the new surface. A mode that cannot be set leaves the previous size in place (it is
// opened again, as SDL closes the old screen on a failed attempt). Returns whether the requested
// mode was set.
bool setVideoMode(Game& game, int w, int h, Uint32 flags);

