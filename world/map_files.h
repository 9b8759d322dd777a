// The map folder format: loader, writer and the level list.
#pragma once

#include <string>
#include <vector>

struct World;
struct Rect;

void loadMap(World& world);
// Writes every file under a temporary name and renames it into place.
void saveMap(World& world);
void saveLevelList(World& world);
// Reads "maps/levels.txt" (one name per line); a missing file gives an empty list.
std::vector<std::string> readLevelList(const std::string& path = "maps/levels.txt");
double rectDistance(const Rect& a, const Rect& b);
