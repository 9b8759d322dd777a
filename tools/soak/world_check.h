// What a long run checks between frames: every reference between records names a live record
// of the right list, every car's driver index names a driver, and every position is a number.
#pragma once

#include <string>
#include <vector>

struct World;

// One line per broken rule, empty when the world is sound.
std::vector<std::string> worldProblems(const World& world);
