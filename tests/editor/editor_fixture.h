// Shared set-up of the editor tests: a dummy-video screen, the fonts, a Game with the start
// player, a manual clock, a fresh temporary working directory for map files, and event makers.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "app/game.h"
#include "support/scratch.h"
#include "support/sdl.h"
#include "support/sdl_events.h"

class EditorTest : public ::testing::Test {
 protected:
  // SDL, the 800 x 600 dummy screen and TTF start once for the program and stay up.
  static void SetUpTestSuite() { ASSERT_NE(testsupport::startSdl(), nullptr) << SDL_GetError(); }

  void SetUp() override {
    std::srand(7);
    World& world = game.world;
    Media& media = game.media;
    media.screen = SDL_GetVideoSurface();
    world.view = View{0, 0, 800, 600};
    media.smallFont.reset(TTF_OpenFont(testsupport::FONT, 12));
    media.bigFont.reset(TTF_OpenFont(testsupport::FONT, 28));
    ASSERT_TRUE(media.smallFont && media.bigFont);
    mapMediaColours(media, media.screen->format);
    world.player = makeFirstPlayer();
    world.clock.setManual(1000);
    world.cursorX = world.cursorY = 150;
    editor().probeX = editor().probeY = 150;
    drainEvents();

    // Maps live at relative paths: every test works in its own empty folder with "maps/".
    scratch = std::make_unique<testsupport::ScratchDir>();
  }

  void TearDown() override {
    drainEvents();
    scratch.reset();
  }

  static void drainEvents() { testsupport::drainEvents(); }

  static SDL_Event key(SDLKey sym, Uint16 unicode = 0) { return testsupport::keyEvent(sym, unicode); }
  // A key press that types its character, as a letter or digit key does.
  static SDL_Event typed(char c) {
    SDLKey sym = SDLK_UNKNOWN;
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) sym = static_cast<SDLKey>(c);
    if (c == ' ') sym = SDLK_SPACE;
    if (c == '-') sym = SDLK_MINUS;
    if (c == '.') sym = SDLK_PERIOD;
    return key(sym, static_cast<unsigned char>(c));
  }
  static SDL_Event backspace() { return key(SDLK_BACKSPACE, 8); }
  static SDL_Event enter() { return key(SDLK_RETURN, 13); }
  static SDL_Event escape() { return key(SDLK_ESCAPE, 27); }
  static SDL_Event motion(int dx, int dy) { return testsupport::motionEvent(dx, dy); }
  static SDL_Event button(Uint8 which) {
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = which;
    e.button.state = SDL_PRESSED;
    return e;
  }
  static SDL_Event quit() { return testsupport::quitEvent(); }
  static void push(const SDL_Event& e) {
    SDL_Event copy = e;
    ASSERT_EQ(SDL_PushEvent(&copy), 0);
  }

  static std::string readFile(const std::string& path) { return testsupport::readFile(path); }
  static bool fileExists(const std::string& path) { return std::ifstream(path).good(); }
  int countPixels(int x, int y, int w, int h, Uint32 colour) {
    return testsupport::countColour(game.media.screen, x, y, w, h, colour);
  }
  void fillScreen(Uint32 colour) { SDL_FillRect(game.media.screen, nullptr, colour); }
  Uint32 white() { return SDL_MapRGB(game.media.screen->format, 255, 255, 255); }
  // Text is drawn black and anti-aliased: "ink" is any pixel darker than mid grey.
  int countInk(int x, int y, int w, int h) {
    return testsupport::countPixels(game.media.screen, x, y, w, h, [](Uint8 r, Uint8 g, Uint8 b) {
      return r < 100 && g < 100 && b < 100;
    });
  }

  Editor& editor() { return game.editor; }

  Game game;
  std::unique_ptr<testsupport::ScratchDir> scratch;
};
