// The map menu in front of the editor: the four items, the list of maps, and the prompt that
// names a new, empty map.
#include "editor/map_menu.h"

#include <algorithm>

#include "app/game.h"
#include "app/list_screen.h"
#include "editor/editor.h"
#include "platform/platform.h"
#include "render/text.h"
#include "world/data_folders.h"
#include "world/lifetime.h"
#include "world/map_files.h"

namespace {

enum MenuItem { EDIT_MAP = 0, LOAD_MAP = 1, CREATE_MAP = 2, QUIT_TO_GAME_MENU = 3 };

std::vector<std::string> menuItems() {
  return {"Edit map", "Load map", "Create map", "Quit to Game Menu"};
}

bool allowedNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == ' ' || c == '-' || c == '_' || c == '.';
}

void flip(World& world) {
  if (world.screen) SDL_Flip(world.screen);
}

// "Load map": the level names; a chosen one replaces the world and opens the editor.
void runMapList(Game& game) {
  World& world = game.world;
  ListScreen maps;
  maps.items = world.levels;
  runListScreen(game, maps, [&](int chosen) {
    clearWorld(world);
    world.mapName = maps.items[chosen];
    loadMap(world);
    editorLoop(game);
    maps.back = true;
  });
}

// "Create map": append the name to the level list, write the empty map, edit it.
void createMap(Game& game, const std::string& name) {
  World& world = game.world;
  world.levels.push_back(name);
  saveLevelList(world);
  clearWorld(world);
  world.mapName = name;
  saveMap(world);
  loadMap(world);
}

void runNamePrompt(Game& game) {
  World& world = game.world;
  NamePrompt prompt;
  game.editText.clear();
  while (!prompt.leave && !platformStopRequested()) {
    while (SDL_PollEvent(&game.event))
      if (namePromptEvent(game, prompt, game.event)) break;

    drawBackground(world);
    drawText(world, world.bigFont.get(), "Name:", world.black, 200, 200);
    drawText(world, world.bigFont.get(), game.editText, world.black, 200, 250);
    if (prompt.confirmed) {
      prompt.confirmed = false;
      // A refused name writes nothing: no existing map can be overwritten by an empty one.
      prompt.message = refusedMapName(world, game.editText);
      if (prompt.message.empty()) {
        createMap(game, game.editText);
        editorLoop(game);
        prompt.leave = true;
      }
    }
    drawText(world, world.bigFont.get(), prompt.message, world.black, 200, 300);
    flip(world);
    world.clock.delay(MENU_PASS_DELAY_MS);
  }
}

}  // namespace

std::string refusedMapName(const World& world, const std::string& name) {
  if (name.empty()) return "Empty name";
  const bool allowed = std::all_of(name.begin(), name.end(), allowedNameChar);
  // Blanks at the ends and a trailing dot vanish from folder names on some systems, which
  // would make the new map share another map's folder.
  if (!allowed || name == "." || name == ".." || name.front() == ' ' || name.back() == ' ' ||
      name.back() == '.')
    return "Invalid name";
  if (std::find(world.levels.begin(), world.levels.end(), name) != world.levels.end() ||
      mapFolderExists(name))
    return "Name taken";
  return "";
}

bool namePromptEvent(Game& game, NamePrompt& prompt, const SDL_Event& event) {
  if (event.type == SDL_QUIT) {
    prompt.leave = true;
    return true;
  }
  if (event.type != SDL_KEYDOWN) return false;
  const SDLKey key = event.key.keysym.sym;
  if (key == SDLK_RETURN) prompt.confirmed = true;
  if (key == SDLK_ESCAPE) prompt.leave = true;
  const std::string before = game.editText;
  typeKey(game.editText, event.key.keysym);
  if (game.editText != before) prompt.message.clear();
  return prompt.confirmed || prompt.leave;
}

void mapMenu(Game& game) {
  ListScreen menu;
  menu.items = menuItems();
  runListScreen(game, menu, [&](int chosen) {
    switch (chosen) {
      case EDIT_MAP:
        editorLoop(game);
        break;
      case LOAD_MAP:
        runMapList(game);
        // Back from the list the menu starts again at its first item.
        menu.selected = 0;
        break;
      case CREATE_MAP:
        runNamePrompt(game);
        break;
      case QUIT_TO_GAME_MENU:
        menu.back = true;
        break;
      default:
        break;
    }
  });
}
