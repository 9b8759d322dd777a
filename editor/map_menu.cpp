// The map menu in front of the editor: the four items, the list of maps, and the prompt that
// names a new, empty map.
#include "editor/map_menu.h"

#include <algorithm>
#include <filesystem>

#include "editor/editor_state.h"
#include "render/media.h"
#include "render/pacing.h"
#include "world/world.h"
#include "platform/platform.h"
#include "render/list_screen.h"
#include "editor/editor.h"
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

void flip(Media& media) {
  if (media.screen) SDL_Flip(media.screen);
}

// "Load map": the level names; a chosen one replaces the world and opens the editor.
void runMapList(Editor& editor) {
  World& world = editor.world;
  ListScreen maps;
  maps.items = world.levels;
  runListScreen(editor.media, editor.world.clock, maps, [&](int chosen) {
    clearWorld(world);
    world.mapName = maps.items[chosen];
    loadMap(world);
    editor.saveMessage.clear();
    editorLoop(editor);
    maps.back = true;
  });
}

}  // namespace

// The empty map is written before the list names it, so a list never names a map that is
// not on disk.
std::string createMap(Editor& editor, const std::string& name) {
  World& world = editor.world;
  World empty;
  empty.mapName = name;
  std::string error = saveMap(empty);  // the folder and nine empty files
  if (error.empty()) {
    world.levels.push_back(name);
    error = saveLevelList(world);
    if (!error.empty()) world.levels.pop_back();
  }
  platformFilesChanged();
  if (!error.empty()) {
    // The name was free, so the folder, if any, is the one just made.
    std::error_code ignored;
    std::filesystem::remove_all(mapSaveFolder(name), ignored);
    return error;
  }
  clearWorld(world);
  world.mapName = name;
  loadMap(world);
  editor.saveMessage.clear();
  return "";
}

namespace {

void runNamePrompt(Editor& editor) {
  World& world = editor.world;
  Media& media = editor.media;
  NamePrompt prompt;
  editor.editText.clear();
  while (!prompt.leave && !platformStopRequested()) {
    while (SDL_PollEvent(&editor.event))
      if (namePromptEvent(editor, prompt, editor.event)) break;

    drawBackground(media);
    drawText(media, media.bigFont.get(), "Name:", media.black, 200, 200);
    drawText(media, media.bigFont.get(), editor.editText, media.black, 200, 250);
    if (prompt.confirmed) {
      prompt.confirmed = false;
      // A refused name writes nothing: no existing map can be overwritten by an empty one.
      prompt.message = refusedMapName(world, editor.editText);
      if (prompt.message.empty()) {
        const std::string error = createMap(editor, editor.editText);
        if (error.empty()) {
          editorLoop(editor);
          prompt.leave = true;
        } else {
          prompt.message = "Not saved";
          prompt.detail = error;
        }
      }
    }
    drawText(media, media.bigFont.get(), prompt.message, media.black, 200, 300);
    // A path and the system's reason may be long: in the small font, below.
    drawText(media, media.smallFont.get(), prompt.detail, media.black, 200, 340);
    flip(media);
    waitMs(world.clock, MENU_PASS_DELAY_MS);
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
      mapFolderExists(name))
    return "Name taken";
  return "";
}

bool namePromptEvent(Editor& editor, NamePrompt& prompt, const SDL_Event& event) {
  if (event.type == SDL_QUIT) {
    prompt.leave = true;
    return true;
  }
  if (event.type != SDL_KEYDOWN) return false;
  const SDLKey key = event.key.keysym.sym;
  if (key == SDLK_RETURN) prompt.confirmed = true;
  if (key == SDLK_ESCAPE) prompt.leave = true;
  const std::string before = editor.editText;
  typeKey(editor.editText, event.key.keysym);
  if (editor.editText != before) {
    prompt.message.clear();
    prompt.detail.clear();
  }
  return prompt.confirmed || prompt.leave;
}

void mapMenu(Editor& editor) {
  ListScreen menu;
  menu.items = menuItems();
  runListScreen(editor.media, editor.world.clock, menu, [&](int chosen) {
    switch (chosen) {
      case EDIT_MAP:
        editorLoop(editor);
        break;
      case LOAD_MAP:
        runMapList(editor);
        // Back from the list the menu starts again at its first item.
        menu.selected = 0;
        break;
      case CREATE_MAP:
        runNamePrompt(editor);
        break;
      case QUIT_TO_GAME_MENU:
        menu.back = true;
        break;
      default:
        break;
    }
  });
}
