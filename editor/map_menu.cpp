// The map menu in front of the editor: the four items, the list of maps, and the prompt that
// names a new, empty map.
#include "editor/map_menu.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "app/game.h"
#include "app/list_screen.h"
#include "editor/editor.h"
#include "render/text.h"
#include "world/lifetime.h"
#include "world/map_files.h"

namespace {

enum MenuItem { EDIT_MAP = 0, LOAD_MAP = 1, CREATE_MAP = 2, QUIT_TO_GAME_MENU = 3 };

std::vector<std::string> menuItems() {
  return {"Edit map", "Load map", "Create map", "Quit to Game Menu"};
}

bool pathExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
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
    game.saveMessage.clear();
    editorLoop(game);
    maps.back = true;
  });
}

}  // namespace

// The empty map is written before the list names it, so a list never names a map that is
// not on disk.
std::string createMap(Game& game, const std::string& name) {
  World& world = game.world;
  World empty;
  empty.mapName = name;
  std::string error = saveMap(empty);  // the folder and nine empty files
  if (error.empty()) {
    world.levels.push_back(name);
    error = saveLevelList(world);
    if (!error.empty()) world.levels.pop_back();
  }
  if (!error.empty()) {
    // The name was free, so the folder, if any, is the one just made.
    std::error_code ignored;
    std::filesystem::remove_all("maps/" + name, ignored);
    return error;
  }
  clearWorld(world);
  world.mapName = name;
  loadMap(world);
  game.saveMessage.clear();
  return "";
}

namespace {

void runNamePrompt(Game& game) {
  World& world = game.world;
  NamePrompt prompt;
  game.editText.clear();
  while (!prompt.leave) {
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
        const std::string error = createMap(game, game.editText);
        if (error.empty()) {
          editorLoop(game);
          prompt.leave = true;
        } else {
          prompt.message = "Not saved";
          prompt.detail = error;
        }
      }
    }
    drawText(world, world.bigFont.get(), prompt.message, world.black, 200, 300);
    // A path and the system's reason may be long: in the small font, below.
    drawText(world, world.smallFont.get(), prompt.detail, world.black, 200, 340);
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
  // The level list and the temporary files of a save live beside the map folders.
  if (reservedMapName(name)) return "Reserved name";
  if (std::find(world.levels.begin(), world.levels.end(), name) != world.levels.end() ||
      pathExists("maps/" + name))
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
  if (game.editText != before) {
    prompt.message.clear();
    prompt.detail.clear();
  }
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
