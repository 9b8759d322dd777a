// The editor's map menu: edit the loaded map, load another, or create a new one.
#pragma once

#include <SDL.h>

#include <string>

struct Game;
struct World;

void mapMenu(Game& game);

// Why a name typed for a new map is refused: "Empty name", "Invalid name" (blanks at either
// end, a trailing dot, "." or "..", or a character other than a letter, a digit, a blank, '-',
// '_' or '.'), "Name taken" (already in the level list, or its folder exists among the maps);
// an empty text when the name can be used.
std::string refusedMapName(const World& world, const std::string& name);

// The name prompt's state between its passes.
struct NamePrompt {
  bool confirmed = false;  // Return was pressed
  bool leave = false;      // Escape or window close
  std::string message;     // why the last confirmed name was refused
};
// One event of the name prompt; the typed name is game.editText. Returns true when polling
// should stop (the name was confirmed or the prompt is left).
bool namePromptEvent(Game& game, NamePrompt& prompt, const SDL_Event& event);
