// The editor's map menu: edit the loaded map, load another, or create a new one.
#pragma once

#include <string>

struct Game;

void mapMenu(Game& game);
