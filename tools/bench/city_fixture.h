// The worlds the benchmarks and the soak run play in: a window under any video driver, the
// game's art and fonts, the default city or the generator's stress city, and lists kept full.
#pragma once

#include <string>

struct Game;
struct Media;
struct World;

// Opens SDL, a w x h 32-bit window, the fonts and every image, as the game's start does but at
// a chosen size. Paths are relative to the working directory (the repository root). False when
// SDL, the window or the fonts cannot be opened.
bool openGameMedia(Game& game, int w, int h);
// Releases the media and shuts SDL down.
void closeGameMedia(Game& game);

// Starts the first level of maps/levels.txt. False when the list is empty.
bool startDefaultCity(World& world);

// Writes the generator's stress city (every list at its capacity) into scratchRoot/maps/stress
// and starts it as a level from there, through the map loader. False when it cannot be written.
bool startStressCity(World& world, const std::string& scratchRoot);
// Starts the map `mapName` found under root/maps (the level start: the city reloaded, money on
// the roads, a new player), coming back to the working directory afterwards.
bool startLevelIn(World& world, const std::string& root, const std::string& mapName);

// Makes every house, car and person unkillable (a life far beyond any frame's damage) and
// heals them, so that a long run keeps the same number of targets.
void makeEverybodyDurable(World& world);

// Tops the bullet list up to its capacity with bullets spread over the view, flying in every
// direction with a range that outlasts the screen; with media, each new bullet gets its turned
// picture here, as it would on its first draw. Tops up death marks and money drops (spread over the
// whole city) and the money on the roads. Random draws come from rand().
void fillTransientLists(World& world, Media* media = nullptr);

// Resident memory of this process in kilobytes (VmRSS) and its peak (VmHWM); 0 when unknown.
struct MemoryUse {
  long rssKb = 0;
  long peakKb = 0;
};
MemoryUse memoryUse();

// A fresh scratch directory under the system's temporary folder; removed by removeTree.
std::string makeScratchDir(const char* stem);
void removeTree(const std::string& path);
