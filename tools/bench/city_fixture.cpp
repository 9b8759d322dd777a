// The worlds the benchmarks and the soak run play in: media at a chosen size, the default and
// the stress city, unkillable targets and the bullet, mark, drop and money lists kept full.
#include "tools/bench/city_fixture.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/game.h"
#include "render/sprites.h"
#include "render/world_view.h"
#include "sim/collision.h"
#include "tools/citygen/city_generator.h"
#include "world/level.h"
#include "world/map_files.h"

namespace {

constexpr const char* FONT_PATH = "GFX/fonts/ADVERT.TTF";
// Far beyond the damage of any run: bullets still spend themselves on the target.
constexpr double DURABLE_LIFE = 1e15;
// Bullets put in flight by the fixture: the AK47's power, a range longer than any screen.
constexpr double FILL_BULLET_POWER = 1000.0;
constexpr int32_t FILL_BULLET_RANGE = 5000;
constexpr int FILL_INSET = 20;  // keeps new bullets' corners inside the view

double randomIn(int from, int span) { return from + (span > 0 ? rand() % span : 0); }

void fillBullets(World& world, Media* media) {
  const View& view = world.view;
  while (!world.bullets.full()) {
    const double x = randomIn(view.x + FILL_INSET, view.w - 2 * FILL_INSET);
    const double y = randomIn(view.y + FILL_INSET, view.h - 2 * FILL_INSET);
    auto bullet = std::make_unique<Bullet>();
    static_cast<Body&>(*bullet) = Body(x, y, 10, 5, FILL_BULLET_POWER, 0, rand() % 360);
    bullet->originX = x;
    bullet->originY = y;
    bullet->power = FILL_BULLET_POWER;
    bullet->range = FILL_BULLET_RANGE;
    bullet->imageIndex = rand() % 2;
    bullet->serial = ++world.shotsFired;
    const Bullet* added = world.bullets.append(std::move(bullet));
    if (media && added) bulletPicture(*media, *added);
  }
}

template <class Mark>
void fillMarks(World& world, RecordList<Mark>& list, double value) {
  while (!list.full()) {
    auto mark = std::make_unique<Mark>();
    mark->x = randomIn(50, WORLD_SIZE - 100);
    mark->y = randomIn(50, WORLD_SIZE - 100);
    mark->value = value;
    mark->createdAt = world.clock.now();
    list.append(std::move(mark));
  }
}

long statusField(const std::string& text, const char* key) {
  const std::string::size_type at = text.find(key);
  if (at == std::string::npos) return 0;
  return std::strtol(text.c_str() + at + std::char_traits<char>::length(key), nullptr, 10);
}

}  // namespace

bool openGameMedia(Game& game, int w, int h) {
  World& world = game.world;
  Media& media = game.media;
  if (SDL_Init(SDL_INIT_VIDEO) == -1) return false;
  if (!setVideoMode(game, w, h, WINDOW_FLAGS)) {
    closeGameMedia(game);
    return false;
  }
  if (TTF_Init() == -1) {
    closeGameMedia(game);
    return false;
  }
  loadSprites(media);
  media.dotImage = loadImage("dot.bmp");
  world.view = View{0, 0, media.screen->w, media.screen->h};
  media.smallFont.reset(TTF_OpenFont(FONT_PATH, 12));
  media.bigFont.reset(TTF_OpenFont(FONT_PATH, 28));
  if (!media.smallFont || !media.bigFont) {
    closeGameMedia(game);
    return false;
  }
  world.levels = readLevelList();
  return true;
}

void closeGameMedia(Game& game) { shutdownGame(game); }

bool startDefaultCity(World& world) {
  if (world.levels.empty()) world.levels = readLevelList();
  if (world.levels.empty()) return false;
  world.mapName = world.levels[0];
  startLevel(world);
  return true;
}

bool startStressCity(World& world, const std::string& scratchRoot) {
  {
    auto city = std::make_unique<World>();
    CityOptions options;
    options.stress = true;
    generateCity(*city, options);
    mkdir((scratchRoot + "/maps").c_str(), 0777);
    if (!writeCityFolder(*city, scratchRoot + "/maps/stress")) return false;
  }
  return startLevelIn(world, scratchRoot, "stress");
}

bool startLevelIn(World& world, const std::string& root, const std::string& mapName) {
  char here[PATH_MAX];
  if (!getcwd(here, sizeof here) || chdir(root.c_str()) != 0) return false;
  world.mapName = mapName;
  startLevel(world);
  return chdir(here) == 0;
}

void makeEverybodyDurable(World& world) {
  auto harden = [](Body& body) {
    body.life = DURABLE_LIFE;
    body.damage = 0;
  };
  for (const auto& house : world.houses) {
    house->life = DURABLE_LIFE;
    house->damage = 0;
  }
  for (const auto& car : world.cars) harden(*car);
  for (const RecordList<Person>* people : {&world.pedestrians, &world.drivers, &world.badGuys})
    for (const auto& person : *people) harden(*person);
  if (world.player) harden(*world.player);
}

void fillTransientLists(World& world, Media* media) {
  fillBullets(world, media);
  fillMarks(world, world.deathMarks, 0.0);
  fillMarks(world, world.moneyDrops, 100.0);
  // Money on the roads comes ten items at a time; a city without roads gets none.
  for (int before = -1; !world.moneyItems.full() && world.moneyItems.count() != before;) {
    before = world.moneyItems.count();
    placeMoneyItems(world);
  }
}

MemoryUse memoryUse() {
  std::ifstream in("/proc/self/status");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  MemoryUse use;
  use.rssKb = statusField(text, "VmRSS:");
  use.peakKb = statusField(text, "VmHWM:");
  return use;
}

std::string makeScratchDir(const char* stem) {
  std::string pattern = (std::filesystem::temp_directory_path() / stem).string() + ".XXXXXX";
  if (!mkdtemp(pattern.data())) return {};
  return pattern;
}

void removeTree(const std::string& path) {
  std::error_code ignored;
  if (!path.empty()) std::filesystem::remove_all(path, ignored);
}
