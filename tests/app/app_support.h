// Shared set-up of the shell tests: the test Game, pushed input, held keys, pixel probes.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "support/game.h"
#include "support/scratch.h"

namespace apptest {

using namespace testsupport;

inline void pushKeys(std::initializer_list<SDLKey> keys) {
  for (SDLKey k : keys) {
    SDL_Event e = keyEvent(k);
    SDL_PushEvent(&e);
  }
}

inline void pushQuit() {
  SDL_Event e = quitEvent();
  SDL_PushEvent(&e);
}

inline int pendingEvents() {
  SDL_PumpEvents();
  SDL_Event probe[64];
  return SDL_PeepEvents(probe, 64, SDL_PEEKEVENT, SDL_ALLEVENTS);
}

// Held keys as the play frame reads them: one flag per SDLKey.
struct KeyState {
  std::vector<Uint8> flags = std::vector<Uint8>(SDLK_LAST, 0);
  const Uint8* data() const { return flags.data(); }
  void hold(SDLKey k) { flags[k] = 1; }
  void releaseAll() { std::fill(flags.begin(), flags.end(), 0); }
  // Lets go of every key but these.
  void only(std::initializer_list<SDLKey> held) {
    releaseAll();
    for (SDLKey k : held) hold(k);
  }
};

inline int whitePixels(SDL_Surface* s, int x0, int y0, int w, int h) {
  return countPixels(s, x0, y0, w, h, [](Uint8 r, Uint8 g, Uint8 b) {
    return r >= 215 && g >= 215 && b >= 215;
  });
}

}  // namespace apptest
