// The status display: wanted stars, life, money, the weapon or the car's life.
#pragma once

struct World;

void drawStatus(World& world);
