// The status display: wanted stars, life, money, the weapon or the car's life.
#pragma once

struct Media;
struct World;

void drawStatus(Media& media, const World& world);
