// The property panel of the selected object.
#pragma once

#include <string>

struct Game;

void drawProperties(Game& game);
// Reads game.event: a key press of a field digit "1".."8" starts typing that field.
void startFieldEdit(Game& game);
// Return while typing: the typed text goes into the field, if the selection still has it.
void applyFieldEdit(Game& game);

// True when the selection names a record: the player (while there is one), or a position
// below the count of the selected kind's list.
bool selectionUsable(const Game& game);

// The field parses: blanks skipped, the longest leading decimal number read, the rest
// ignored; no number gives 0. An int beyond the int range is clamped to it.
double leadingNumber(const std::string& text);
int leadingInt(const std::string& text);
