// The property panel of the selected object.
#pragma once

struct Game;

void drawProperties(Game& game);
void startFieldEdit(Game& game);
void applyFieldEdit(Game& game);
