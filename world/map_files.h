// The map folder format: loader, writer and the level list.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

struct World;
struct Rect;

// The nine files of a map folder, in the order the loader reads them.
enum class MapFile { Houses, Roads, Cars, Pedestrians, Weapons, Sidewalks, Lawns, Drivers, BadGuys };
constexpr int MAP_FILE_COUNT = 9;

// "houses.txt", "roads.txt", ... (the name inside the map folder).
const char* mapFileName(MapFile file);
// "<map folder>/<file name>": the user's copy of the map when there is one, else the shipped one.
std::string mapFilePath(const std::string& mapName, MapFile file);

void loadMap(World& world);
// Writes every file under a temporary name and renames it into place, one file after another;
// a file that cannot be written keeps its old version. Both return what failed first (the
// path and the system's reason), or "" when everything was written.
[[nodiscard]] std::string saveMap(World& world);
// Beside shipped maps the list saved holds only the names that are not shipped.
[[nodiscard]] std::string saveLevelList(World& world);
// The names the game itself uses under "maps/": no map may be called so.
bool reservedMapName(const std::string& name);
// The shipped level list followed by the user's names not in it (one name per line in each);
// a missing file gives no names.
std::vector<std::string> readLevelList();
std::vector<std::string> readLevelList(const std::string& path);
double rectDistance(const Rect& a, const Rect& b);

// The pieces loadMap and saveMap are made of, usable on any stream (tests, fuzzing).
// Appends the records of one file to its list; stops at the first record that does
// not read whole, and when the list is full.
void readMapFile(World& world, MapFile file, std::istream& in);
// Writes one file's records exactly as saveMap puts them on disk.
void writeMapFile(const World& world, MapFile file, std::ostream& out);
// Links every sidewalk to the sidewalks near it, then every road to the roads near it.
void linkNetworks(World& world);
// Splits the level list into names; empty input gives no names.
std::vector<std::string> parseLevelList(std::istream& in);
