// One fuzz case for the map files: shared by the fuzz target and the regression tests.
//
// Input: a first line naming the file ("houses.txt", ..., "levels.txt"), then its content.
// An unknown first line picks the file by its first byte, so mutated names still reach
// every reader. The case loads the content, links the networks, places money, saves and
// loads again, and returns what went wrong ("" when nothing did).
#pragma once

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

#include "world/world.h"
#include "world/level.h"
#include "world/map_files.h"

namespace fuzz {

inline std::string writeFile(const World& world, MapFile file) {
  std::ostringstream out;
  writeMapFile(world, file, out);
  return out.str();
}

inline int recordCount(const World& w) {
  return w.houses.count() + w.roads.count() + w.cars.count() + w.pedestrians.count() +
         w.weapons.count() + w.sidewalks.count() + w.lawns.count() + w.drivers.count() +
         w.badGuys.count();
}

// Whether a centre or corner still passes the loader's 0 < v < 3000 once saved with six
// significant digits (2999.9999 is saved as 3000 and a lawn at 0.5 was truncated to 0).
inline bool survivesSave(double v) {
  std::ostringstream out;
  out << v;
  const double back = std::strtod(out.str().c_str(), nullptr);
  return back > 0 && back < 3000;
}

inline int survivors(const World& w) {
  int n = 0;
  auto count = [&n](const auto& list) {
    for (const auto& r : list) n += survivesSave(r->x) && survivesSave(r->y);
  };
  count(w.houses);
  count(w.roads);
  count(w.cars);
  count(w.pedestrians);
  count(w.weapons);
  count(w.sidewalks);
  count(w.lawns);
  count(w.drivers);
  count(w.badGuys);
  return n;
}

inline std::string runCase(const char* data, size_t size) {
  const std::string input(data, size);
  const size_t lineEnd = input.find('\n');
  const std::string first = input.substr(0, lineEnd);
  const std::string content = lineEnd == std::string::npos ? "" : input.substr(lineEnd + 1);

  int kind = -1;
  for (int f = 0; f < MAP_FILE_COUNT; ++f)
    if (first == mapFileName(static_cast<MapFile>(f))) kind = f;
  if (first == "levels.txt") kind = MAP_FILE_COUNT;
  if (kind < 0) kind = size == 0 ? 0 : static_cast<unsigned char>(data[0]) % (MAP_FILE_COUNT + 1);

  if (kind == MAP_FILE_COUNT) {
    std::istringstream in(content);
    const auto names = parseLevelList(in);
    size_t breaks = 0;
    for (char c : content) breaks += c == '\n';
    if (content.empty() ? !names.empty() : names.size() != breaks + 1)
      return "level list: " + std::to_string(names.size()) + " names for " +
             std::to_string(breaks) + " line breaks";
    for (const auto& n : names)
      if (n.find('\n') != std::string::npos) return "level list: a name holds a line break";
    return "";
  }

  const MapFile file = static_cast<MapFile>(kind);
  World world;
  world.clock.setManual(0);
  {
    std::istringstream in(content);
    readMapFile(world, file, in);
  }
  linkNetworks(world);
  srand(1);
  placeMoneyItems(world);
  for (const auto& m : world.moneyItems)
    if (!std::isfinite(m->x) || !std::isfinite(m->y)) return "money item off the map";

  // Saved and loaded again, every record that can survive the save is back, and a second
  // round writes exactly the same text.
  const std::string saved = writeFile(world, file);
  World again;
  {
    std::istringstream in(saved);
    readMapFile(again, file, in);
  }
  if (recordCount(again) != survivors(world))
    return "reloading lost records: " + std::to_string(recordCount(again)) + " of " +
           std::to_string(survivors(world));
  const std::string resaved = writeFile(again, file);
  World third;
  {
    std::istringstream in(resaved);
    readMapFile(third, file, in);
  }
  if (writeFile(third, file) != resaved) return "a second save wrote different text";
  linkNetworks(third);
  return "";
}

}  // namespace fuzz
