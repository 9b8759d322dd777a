// The main menu: play, restart, the map list, the controls, the editor, the video mode, quit.
#include "app/main_menu.h"

#include "app/game.h"
#include "app/play_loop.h"
#include "editor/map_menu.h"
#include "render/list_screen.h"
#include "render/pacing.h"
#include "render/text.h"
#include "world/level.h"
#include "world/lifetime.h"
#include "world/map_files.h"

namespace {

enum MainItem { PLAY, RESTART, LOAD_MAP, CONTROLS, EDIT, CHANGE_RESOLUTION, QUIT };

const char* const CONTROL_LINES[] = {
    "Control the character with the arrow keys",
    "Change weapons with m and n",
    "Shoot with right control",
    "Enter and exit an vehicle with return",
    "Show and hide Life,money,weaponinfo,wantedlevel,fps with i",
    "Walk backwards in menus with escape and forward with return",
};

// Picks one size from a list; an accepted choice or Escape ends the list.
void sizeListScreen(Game& game, const std::vector<SDL_Rect>& sizes, Uint32 flags) {
  ListScreen list;
  list.items = modeItems(sizes);
  runListScreen(game.media, game.world.clock, list, [&](int chosen) {
    const SDL_Rect size = sizes[chosen];
    // The mode that was set is the next start's too.
    if (setVideoMode(game, size.w, size.h, flags) && !game.settingsFile.empty())
      saveSettings(game.settingsFile, VideoMode{(flags & SDL_FULLSCREEN) != 0, size.w, size.h});
    list.back = true;
  });
}

}  // namespace

std::vector<std::string> mainMenuItems() {
  return {"Play", "Restart", "Load map", "Controls", "Edit", "Change resolution", "Quit"};
}

std::vector<std::string> rebuiltMainMenuItems() {
  return {"Play", "Restart", "Load map", "Controls", "Edit map", "Change Resolution", "Quit"};
}

std::vector<std::string> windowSizeItems() {
  std::vector<std::string> items;
  for (int k = 1; k <= 4; ++k) items.push_back(toText(k * 400) + " x " + toText(k * 300));
  return items;
}

std::vector<std::string> modeItems(const std::vector<SDL_Rect>& modes) {
  std::vector<std::string> items;
  for (const SDL_Rect& mode : modes) items.push_back(toText(mode.w) + " x " + toText(mode.h));
  return items;
}

void playMap(Game& game, const std::string& name) {
  World& world = game.world;
  clearWorld(world);
  world.mapName = name;
  loadMap(world);
  playLoop(game);
}

void mapListAction(Game& game, ListScreen& list, int chosen) {
  playMap(game, list.items[chosen]);
  list.selected = 0;
}

void mapListScreen(Game& game) {
  ListScreen list;
  list.items = game.world.levels;
  runListScreen(game.media, game.world.clock, list,
                [&](int chosen) { mapListAction(game, list, chosen); });
}

void controlsScreen(Game& game) {
  Media& media = game.media;
  bool done = false;
  while (!done) {
    done = pollDismissed();
    drawBackground(media);
    int y = 100;
    for (const char* line : CONTROL_LINES) {
      drawText(media, media.bigFont.get(), line, media.black, 200, y);
      y += 50;
    }
    SDL_Flip(media.screen);
    waitMs(game.world.clock, MENU_PASS_DELAY_MS);
  }
}

void modeScreen(Game& game) {
  ListScreen list;
  list.items = {"Window", "Fullscreen"};
  runListScreen(game.media, game.world.clock, list, [&](int chosen) {
    if (chosen == 0) {
      std::vector<SDL_Rect> sizes;
      for (int k = 1; k <= 4; ++k)
        sizes.push_back(SDL_Rect{0, 0, static_cast<Uint16>(k * 400), static_cast<Uint16>(k * 300)});
      sizeListScreen(game, sizes, WINDOW_FLAGS);
    } else {
      const std::vector<SDL_Rect> modes = fullscreenModes(game);
      if (!modes.empty()) sizeListScreen(game, modes, FULLSCREEN_FLAGS);
    }
    list.back = true;
  });
}

void mainMenuAction(Game& game, ListScreen& menu, int chosen) {
  switch (chosen) {
    case PLAY:
      playLoop(game);
      break;
    case RESTART:
      startLevel(game.world);
      playLoop(game);
      break;
    case LOAD_MAP:
      mapListScreen(game);
      menu.items = rebuiltMainMenuItems();
      break;
    case CONTROLS:
      controlsScreen(game);
      break;
    case EDIT:
      mapMenu(game.editor);
      break;
    case CHANGE_RESOLUTION:
      modeScreen(game);
      menu.items = rebuiltMainMenuItems();
      break;
    case QUIT:
      menu.back = true;
      break;
    default:
      break;
  }
  menu.selected = 0;
  // Without a screen (a mode that could not be set nor restored) nothing can be shown.
  if (!game.media.screen) menu.back = true;
}

void mainMenu(Game& game) {
  ListScreen menu;
  menu.items = mainMenuItems();
  runListScreen(game.media, game.world.clock, menu, [&](int chosen) { mainMenuAction(game, menu, chosen); });
}
