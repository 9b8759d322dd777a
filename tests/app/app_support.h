// Shared set-up of the shell tests: a Game on the dummy video driver, pushed input, pixel probes.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/game.h"
#include "support/sdl_events.h"

namespace apptest {

constexpr const char* FONT = "GFX/fonts/ADVERT.TTF";
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
    clearEvents();
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

  static void clearEvents() { testsupport::drainEvents(); }

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

inline void pushMotion(int dx, int dy) {
  SDL_Event e = testsupport::motionEvent(dx, dy);
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
  void release(SDLKey k) { flags[k] = 0; }
  void releaseAll() { std::fill(flags.begin(), flags.end(), 0); }
};

inline Uint32 pixelAt(SDL_Surface* s, int x, int y) {
  SDL_LockSurface(s);
  const Uint32 p =
      reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch)[x];
  SDL_UnlockSurface(s);
  return p & 0x00FFFFFF;
}

// Counts pixels of an area whose three channels all lie at or below `max` (dark) or at or above
// `min` (light).
inline int countPixels(SDL_Surface* s, int x0, int y0, int w, int h, bool dark, int bound) {
  int n = 0;
  SDL_LockSurface(s);
  for (int y = std::max(0, y0); y < y0 + h && y < s->h; ++y)
    for (int x = std::max(0, x0); x < x0 + w && x < s->w; ++x) {
      Uint8 r, g, b;
      const Uint32 raw =
          reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch)[x];
      SDL_GetRGB(raw, s->format, &r, &g, &b);
      const bool hit = dark ? (r <= bound && g <= bound && b <= bound)
                            : (r >= bound && g >= bound && b >= bound);
      if (hit) ++n;
    }
  SDL_UnlockSurface(s);
  return n;
}
inline int darkPixels(SDL_Surface* s, int x0, int y0, int w, int h) {
  return countPixels(s, x0, y0, w, h, true, 40);
}
inline int whitePixels(SDL_Surface* s, int x0, int y0, int w, int h) {
  return countPixels(s, x0, y0, w, h, false, 215);
}

// A fresh working folder for tests that read or write map files; the start folder comes back.
class ScratchFolder {
 public:
  ScratchFolder() : home_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "zor-app-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    std::filesystem::current_path(dir_);
    std::filesystem::create_directory("maps");
  }
  ~ScratchFolder() {
    std::filesystem::current_path(home_);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& home() const { return home_; }

 private:
  std::filesystem::path home_;
  std::filesystem::path dir_;
};

}  // namespace apptest
