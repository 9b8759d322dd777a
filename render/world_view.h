// The camera and the drawing of the city in layer order.
#pragma once

struct World;

void updateCamera(World& world);
void drawWorld(World& world);
