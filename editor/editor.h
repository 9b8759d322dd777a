// The editor loop and its tools.
#pragma once

struct Game;
struct Rect;

void editorLoop(Game& game);
