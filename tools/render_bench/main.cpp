// zor_render_bench: times the game's own drawing (every layer of the city and the status
// display) against what every frame pays anyway, the full-screen background blit and flip.
//
// usage: zor_render_bench [--root DIR] [--map NAME | --style downtown|suburb] [--stress]
//                         [--size WxH] [--frames N]
// DIR holds GFX/ (the game's art) and maps/; without --map a generated city is drawn.
// The camera sweeps the city diagonally while the simulation runs between frames.
#include <SDL.h>
#include <SDL_ttf.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "render/media.h"
#include "render/rotate.h"
#include "render/sprites.h"
#include "render/status.h"
#include "render/world_view.h"
#include "sim/camera.h"
#include "sim/collision.h"
#include "sim/tick.h"
#if ZOR_HAVE_CITYGEN
#include "tools/citygen/city_generator.h"
#endif
#include "world/level.h"
#include "world/map_files.h"
#include "world/world.h"

namespace {

using Stopwatch = std::chrono::steady_clock;

double msSince(Stopwatch::time_point start) {
  return std::chrono::duration<double, std::milli>(Stopwatch::now() - start).count();
}

struct Stats {
  std::vector<double> samples;
  void add(double ms) { samples.push_back(ms); }
  double mean() const {
    double sum = 0;
    for (double s : samples) sum += s;
    return samples.empty() ? 0 : sum / samples.size();
  }
  // The sample below which the given fraction lies (0.5 = median).
  double quantile(double q) const {
    if (samples.empty()) return 0;
    std::vector<double> sorted = samples;
    std::sort(sorted.begin(), sorted.end());
    return sorted[std::min(sorted.size() - 1, static_cast<size_t>(q * sorted.size()))];
  }
  void print(const char* what) const {
    std::printf("%-26s: mean %.3f ms, min %.3f, median %.3f, 90%% %.3f ms\n", what, mean(),
                quantile(0), quantile(0.5), quantile(0.9));
  }
};

int usage() {
  std::fprintf(stderr,
               "usage: zor_render_bench [--root DIR] [--map NAME | --style downtown|suburb]\n"
               "                        [--stress] [--size WxH] [--frames N]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string root = ".", map, style = "downtown";
  bool stress = false;
  int width = 1024, height = 768, frames = 500;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc && arg != "--stress") return usage();
    if (arg == "--root")
      root = argv[++i];
    else if (arg == "--map")
      map = argv[++i];
    else if (arg == "--style")
      style = argv[++i];
    else if (arg == "--stress")
      stress = true;
    else if (arg == "--size") {
      if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2) return usage();
    } else if (arg == "--frames")
      frames = std::atoi(argv[++i]);
    else
      return usage();
  }
  if (chdir(root.c_str()) != 0) {
    std::fprintf(stderr, "zor_render_bench: cannot enter %s\n", root.c_str());
    return 1;
  }

  if (SDL_Init(SDL_INIT_VIDEO) != 0 || TTF_Init() != 0) return 1;
  SDL_Surface* screen = SDL_SetVideoMode(width, height, 32, SDL_SWSURFACE);
  if (!screen) return 1;
  {
    World world;
    Media media;
    media.screen = screen;
    world.view = {0, 0, screen->w, screen->h};
    world.clock.setManual(1000);
    media.smallFont.reset(TTF_OpenFont("GFX/fonts/ADVERT.TTF", 12));
    loadSprites(media);
    mapMediaColours(media, screen->format);
    if (!media.background) std::fprintf(stderr, "warning: no art under %s/GFX\n", root.c_str());

    std::srand(1);
    if (!map.empty()) {
      world.mapName = map;
      startLevel(world);
    } else {
#if ZOR_HAVE_CITYGEN
      CityOptions options;
      options.style = style;
      options.stress = stress;
      generateCity(world, options);
      linkNetworks(world);
      placeMoneyItems(world);
      makeStartPlayer(world);
#else
      std::fprintf(stderr, "zor_render_bench: built without the city generator; use --map\n");
      return 2;
#endif
    }
    std::printf(
        "city: %d houses, %d roads, %d sidewalks, %d lawns, %d cars, %d pedestrians, "
        "%d drivers, %d bad guys; screen %dx%d\n",
        world.houses.count(), world.roads.count(), world.sidewalks.count(), world.lawns.count(),
        world.cars.count(), world.pedestrians.count(), world.drivers.count(), world.badGuys.count(),
        screen->w, screen->h);

    Stats reference, own, rotations;
    long drawnMovers = 0;
    SurfacePtr background = std::move(media.background);
    for (int f = 0; f < frames; ++f) {
      world.clock.advance(20);
      simulateFrame(world);
      // The camera sweeps the city corner to corner and back.
      const double t = static_cast<double>(f % 200) / 199.0;
      const double along = (f / 200) % 2 ? 1.0 - t : t;
      world.player->x = 100 + along * 2800;
      world.player->y = 100 + along * 2800;
      world.player->inCar = false;
      updateCamera(world);

      // What every frame pays anyway: the background over the whole screen, then the flip.
      Stopwatch::time_point start = Stopwatch::now();
      if (background) SDL_BlitSurface(background.get(), nullptr, screen, nullptr);
      SDL_Flip(screen);
      reference.add(msSince(start));

      // The game's own drawing: every layer above the background, then the status display.
      start = Stopwatch::now();
      drawWorld(media, world);
      drawStatus(media, world);
      own.add(msSince(start));

      // The turning alone, for every mover drawn this frame.
      std::vector<std::pair<SDL_Surface*, int>> movers;
      for (const auto& car : world.cars)
        if (anyCornerInView(*car, world.view))
          movers.push_back({media.carFrames[tableIndex(car->model)].get(), car->heading - 90});
      for (const RecordList<Person>* list : {&world.pedestrians, &world.badGuys, &world.drivers})
        for (const auto& p : *list)
          if (p->life > p->damage && !p->inCar && anyCornerInView(*p, world.view))
            movers.push_back(
                {media.pedestrianFrames[tableIndex(p->kind) * 8].get(), p->heading - 90});
      movers.push_back({media.playerFrames[0].get(), world.player->heading - 90});
      drawnMovers += static_cast<long>(movers.size());
      start = Stopwatch::now();
      for (const auto& m : movers) SurfacePtr turned = rotateSprite(m.first, m.second, 1.0);
      rotations.add(msSince(start));
    }
    media.background = std::move(background);

    std::printf("frames %d, movers drawn per frame %.1f\n", frames,
                static_cast<double>(drawnMovers) / frames);
    reference.print("background blit + flip");
    own.print("own drawing (layers + HUD)");
    rotations.print("  of which turning");
    std::printf("own / reference: %.0f%% by medians, %.0f%% by means\n",
                100.0 * own.quantile(0.5) / std::max(reference.quantile(0.5), 1e-9),
                100.0 * own.mean() / std::max(reference.mean(), 1e-9));
  }
  TTF_Quit();
  SDL_Quit();
  return 0;
}
