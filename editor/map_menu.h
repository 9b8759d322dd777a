// The editor's map menu: edit the loaded map, load another, or create a new one.
#pragma once

#include <SDL.h>

#include <string>

struct Editor;
struct World;

void mapMenu(Editor& editor);

// Why a name typed for a new map is refused: "Empty name", "Invalid name" (blanks at either
// end, a trailing dot, "." or "..", or a character other than a letter, a digit, a blank, '-',
// '_' or '.'), "Reserved name" ("levels.txt", or ending in ".tmp": names the game's own files
// take), "Name taken" (already in the level list, or its folder exists among the maps);
// an empty text when the name can be used.
std::string refusedMapName(const World& world, const std::string& name);

// "Create map" for a name that refusedMapName accepts: writes the empty map and adds it to the
// level list, then loads it. Returns what could not be written; the map in memory then stays
// as it was, and nothing of the new map is left behind.
std::string createMap(Editor& editor, const std::string& name);

// The name prompt's state between its passes.
struct NamePrompt {
  bool confirmed = false;  // Return was pressed
  bool leave = false;      // Escape or window close
  std::string message;     // why the last confirmed name was refused, or "Not saved"
  std::string detail;      // what could not be written, when the new map was not saved
};
// One event of the name prompt; the typed name is editor.editText. Returns true when polling
// should stop (the name was confirmed or the prompt is left).
bool namePromptEvent(Editor& editor, NamePrompt& prompt, const SDL_Event& event);
