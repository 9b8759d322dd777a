// The camera: the view centred on a point and kept inside the city.
#pragma once

struct View;
struct World;

// Puts the view's centre at (x, y) as far as the city's edges allow.
void centreView(View& view, int x, int y);
// The game's camera follows the player.
void updateCamera(World& world);
