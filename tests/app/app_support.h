// Shared set-up of the shell tests: a Game on the dummy video driver, pushed input, pixel probes.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "app/game.h"
#include "support/scratch.h"
#include "support/sdl.h"
#include "support/sdl_events.h"

namespace apptest {

using testsupport::FONT;
constexpr Uint32 GREY = 0x00808080;  // background of the test screens: black and white both show

// A Game with an open window, both fonts, a grey background, the start player and a manual clock.
// Everything is released by shutdownGame, as in the program.
class HeadlessGame {
 public:
  explicit HeadlessGame(int w = 800, int h = 600) {
    std::srand(7);
    SDL_Init(SDL_INIT_VIDEO);
    TTF_Init();
    World& world = game.world;
    Media& media = game.media;
    media.screen = SDL_SetVideoMode(w, h, 32, WINDOW_FLAGS);
    world.view = View{0, 0, w, h};
    media.smallFont.reset(TTF_OpenFont(FONT, 12));
    media.bigFont.reset(TTF_OpenFont(FONT, 28));
    mapMediaColours(media, media.screen->format);
    media.background.reset(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00,
                                                0x000000FF, 0));
    SDL_FillRect(media.background.get(), nullptr, GREY);
    world.player = makeFirstPlayer();
    world.clock.setManual(1000);
    testsupport::drainEvents();
  }
  ~HeadlessGame() { shutdownGame(game); }
  HeadlessGame(const HeadlessGame&) = delete;
  HeadlessGame& operator=(const HeadlessGame&) = delete;

  bool ready() const {
    return game.media.screen && game.media.smallFont && game.media.bigFont;
  }
  World& world() { return game.world; }
  Media& media() { return game.media; }
  SDL_Surface* screen() { return game.media.screen; }

  Game game;
};

inline void pushKey(SDLKey key) {
  SDL_Event e = testsupport::keyEvent(key);
  SDL_PushEvent(&e);
}

inline void pushKeys(std::initializer_list<SDLKey> keys) {
  for (SDLKey k : keys) pushKey(k);
}

inline void pushQuit() {
  SDL_Event e = testsupport::quitEvent();
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
};

using testsupport::pixelAt;
using testsupport::ScratchDir;
using testsupport::writeFile;

inline int darkPixels(SDL_Surface* s, int x0, int y0, int w, int h) {
  return testsupport::countPixels(s, x0, y0, w, h, [](Uint8 r, Uint8 g, Uint8 b) {
    return r <= 40 && g <= 40 && b <= 40;
  });
}
inline int whitePixels(SDL_Surface* s, int x0, int y0, int w, int h) {
  return testsupport::countPixels(s, x0, y0, w, h, [](Uint8 r, Uint8 g, Uint8 b) {
    return r >= 215 && g >= 215 && b >= 215;
  });
}

}  // namespace apptest
