// One fuzz case for the map files: shared by the fuzz target and the regression tests.
//
// Input: a first line naming the file ("houses.txt", ..., "levels.txt"), then its content;
// further lines naming a map file start that file's content. An unknown first line picks the
// file by its first byte, so mutated names still reach every reader. The case loads the
// content, links the networks, places money, saves and loads again, plays a few frames on what
// was loaded, checks the world after loading and after playing, and returns what went wrong
// ("" when nothing did).
#pragma once

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/play_loop.h"
#include "render/media.h"
#include "world/world.h"
#include "render/status.h"
#include "render/world_view.h"
#include "sim/vehicles.h"
#include "world/level.h"
#include "world/map_files.h"
#include "world/world_check.h"

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

// A small picture for every slot the drawing uses, so that the sprites are turned and blitted.
inline void givePictures(Media& media) {
  auto picture = [] {
    return SurfacePtr(SDL_CreateRGBSurface(SDL_SWSURFACE, 6, 8, 32, 0xFF0000, 0xFF00, 0xFF, 0));
  };
  for (auto* slots : {&media.playerFrames[0], &media.carFrames[0], &media.pedestrianFrames[0],
                      &media.bulletFrames[0], &media.bulletFrames[1], &media.targetImage[0],
                      &media.arrowImage[0], &media.moneyImage, &media.bloodStain})
    *slots = picture();
}

// A few frames of play on the loaded city, drawn on a small screen: the player walks and
// fires, then boards the nearest car and drives. Values that load fine but break the
// simulation or the drawing show up here (under the sanitizers, as a report).
inline void playFrames(World& world) {
  static SDL_Surface* screen =
      SDL_CreateRGBSurface(SDL_SWSURFACE, 320, 240, 32, 0xFF0000, 0xFF00, 0xFF, 0);
  if (!screen) return;
  Media media;
  media.screen = screen;
  world.view = {0, 0, 320, 240};
  mapMediaColours(media, screen->format);
  givePictures(media);
  makeStartPlayer(world);
  static Uint8 keys[SDLK_LAST];
  SDL_Event enter{};
  enter.type = SDL_KEYDOWN;
  enter.key.keysym.sym = SDLK_RETURN;
  bool showHud = true, quit = false;
  Person& player = *world.player;
  for (int frame = 0; frame < 12; ++frame) {
    world.clock.setManual(1000 + 20 * static_cast<uint32_t>(frame));
    keys[SDLK_UP] = 1;
    keys[SDLK_RCTRL] = frame < 6;
    if (frame == 6) playEvent(world, enter, showHud, quit);  // off to the nearest car
    if (frame == 8 && player.targetCar && !player.inCar) enterCar(world, player);
    applyHeldKeys(world, keys);
    movePlayer(world, keys);
    simulateFrame(world);
    drawWorld(media, world);
    drawStatus(media, world);
  }
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

  // A line that names another map file starts that file's content, so one case can hold a
  // whole city (roads, cars and drivers together) for the frames played on it.
  World world;
  world.clock.setManual(0);
  std::istringstream lines(content);
  std::string line, text;
  MapFile file = static_cast<MapFile>(kind);
  auto load = [&] {
    std::istringstream in(text);
    readMapFile(world, file, in);
    text.clear();
  };
  while (std::getline(lines, line)) {
    int named = -1;
    for (int f = 0; f < MAP_FILE_COUNT; ++f)
      if (line == mapFileName(static_cast<MapFile>(f))) named = f;
    if (named < 0) {
      text += line + "\n";
      continue;
    }
    load();
    file = static_cast<MapFile>(named);
  }
  load();
  linkNetworks(world);
  world.random.seed(1);
  placeMoneyItems(world);
  for (const auto& m : world.moneyItems)
    if (!std::isfinite(m->x) || !std::isfinite(m->y)) return "money item off the map";
  for (const std::string& problem : checkWorld(world)) return "loaded: " + problem;

  // Saved and loaded again, every record is back, and a second round writes exactly the
  // same text.
  World again, third;
  std::string resaved[MAP_FILE_COUNT];
  for (int f = 0; f < MAP_FILE_COUNT; ++f) {
    std::istringstream in(writeFile(world, static_cast<MapFile>(f)));
    readMapFile(again, static_cast<MapFile>(f), in);
  }
  if (recordCount(again) != recordCount(world))
    return "reloading lost records: " + std::to_string(recordCount(again)) + " of " +
           std::to_string(recordCount(world));
  for (int f = 0; f < MAP_FILE_COUNT; ++f) {
    resaved[f] = writeFile(again, static_cast<MapFile>(f));
    std::istringstream in(resaved[f]);
    readMapFile(third, static_cast<MapFile>(f), in);
  }
  for (int f = 0; f < MAP_FILE_COUNT; ++f)
    if (writeFile(third, static_cast<MapFile>(f)) != resaved[f])
      return "a second save wrote different text";
  linkNetworks(third);
  playFrames(third);
  for (const std::string& problem : checkWorld(third)) return "played: " + problem;
  return "";
}

}  // namespace fuzz
