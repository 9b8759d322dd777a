// Whether the city holds together: what the tests, the soak run and the fuzz target check
// between frames.
#pragma once

#include <string>
#include <vector>

struct World;

// One line per broken rule ("driver 3 targets a removed car"), empty when the world is sound:
// no list beyond its capacity; every reference (world/references.h) names a live record of the
// right list (drivers walk roads, everyone else sidewalks; a segment's neighbours are of its
// own list); every car's driver index names a driver, or the player, who sits in that car, and
// a person in a car is that car's driver; every person holds its bare hands and a current
// weapon it has; positions are numbers.
std::vector<std::string> checkWorld(const World& world);
