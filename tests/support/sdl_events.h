// Event makers and the event drain shared by the shell, list screen and editor tests.
#pragma once

#include <SDL.h>

namespace testsupport {

// A key press; letter and digit keys also carry the character they type.
inline SDL_Event keyEvent(SDLKey sym, Uint16 unicode = 0) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.type = SDL_KEYDOWN;
  e.key.state = SDL_PRESSED;
  e.key.keysym.sym = sym;
  e.key.keysym.unicode = unicode;
  return e;
}

inline SDL_Event quitEvent() {
  SDL_Event e{};
  e.type = SDL_QUIT;
  return e;
}

// Drops whatever an earlier test left queued.
inline void drainEvents() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
  }
}

}  // namespace testsupport
