// The owner of all state: event buffer, held keys, frame timer, the World and the editor state.
#pragma once

#include <SDL.h>

#include <string>

#include "app/clock.h"
#include "app/world.h"

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
  std::string editText;  // text typed in the map menu's name prompt and the property panel

  // Editor state; survives from one run of the editor to the next.
  int editField = -1;  // property field being typed
  int anchorX = 0, anchorY = 0;  // first corner of the rectangle being drawn
  int dragWidth = 0, dragHeight = 0;
  int probeX = 0, probeY = 0;  // point a placement or cursor move is tested at
  char tool = 'h';
  char selectedKind = ' ';
  int selectedIndex = -1;
  bool dragging = false;
  bool showHelp = true;
  bool editing = false;
};

// Opens the full-screen window "ZOR", the fonts and images, reads the level list, loads the
// first map and places the money. Returns false on a start-up failure (SDL, video mode,
// TTF or font); the entry point then exits with status 0.
bool startGame(Game& game);
// Releases media held by the World and shuts SDL down.
void shutdownGame(Game& game);
