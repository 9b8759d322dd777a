// The main menu and its screens (map list, controls, video mode).
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

struct Game;
struct ListScreen;

void mainMenu(Game& game);

// The main menu's items at start, and after the map list or a mode screen was visited.
std::vector<std::string> mainMenuItems();
std::vector<std::string> rebuiltMainMenuItems();

// What choosing item `chosen` of the main menu does; leaves the highlight on the first item.
void mainMenuAction(Game& game, ListScreen& menu, int chosen);

// The level list: choosing a name plays that map (playMap) and shows the list again.
void mapListScreen(Game& game);
// What choosing entry `chosen` of the level list does; the list then opens on its first entry.
void mapListAction(Game& game, ListScreen& list, int chosen);
// Empties the city, loads the named map and plays it.
void playMap(Game& game, const std::string& name);
// The six lines of the controls, until Return, Escape or window close.
void controlsScreen(Game& game);
// "Window" or "Fullscreen", then a size; any choice or Escape returns to the main menu.
void modeScreen(Game& game);

// "400 x 300" .. "1600 x 1200".
std::vector<std::string> windowSizeItems();
// Each mode as "W x H".
std::vector<std::string> modeItems(const std::vector<SDL_Rect>& modes);
