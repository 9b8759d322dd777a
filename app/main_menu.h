// The main menu and its screens (map list, controls, video mode).
#pragma once

struct Game;

void mainMenu(Game& game);
