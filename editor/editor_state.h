// What the editor works on (the city and the media it draws with) and the state it keeps from
// one run to the next.
#pragma once

#include <SDL.h>

#include <string>

#include "render/pacing.h"
#include "world/world.h"

struct Media;

struct Editor {
  Editor(World& w, Media& m) : world(w), media(m), timer(&w.clock) {}
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  World& world;
  Media& media;
  SDL_Event event{};     // the event being handled (a field digit is read from it)
  FrameTimer timer;      // paces the editor's frames on the world's clock
  std::string editText;  // text typed in the map menu's name prompt and the property panel

  int editField = -1;            // property field being typed
  int anchorX = 0, anchorY = 0;  // first corner of the rectangle being drawn
  int dragWidth = 0, dragHeight = 0;
  int probeX = 0, probeY = 0;  // point a placement or cursor move is tested at
  char tool = 'h';
  char selectedKind = ' ';
  int selectedIndex = -1;
  bool dragging = false;
  bool showHelp = true;
  bool editing = false;
  std::string saveMessage;  // why the last F2 could not write the map; shown until a save works
};
