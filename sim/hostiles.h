// Bad guys: stroll the sidewalks, chase and shoot the player within their weapon's range.
#pragma once

struct World;

void updateBadGuys(World& world);
