// Shared set-up of the editor tests: the test Game with the cursor at (150, 150), a fresh
// working folder for map files, and event makers.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "editor/editor.h"
#include "support/game.h"
#include "support/scratch.h"

using testsupport::readFile;

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test.ready()) << SDL_GetError();
    game.world.cursorX = game.world.cursorY = 150;
    game.editor.probeX = game.editor.probeY = 150;
  }

  void TearDown() override { testsupport::drainEvents(); }

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
  static SDL_Event button(Uint8 which) {
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = which;
    e.button.state = SDL_PRESSED;
    return e;
  }

  void cursorAt(int x, int y) {
    game.world.cursorX = x;
    game.world.cursorY = y;
  }
  void click(int x, int y) {
    cursorAt(x, y);
    handleEditorEvent(game.editor, button(SDL_BUTTON_LEFT));
  }
  // One of each kind, placed through the tools: rectangles from (x, 500), people and cars at it.
  void placeOneOfEach() {
    const struct {
      char tool;
      int x, w, h;
    } placed[] = {{'h', 400, 50, 100}, {'v', 600, 100, 20}, {'t', 800, 100, 10},
                  {'g', 1000, 100, 100}, {'w', 1200, 30, 10}, {'b', 1400, 0, 0},
                  {'f', 1600, 0, 0}, {'p', 1800, 0, 0}, {'e', 2000, 0, 0}};
    for (const auto& p : placed) {
      game.editor.tool = p.tool;
      click(p.x, 500);
      if (p.w) click(p.x + p.w, 500 + p.h);
    }
  }
  void select(char kind, int index = 0) {
    game.editor.selectedKind = kind;
    game.editor.selectedIndex = index;
  }

  int countPixels(int x, int y, int w, int h, Uint32 colour) {
    return testsupport::countColour(game.media.screen, x, y, w, h, colour);
  }
  void clearScreen() { SDL_FillRect(game.media.screen, nullptr, white()); }
  Uint32 white() { return SDL_MapRGB(game.media.screen->format, 255, 255, 255); }
  // Text is drawn black and anti-aliased: "ink" is its darkest pixels.
  int countInk(int x, int y, int w, int h) {
    return testsupport::darkPixels(game.media.screen, x, y, w, h);
  }

  testsupport::TestGame test{800, 600, false};  // opens the fonts before the folder changes
  Game& game = test.game;
  // Maps live at relative paths: every test works in its own empty folder with "maps/".
  testsupport::ScratchDir scratch;
};
