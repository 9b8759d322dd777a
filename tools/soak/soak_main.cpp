// zor_soak FRAMES: a long headless game on the stress city through the real play frame, with a
// random player who walks, turns, drives, shoots, switches weapons and gets in and out of cars.
// Between frames the world's references are checked; resident memory is printed as it goes.
// Built with the sanitizers (make soak) it also proves the run free of memory errors and leaks.
//
// usage: zor_soak FRAMES [--size WxH] [--seed N] [--every N] [--restart-every N]
// Run from the repository root (GFX/ and the fonts). Exit status 0 when no check failed.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/play_loop.h"
#include "sim/weapons.h"
#include "tools/bench/city_fixture.h"
#include "world/world_check.h"

namespace {

constexpr uint32_t START_TICKS = 1000;
constexpr long FIRST_MINUTE = 60 * 1000 / FRAME_MS;  // frames in a minute of play
constexpr double PLAYER_LIFE = 1e15;  // the player outlives the run: game over would wait for a key

struct Options {
  long frames = 0;
  int width = 800, height = 600;
  unsigned seed = 1;
  long every = 5000;
  long restartEvery = 25000;
};

// The random player. What it does lasts a stretch of frames; presses come now and then. On foot
// it walks, turns and shoots, and now and then heads for the nearest car, keeping its hands
// off the walking keys until it gets there (or gives up); in a car it drives until it gets out.
class RandomPlayer {
 public:
  explicit RandomPlayer(unsigned seed) : random_(seed) {}

  void frame(Uint8* keys, const Person& player) {
    std::memset(keys, 0, SDLK_LAST);
    if (player.walkingToCar && !player.inCar && patience_-- > 0) {
      if (chance(40)) press(chance(2) ? SDLK_m : SDLK_n);
      return;  // any walking or turning key would call the walk off
    }
    if (left_-- <= 0) pickStretch(player.inCar);
    switch (mode_) {
      case Mode::Forward:
        keys[SDLK_UP] = 1;
        break;
      case Mode::Backward:
        keys[SDLK_s] = 1;
        break;
      case Mode::Shoot:
        keys[SDLK_RCTRL] = 1;
        break;
      case Mode::WalkAndShoot:
        keys[SDLK_w] = 1;
        keys[SDLK_RCTRL] = 1;
        break;
      case Mode::Handbrake:
        keys[SDLK_UP] = 1;
        keys[SDLK_SPACE] = 1;
        break;
      case Mode::Stand:
        break;
    }
    if (turn_ < 0) keys[chance(2) ? SDLK_LEFT : SDLK_a] = 1;
    if (turn_ > 0) keys[chance(2) ? SDLK_RIGHT : SDLK_d] = 1;
    if (chance(60)) keys[chance(2) ? SDLK_1 : SDLK_2] = 1;

    if (chance(player.inCar ? 400 : 250)) {
      press(SDLK_RETURN);
      patience_ = 600;
      // Walking keys held in the same frame would call the walk to the car off at once.
      if (!player.inCar) std::memset(keys, 0, SDLK_LAST);
    }
    if (chance(120)) press(SDLK_m);
    if (chance(120)) press(SDLK_n);
    if (chance(700)) press(SDLK_i);
    if (chance(8)) moveMouse();
  }

 private:
  enum class Mode { Stand, Forward, Backward, Shoot, WalkAndShoot, Handbrake };

  bool chance(int oneIn) { return std::uniform_int_distribution<int>(0, oneIn - 1)(random_) == 0; }
  int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  void pickStretch(bool inCar) {
    static const Mode onFoot[] = {Mode::Stand, Mode::Forward, Mode::Backward, Mode::Shoot,
                                  Mode::WalkAndShoot};
    static const Mode driving[] = {Mode::Forward,  Mode::Forward,   Mode::Forward,
                                   Mode::Backward, Mode::Handbrake, Mode::Stand};
    if (inCar)
      mode_ = driving[between(0, sizeof driving / sizeof driving[0] - 1)];
    else
      mode_ = onFoot[between(0, sizeof onFoot / sizeof onFoot[0] - 1)];
    turn_ = between(-1, 1);
    left_ = between(10, 120);
  }

  static void press(SDLKey key) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = key;
    SDL_PushEvent(&e);
  }

  void moveMouse() {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.xrel = static_cast<Sint16>(between(-40, 40));
    e.motion.yrel = static_cast<Sint16>(between(-40, 40));
    SDL_PushEvent(&e);
  }

  std::mt19937 random_;
  Mode mode_ = Mode::Stand;
  int turn_ = 0;
  int left_ = 0;
  int patience_ = 0;  // frames left to wait while walking to a car
};

// What the random player got up to, so a run shows it drove, shot and switched weapons.
struct Tally {
  long boarded = 0, left = 0, framesInCar = 0, shots = 0, switches = 0;

  struct Before {
    bool inCar;
    int weapon;
    uint32_t lastShotAt;
  };
  static Before of(Person& p) {
    const Weapon* w = currentWeaponOf(p);
    return {p.inCar, p.currentWeapon, w ? w->lastShotAt : 0};
  }
  void count(const Before& before, Person& p) {
    const Before after = of(p);
    if (!before.inCar && after.inCar) ++boarded;
    if (before.inCar && !after.inCar) ++left;
    if (after.inCar) ++framesInCar;
    if (before.weapon != after.weapon) ++switches;
    if (before.weapon == after.weapon && after.lastShotAt != before.lastShotAt) ++shots;
  }
};

bool parse(int argc, char** argv, Options& o) {
  if (argc < 2) return false;
  o.frames = std::atol(argv[1]);
  if (o.frames <= 0) return false;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    const char* value = argv[i + 1];
    if (flag == "--size") {
      if (std::sscanf(value, "%dx%d", &o.width, &o.height) != 2) return false;
    } else if (flag == "--seed") {
      o.seed = static_cast<unsigned>(std::strtoul(value, nullptr, 10));
    } else if (flag == "--every") {
      o.every = std::atol(value);
    } else if (flag == "--restart-every") {
      o.restartEvery = std::atol(value);
    } else {
      return false;
    }
  }
  return argc % 2 == 0 && o.every > 0;
}

void printState(long frame, const World& world) {
  const MemoryUse m = memoryUse();
  std::printf(
      "frame %7ld: VmRSS %7.1f MB, peak %7.1f MB; %d cars, %d pedestrians, %d drivers, "
      "%d bad guys, %d houses, %d bullets, %d death marks, %d money drops\n",
      frame, m.rssKb / 1024.0, m.peakKb / 1024.0, world.cars.count(), world.pedestrians.count(),
      world.drivers.count(), world.badGuys.count(), world.houses.count(), world.bullets.count(),
      world.deathMarks.count(), world.moneyDrops.count());
  std::fflush(stdout);
}

bool startCity(World& world, const std::string& scratch, bool generate) {
  const bool ok =
      generate ? startStressCity(world, scratch) : startLevelIn(world, scratch, "stress");
  if (ok && world.player) world.player->life = PLAYER_LIFE;
  return ok;
}

int run(const Options& options) {
  auto game = std::make_unique<Game>();
  World& world = game->world;
  if (!openGameMedia(*game, options.width, options.height)) {
    std::fprintf(stderr, "zor_soak: cannot open a %dx%d window and the fonts under GFX/\n",
                 options.width, options.height);
    return 1;
  }
  const std::string scratch = makeScratchDir("zor-soak");
  world.clock.setManual(START_TICKS);
  std::srand(options.seed);
  world.random.seed(options.seed);
  int failures = 0;
  if (!startCity(world, scratch, true)) {
    std::fprintf(stderr, "zor_soak: cannot write the stress city under %s\n", scratch.c_str());
    ++failures;
  }

  std::vector<Uint8> keys(SDLK_LAST, 0);
  game->scriptedKeys = keys.data();
  RandomPlayer player(options.seed);
  bool showHud = true;
  MemoryUse afterFirstMinute;
  Tally tally;
  printState(0, world);
  for (long f = 1; f <= options.frames && failures == 0; ++f) {
    if (options.restartEvery > 0 && f % options.restartEvery == 0 &&
        !startCity(world, scratch, false))
      ++failures;
    player.frame(keys.data(), *world.player);
    // A level start replaces the player, so it is read afresh around each frame.
    const Tally::Before before = Tally::of(*world.player);
    if (!playFrame(*game, showHud)) {
      std::fprintf(stderr, "zor_soak: the play frame ended the game at frame %ld\n", f);
      ++failures;
    }
    tally.count(before, *world.player);
    if (f % 100 == 0 || f == options.frames) {
      for (const std::string& problem : checkWorld(world)) {
        std::fprintf(stderr, "zor_soak: frame %ld: %s\n", f, problem.c_str());
        ++failures;
      }
    }
    if (f == FIRST_MINUTE) afterFirstMinute = memoryUse();
    if (f % options.every == 0 || f == options.frames) printState(f, world);
  }

  const MemoryUse end = memoryUse();
  if (afterFirstMinute.rssKb > 0)
    std::printf(
        "VmRSS after the first minute (%ld frames) %.1f MB, at the end %.1f MB (%+.1f MB); "
        "peak %.1f MB\n",
        FIRST_MINUTE, afterFirstMinute.rssKb / 1024.0, end.rssKb / 1024.0,
        (end.rssKb - afterFirstMinute.rssKb) / 1024.0, end.peakKb / 1024.0);
  std::printf(
      "The player boarded a car %ld times and left one %ld times, spent %ld frames in cars, "
      "fired %ld shots and switched weapons %ld times.\n",
      tally.boarded, tally.left, tally.framesInCar, tally.shots, tally.switches);
  std::printf("zor_soak: %ld frames, %s\n", options.frames,
              failures ? "FAILED" : "no problem found");
  closeGameMedia(*game);
  removeTree(scratch);
  return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, options)) {
    std::fprintf(
        stderr, "usage: zor_soak FRAMES [--size WxH] [--seed N] [--every N] [--restart-every N]\n");
    return 2;
  }
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  return run(options);
}
