// A Game as the program has it, on the dummy driver: a window, both fonts, the colours, the start
// player and a hand-driven clock. SDL and the window stay up for the next test.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include "app/game.h"
#include "support/sdl.h"
#include "support/sdl_events.h"

namespace testsupport {

constexpr Uint32 GREY = 0x00808080;  // a background on which black and white both show

class TestGame {
 public:
  // With `greyBackground`, the world is drawn over a plain grey picture instead of none.
  explicit TestGame(int w = 800, int h = 600, bool greyBackground = true) {
    game.world.random.seed(7);
    Media& media = game.media;
    media.screen = startSdl(w, h, WINDOW_FLAGS);
    game.world.view = View{0, 0, w, h};
    media.smallFont.reset(TTF_OpenFont(FONT, 12));
    media.bigFont.reset(TTF_OpenFont(FONT, 28));
    if (media.screen) mapMediaColours(media, media.screen->format);
    if (greyBackground) media.background = plainSurface(w, h, GREY);
    game.world.player = makeFirstPlayer();
    game.world.clock.setManual(1000);
    drainEvents();
  }
  ~TestGame() { game.media = Media(); }  // surfaces and fonts go while SDL runs
  TestGame(const TestGame&) = delete;
  TestGame& operator=(const TestGame&) = delete;

  bool ready() const { return game.media.screen && game.media.smallFont && game.media.bigFont; }
  World& world() { return game.world; }
  Media& media() { return game.media; }
  SDL_Surface* screen() { return game.media.screen; }

  Game game;
};

}  // namespace testsupport
