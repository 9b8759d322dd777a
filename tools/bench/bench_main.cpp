// zor_bench: what a frame costs. The simulation step and the whole frame (simulation, camera,
// city, status display, frame-rate text, flip) on the default city and on the stress city with
// every list at its capacity, against the floor every frame pays anyway (the background over
// the whole screen and the flip); the simulation over a sweep of mover counts; and the
// resident memory of a long run on the default city. Prints figures; never fails on speed.
//
// usage: zor_bench [--size WxH] [--memory-frames N] [benchmark flags]
// Run from the repository root (GFX/ and maps/). The clock is manual (20 ms per frame) and
// rand() is seeded with a fixed value, so every run plays the same frames.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/play_loop.h"
#include "render/status.h"
#include "render/world_view.h"
#include "sim/collision.h"
#include "sim/replay.h"
#include "tools/bench/city_fixture.h"
#include "world/lifetime.h"

namespace {

constexpr uint32_t START_TICKS = 1000;
constexpr int WARM_UP_FRAMES = 50;
constexpr unsigned SEED = 12345;

struct Options {
  int width = 1600, height = 1200;
  long memoryFrames = 20000;
};

Options g_options;
Game* g_game = nullptr;
std::string g_scratch;
std::string g_loaded;  // which city the world holds now
// Per benchmark, one mean per repetition: the frame, and the floor timed between its frames.
std::map<std::string, std::vector<double>> g_runs, g_floorRuns;
// Each frame benchmark runs this often; the summary takes the median, which a busy shared
// machine disturbs less than the mean.
constexpr int REPETITIONS = 5;
// The process's peak resident memory once the stress city has been played (it includes the
// default city's long run before it, so it is an upper bound for the stress city alone).
long g_stressPeakKb = 0;

// The machine is shared: frames are timed in this thread's processor time, which other
// processes do not inflate (the game runs on one thread).
double threadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The mover counts are timed in rounds, each count once a round in a world of its own that
// plays on from round to round, so that a slow minute of a shared machine falls on every count
// alike instead of on one of them. The world a movers benchmark runs in, while it runs:
std::map<int, std::unique_ptr<World>> g_moverWorlds;
World* g_moverWorld = nullptr;

World& world() { return g_moverWorld ? *g_moverWorld : g_game->world; }

void nextFrameTime() { world().clock.advance(FRAME_MS); }

// The drawing half of a play frame, with the status display shown.
void drawFrame() {
  Media& m = g_game->media;
  drawWorld(m, world());
  drawStatus(m, world());
  drawFrameRate(m, FRAME_MS);
  SDL_Flip(m.screen);
}

void playFrameBody() {
  simulateFrame(world());
  drawFrame();
}

// Keeps only the first `count` of a list, removing from the end so no index moves.
void trimList(RecordList<Person>& list, int count, void (*remove)(World&, int)) {
  while (list.count() > count) remove(world(), list.count() - 1);
}

// Loads a city (unless the world already holds it) and plays it past its first frames, where
// every walker looks for its segment and every driver for a car.
//   "default": the first level, as the game plays it.
//   "stress": the stress city, unkillable, with the bullet, mark, drop and money lists full.
//   "movers-N": the stress city cut down to N cars, pedestrians, drivers and bad guys each.
void loadCity(const std::string& name, bool keepFull, int moversEach = -1) {
  World& w = world();
  std::srand(SEED);
  w.random.seed(SEED);
  w.clock.setManual(START_TICKS);
  if (name == "default") {
    if (!startDefaultCity(w)) std::fprintf(stderr, "zor_bench: no level in maps/levels.txt\n");
  } else if (!startStressCity(w, g_scratch)) {
    std::fprintf(stderr, "zor_bench: cannot write the stress city under %s\n", g_scratch.c_str());
  }
  if (moversEach >= 0) {
    while (w.cars.count() > moversEach) removeCar(w, w.cars.count() - 1);
    trimList(w.pedestrians, moversEach, removePedestrian);
    trimList(w.drivers, moversEach, removeDriver);
    trimList(w.badGuys, moversEach, removeBadGuy);
  }
  if (name != "default") makeEverybodyDurable(w);
  for (int f = 0; f < WARM_UP_FRAMES; ++f) {
    if (keepFull) fillTransientLists(w, &g_game->media);
    nextFrameTime();
    playFrameBody();
  }
  std::printf(
      "city %s: %d houses, %d roads, %d sidewalks, %d lawns, %d cars, %d pedestrians, "
      "%d drivers, %d bad guys, %d bullets, %d death marks, %d money drops, %d money items\n",
      name.c_str(), w.houses.count(), w.roads.count(), w.sidewalks.count(), w.lawns.count(),
      w.cars.count(), w.pedestrians.count(), w.drivers.count(), w.badGuys.count(),
      w.bullets.count(), w.deathMarks.count(), w.moneyDrops.count(), w.moneyItems.count());
}

// The same in the game's own world, unless it holds that city already.
void useCity(const std::string& name, bool keepFull) {
  if (g_loaded == name) return;
  loadCity(name, keepFull);
  g_loaded = name;
}

// What every frame pays anyway: the background over the whole screen, then the flip.
void floorBody() {
  Media& m = g_game->media;
  if (m.background) SDL_BlitSurface(m.background.get(), nullptr, m.screen, nullptr);
  SDL_Flip(m.screen);
}

// A digest of everything the rules can see, after a benchmark's last frame: two builds whose
// digests agree played every benchmark's frames alike (a speed change must not change them).
std::map<std::string, uint64_t> g_digests;

uint64_t digest(const std::string& text) {
  uint64_t h = 14695981039346656037ull;  // FNV-1a
  for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
  return h;
}

// Where the floor is timed beside a benchmark, so that both figures come from the same
// stretch of time on a machine whose speed drifts: after every frame (whole frames, which
// paint the screen anyway), or in a block after the repetition (simulation steps, whose
// caches a full-screen blit between steps would empty).
enum class FloorBeside { None, EveryFrame, After };
constexpr int FLOOR_FRAMES_AFTER = 20;

// Times `body` alone per iteration; `prepare` runs untimed before it.
template <class Prepare, class Body>
void timeFrames(benchmark::State& state, const std::string& key, Prepare prepare, Body body,
                FloorBeside floorBeside = FloorBeside::After) {
  double totalMs = 0, floorTotalMs = 0;
  for (auto _ : state) {
    prepare();
    nextFrameTime();
    double start = threadSeconds();
    body();
    const double took = threadSeconds() - start;
    state.SetIterationTime(took);
    totalMs += took * 1000.0;
    if (floorBeside == FloorBeside::EveryFrame) {
      start = threadSeconds();
      floorBody();
      floorTotalMs += (threadSeconds() - start) * 1000.0;
    }
  }
  const double n = static_cast<double>(std::max<int64_t>(state.iterations(), 1));
  g_runs[key].push_back(totalMs / n);
  g_digests[key] = digest(worldState(world()));
  state.counters["mean_ms"] = totalMs / n;
  double floorFrames = n;
  if (floorBeside == FloorBeside::After) {
    for (int f = 0; f < FLOOR_FRAMES_AFTER; ++f) {
      const double start = threadSeconds();
      floorBody();
      floorTotalMs += (threadSeconds() - start) * 1000.0;
    }
    floorFrames = FLOOR_FRAMES_AFTER;
  }
  if (floorBeside != FloorBeside::None) {
    const double floor = floorTotalMs / floorFrames, mean = totalMs / n;
    g_floorRuns[key].push_back(floor);
    state.counters["floor_ms"] = floor;
    state.counters["x_floor"] = mean / floor;
    state.counters["own_x_floor"] = (mean - floor) / floor;
  }
}

double median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Floor(benchmark::State& state) {
  timeFrames(
      state, "Floor", [] {}, floorBody, FloorBeside::None);
}

void DefaultSim(benchmark::State& state) {
  useCity("default", false);
  timeFrames(
      state, "DefaultSim", [] {}, [] { simulateFrame(world()); });
}

// Screens' worth of pixels the rectangle layers (lawns, sidewalks, roads, houses) fill in the
// current view: the share of the game's own drawing that grows with the screen, like the floor.
template <class List>
double filledArea(const List& list, const View& view) {
  double area = 0;
  for (const auto& r : list) {
    const double w =
        std::min<double>(r->x + r->w, view.x + view.w) - std::max<double>(r->x, view.x);
    const double h =
        std::min<double>(r->y + r->h, view.y + view.h) - std::max<double>(r->y, view.y);
    if (w > 0 && h > 0) area += w * h;
  }
  return area;
}

double filledScreens() {
  const World& w = world();
  const double screen = static_cast<double>(w.view.w) * w.view.h;
  if (screen <= 0) return 0;
  return (filledArea(w.lawns, w.view) + filledArea(w.sidewalks, w.view) +
          filledArea(w.roads, w.view) + filledArea(w.houses, w.view)) /
         screen;
}

void DefaultFrame(benchmark::State& state) {
  useCity("default", false);
  timeFrames(
      state, "DefaultFrame", [] {}, playFrameBody, FloorBeside::EveryFrame);
  state.counters["filled_screens"] = filledScreens();
}

void StressSim(benchmark::State& state) {
  useCity("stress", true);
  timeFrames(
      state, "StressSim", [] { fillTransientLists(world()); }, [] { simulateFrame(world()); });
}

void StressFrame(benchmark::State& state) {
  useCity("stress", true);
  timeFrames(
      state, "StressFrame", [] { fillTransientLists(world(), &g_game->media); }, playFrameBody,
      FloorBeside::EveryFrame);
  g_stressPeakKb = std::max(g_stressPeakKb, memoryUse().peakKb);
}

// The share of cars touching another car (closer than a step's block distance): a jammed car
// tests its blockers both ways every frame, so this, not the grid, is what makes a crowded
// city cost more per mover. Measured once, after the timed frames.
std::map<std::string, double> g_touching;

double touchingShare() {
  const World& w = world();
  int touching = 0;
  for (const auto& car : w.cars)
    for (const auto& other : w.cars)
      if (other != car &&
          pointDistance(car->x, car->y, other->x, other->y) <
              car->halfDiagonal + other->halfDiagonal + BLOCK_DISTANCE &&
          boxBoxCloserThan(*car, *other, BLOCK_DISTANCE)) {
        ++touching;
        break;
      }
  return w.cars.empty() ? 0 : static_cast<double>(touching) / w.cars.count();
}

void MoversSim(benchmark::State& state) {
  const int each = static_cast<int>(state.range(0));
  const std::string key = "MoversSim/" + std::to_string(each);
  std::unique_ptr<World>& own = g_moverWorlds[each];
  const bool fresh = !own;
  if (fresh) {  // set up as the game sets up its own
    own = std::make_unique<World>();
    own->view = g_game->world.view;
    own->levels = g_game->world.levels;
  }
  g_moverWorld = own.get();
  if (fresh) loadCity("movers-" + std::to_string(each), false, each);
  timeFrames(
      state, key, [] {}, [] { simulateFrame(world()); });
  const World& w = world();
  const int movers = w.cars.count() + w.pedestrians.count() + w.drivers.count() + w.badGuys.count();
  state.counters["movers"] = movers;
  if (movers > 0) state.counters["us_per_mover"] = 1000.0 * g_runs[key].back() / movers;
  // The share of cars touching, once, after the last round.
  if (g_runs[key].size() == static_cast<size_t>(REPETITIONS)) g_touching[key] = touchingShare();
  g_moverWorld = nullptr;
}

const std::vector<int> kMoverCounts = {50, 100, 200, 400};

void registerBenchmarks() {
  auto timed = [](const char* name, void (*fn)(benchmark::State&), int iterations,
                  int repetitions = REPETITIONS) {
    return benchmark::RegisterBenchmark(name, fn)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(iterations)
        ->Repetitions(repetitions)
        ->DisplayAggregatesOnly(true);
  };
  timed("Floor", Floor, 200);
  timed("DefaultSim", DefaultSim, 1000);
  timed("DefaultFrame", DefaultFrame, 300);
  timed("StressSim", StressSim, 60);
  timed("StressFrame", StressFrame, 60);
  for (int round = 0; round < REPETITIONS; ++round)  // benchmarks run in this order
    for (int each : kMoverCounts) timed("MoversSim", MoversSim, 100, 1)->Arg(each);
}

// The game on the default city for a long run: resident memory after loading, after the first
// minute of play and at the end.
void memoryRun() {
  useCity("default", false);
  const MemoryUse loaded = memoryUse();
  MemoryUse minute;
  for (long f = 0; f < g_options.memoryFrames; ++f) {
    nextFrameTime();
    playFrameBody();
    if (f + 1 == 3000) minute = memoryUse();
  }
  const MemoryUse end = memoryUse();
  std::printf("Memory, default city at %dx%d: after loading VmRSS %.1f MB (peak %.1f MB)",
              g_options.width, g_options.height, loaded.rssKb / 1024.0, loaded.peakKb / 1024.0);
  if (minute.rssKb) std::printf("; after 3000 frames VmRSS %.1f MB", minute.rssKb / 1024.0);
  std::printf("; after %ld frames VmRSS %.1f MB, peak VmHWM %.1f MB (target < 150 MB: %s)\n",
              g_options.memoryFrames, end.rssKb / 1024.0, end.peakKb / 1024.0,
              end.peakKb < 150 * 1024 ? "met" : "missed");
  g_loaded.clear();  // the run moved the city on: the benchmarks start it afresh
}

const char* verdict(bool met) { return met ? "met" : "MISSED"; }

void printSummary() {
  auto ms = [](const std::string& name) {
    auto it = g_runs.find(name);
    return it == g_runs.end() ? -1.0 : median(it->second);
  };
  auto floorBeside = [](const std::string& name) { return median(g_floorRuns[name]); };
  // A frame beside the floor timed between its own frames, repetition by repetition.
  auto ownOverFloor = [](const std::string& name) {
    std::vector<double> ratios;
    const std::vector<double>& frames = g_runs[name];
    const std::vector<double>& floors = g_floorRuns[name];
    for (size_t i = 0; i < frames.size() && i < floors.size(); ++i)
      if (floors[i] > 0) ratios.push_back((frames[i] - floors[i]) / floors[i]);
    return median(ratios);
  };
  std::printf("\nSummary (median of %d repetitions, processor time per frame, %dx%d):\n",
              REPETITIONS, g_options.width, g_options.height);
  std::printf("  floor (background blit + flip)    %8.3f ms\n", ms("Floor"));
  const double dSim = ms("DefaultSim"), dFrame = ms("DefaultFrame");
  if (dSim >= 0)
    std::printf("  default city, simulation step     %8.3f ms; floor beside it %.3f ms   "
                "target < 0.5 ms: %s\n",
                dSim, floorBeside("DefaultSim"), verdict(dSim < 0.5));
  if (dFrame >= 0) {
    const double own = ownOverFloor("DefaultFrame");
    std::printf(
        "  default city, whole frame         %8.3f ms; floor beside it %.3f ms; own work "
        "%.2f x floor   target <= 0.30 x floor: %s\n",
        dFrame, floorBeside("DefaultFrame"), own, verdict(own <= 0.30));
  }
  const double sSim = ms("StressSim"), sFrame = ms("StressFrame");
  if (sSim >= 0)
    std::printf("  stress city, simulation step      %8.3f ms; floor beside it %.3f ms   "
                "target <= 2.5 ms: %s\n",
                sSim, floorBeside("StressSim"), verdict(sSim <= 2.5));
  if (sFrame >= 0)
    std::printf(
        "  stress city, whole frame          %8.3f ms (fastest repetition %.3f ms); floor beside "
        "it %.3f ms   target <= 10 ms: %s\n",
        sFrame, *std::min_element(g_runs["StressFrame"].begin(), g_runs["StressFrame"].end()),
        floorBeside("StressFrame"), verdict(sFrame <= 10.0));
  if (g_stressPeakKb > 0)
    std::printf("  peak resident memory (VmHWM) after the stress city %.1f MB   "
                "target <= 100 MB: %s\n",
                g_stressPeakKb / 1024.0, verdict(g_stressPeakKb <= 100 * 1024));
  std::printf("  simulation by movers (N cars, pedestrians, drivers, bad guys each):\n");
  double fewest = -1, most = -1;
  for (int each : kMoverCounts) {
    const std::string key = "MoversSim/" + std::to_string(each);
    const double m = ms(key);
    if (m < 0) continue;
    const double perMover = 1000.0 * m / (4 * each);
    fewest = fewest < 0 ? perMover : std::min(fewest, perMover);
    most = std::max(most, perMover);
    std::printf("    N = %3d: %7.3f ms, %6.3f us per mover; floor beside it %.3f ms; %3.0f %% of "
                "cars touch another\n",
                each, m, perMover, floorBeside(key), 100.0 * g_touching[key]);
  }
  if (fewest > 0)
    std::printf("    us per mover from %.3f to %.3f (%.0f %% apart)   target within 20 %%: %s; "
                "target <= 1.0 us: %s\n",
                fewest, most, 100.0 * (most - fewest) / fewest,
                verdict(most <= 1.2 * fewest), verdict(most <= 1.0));
  std::printf("  world digests after each benchmark's frames (equal digests: the same play):\n");
  for (const auto& [key, value] : g_digests)
    if (key != "Floor")
      std::printf("    %-14s %016llx\n", key.c_str(), static_cast<unsigned long long>(value));
}

bool parseOwnFlags(int& argc, char** argv) {
  int out = 1;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--size") == 0 && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%dx%d", &g_options.width, &g_options.height) != 2) return false;
    } else if (std::strcmp(arg, "--memory-frames") == 0 && i + 1 < argc) {
      g_options.memoryFrames = std::atol(argv[++i]);
    } else {
      argv[out++] = argv[i];
    }
  }
  argc = out;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (!parseOwnFlags(argc, argv)) {
    std::fprintf(stderr, "usage: zor_bench [--size WxH] [--memory-frames N] [benchmark flags]\n");
    return 2;
  }
  benchmark::Initialize(&argc, argv);
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);

  auto game = std::make_unique<Game>();
  g_game = game.get();
  if (!openGameMedia(*game, g_options.width, g_options.height)) {
    std::fprintf(stderr, "zor_bench: cannot open a %dx%d window and the fonts under GFX/\n",
                 g_options.width, g_options.height);
    return 1;
  }
  if (!game->media.background || !game->media.carFrames[0])
    std::fprintf(stderr, "zor_bench: warning: the art under GFX/ is missing; run make art\n");
  g_scratch = makeScratchDir("zor-bench");

  if (g_options.memoryFrames > 0) memoryRun();
  registerBenchmarks();
  benchmark::RunSpecifiedBenchmarks();
  printSummary();
  benchmark::Shutdown();
  g_moverWorlds.clear();

  closeGameMedia(*game);
  removeTree(g_scratch);
  return 0;
}
