// The property panel of the selected object.
#pragma once

#include <string>

struct Editor;

void drawProperties(Editor& editor);
// Reads editor.event: a key press of a field digit "1".."8" starts typing that field.
void startFieldEdit(Editor& editor);
// Return while typing: the typed text goes into the field, if the selection still has it.
void applyFieldEdit(Editor& editor);

// True when the selection names a record: the player (while there is one), or a position
// below the count of the selected kind's list.
bool selectionUsable(const Editor& editor);

// The field parses: blanks skipped, the longest leading decimal number read, the rest
// ignored; no number gives 0. An int beyond the int range is clamped to it.
double leadingNumber(const std::string& text);
int leadingInt(const std::string& text);
