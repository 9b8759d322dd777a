// Program start and shutdown in this process (the window, the first player, the first map), and
// the program as a user starts it: the exit status and the one line of every start-up failure,
// and the game installed into a scratch prefix, started from another folder.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app_support.h"
#include "world/map_files.h"

using namespace apptest;

namespace {

struct Outcome {
  int status = -1;  // exit status; -1 when the program did not exit by itself
  std::string errors;
};

// Where the programs' standard error goes: the scratch folder the test made first.
std::string errors;

// Runs `program` in the working folder with only `env` set. With `stopped`, a SIGTERM is
// already waiting when it starts (blocked, so it arrives once the program catches it).
Outcome run(const std::string& program, const std::vector<std::string>& args,
            const std::vector<std::string>& env, bool stopped = false) {
  const pid_t child = fork();
  if (child == 0) {
    const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, 2);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    if (stopped) {
      sigset_t term;
      sigemptyset(&term);
      sigaddset(&term, SIGTERM);
      sigprocmask(SIG_BLOCK, &term, nullptr);
      kill(getpid(), SIGTERM);
    }
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  Outcome outcome;
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
    outcome.status = WEXITSTATUS(status);
  outcome.errors = readFile(errors);
  return outcome;
}

// A user's surroundings inside the scratch folder: home, XDG folders, no display unless the
// dummy one.
std::vector<std::string> userEnv(const std::string& home, bool dummyDisplay = true) {
  std::vector<std::string> env{"HOME=" + home, "XDG_RUNTIME_DIR=/tmp",
                               "ASAN_OPTIONS=detect_leaks=0", "PATH=/usr/bin:/bin"};
  if (dummyDisplay) env.push_back("SDL_VIDEODRIVER=dummy");
  return env;
}

}  // namespace

TEST(Program, StartUpFailuresPrintOneLineAndExitNonZero) {
  ScratchDir folder;
  const std::string home = std::filesystem::current_path().string();
  errors = home + "/stderr.txt";
  // From a folder without the game's data, whatever the display.
  Outcome o = run(ZOR_PROGRAM, {}, userEnv(home));
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.errors,
            "zor: cannot find the game's images and font (GFX/fonts/ADVERT.TTF): run it from the "
            "game's folder or install it\n");

  // From the game's folder without a display: no window opens by accident.
  std::filesystem::current_path(folder.home());
  o = run(ZOR_PROGRAM, {}, userEnv(home, false));
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.errors, "zor: no display: set DISPLAY or start the game on a desktop\n");

  o = run(ZOR_PROGRAM, {"--window", "12x12"}, userEnv(home, false));
  EXPECT_EQ(o.status, 2);
  EXPECT_EQ(o.errors, "zor: bad value '12x12' for --window [WxH] (see zor --help)\n");

  o = run(ZOR_PROGRAM, {"--map", "no such map"}, userEnv(home));
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.errors.find("zor: no map \"no such map\" in the map list"), std::string::npos);
}

TEST(Program, InstallsAndRunsFromAnyFolder) {
  ScratchDir folder;
  const std::filesystem::path scratch = std::filesystem::current_path();
  errors = (scratch / "stderr.txt").string();
  const std::string prefix = (scratch / "prefix").string();
  const std::string install = std::string(ZOR_CMAKE) + " --install " + ZOR_BUILD_DIR +
                              " --prefix " + prefix + " > install.log 2>&1";
  ASSERT_EQ(std::system(install.c_str()), 0);

  const std::filesystem::path share = std::filesystem::path(prefix) / "share";
  for (const std::filesystem::path& file :
       {std::filesystem::path(prefix) / "bin/zor", share / "zor/GFX/fonts/ADVERT.TTF",
        share / "zor/GFX/background.png", share / "zor/dot.bmp", share / "zor/maps/levels.txt",
        share / "applications/zor.desktop", share / "icons/hicolor/128x128/apps/zor.png"})
    EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
  // Every shipped map comes along.
  for (const std::string& name : readLevelList((folder.home() / "maps/levels.txt").string()))
    EXPECT_TRUE(std::filesystem::is_regular_file(share / "zor/maps" / name / "houses.txt")) << name;

  // Started from an unrelated folder on the dummy driver, it finds its data and the maps,
  // reaches the main menu and quits cleanly on the SIGTERM waiting for it; it writes nothing.
  std::filesystem::create_directories("elsewhere/home");
  std::filesystem::current_path("elsewhere");
  const std::string home = (scratch / "elsewhere/home").string();
  const std::vector<std::string> names = readLevelList((share / "zor/maps/levels.txt").string());
  ASSERT_FALSE(names.empty());
  const Outcome o = run(prefix + "/bin/zor", {"--window", "--map", names.back()},
                        userEnv(home), true);
  EXPECT_EQ(o.status, 0) << o.errors;
  EXPECT_EQ(o.errors.find("zor:"), std::string::npos) << o.errors;
  EXPECT_TRUE(std::filesystem::is_empty(home));
}

TEST(Start, OpensTheLargestModeAndBuildsTheFirstPlayerAndMap) {
  ScratchDir folder;  // holding only the font and a map
  std::filesystem::create_directories("GFX/fonts");
  std::filesystem::copy_file(folder.home() / FONT, FONT);
  std::filesystem::create_directories("maps/town");
  writeFile("maps/levels.txt", "town\nother\n");
  writeFile("maps/town/houses.txt", "500 500 100 80 Hus 100 0 2\n");

  while (TTF_WasInit()) TTF_Quit();  // the program starts with nothing running
  SDL_Quit();
  Game game;
  ASSERT_TRUE(startGame(game));
  World& world = game.world;
  Media& media = game.media;
  // Only video: no sound, no joystick.
  EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), static_cast<Uint32>(SDL_INIT_VIDEO));

  // Full screen at the first listed size; a display that takes any size gets the desktop's.
  ASSERT_NE(media.screen, nullptr);
  EXPECT_NE(media.screen->flags & SDL_FULLSCREEN, 0u);
  SDL_Rect** listed = SDL_ListModes(nullptr, FULLSCREEN_FLAGS);
  if (listed == reinterpret_cast<SDL_Rect**>(-1)) {
    EXPECT_GT(game.desktopWidth, 0);
    EXPECT_EQ(media.screen->w, game.desktopWidth);
    EXPECT_EQ(media.screen->h, game.desktopHeight);
    // A desktop that reports no width is not a size: full screen falls back to a fixed one.
    const int desktopWidth = game.desktopWidth;
    game.desktopWidth = 0;
    EXPECT_GT(fullscreenModes(game).front().w, 0);
    game.desktopWidth = desktopWidth;
  } else if (listed) {
    EXPECT_EQ(media.screen->w, listed[0]->w);
    EXPECT_EQ(media.screen->h, listed[0]->h);
  }
  EXPECT_EQ(world.view.w, media.screen->w);
  EXPECT_EQ(world.player->weapons.size(), 3u);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

  // The first listed map, started as a level.
  EXPECT_EQ(world.mapName, "town");
  ASSERT_EQ(world.houses.count(), 1);
  EXPECT_EQ(world.houses[0]->text, "Brannik");

  // A window of the chosen size instead.
  shutdownGame(game);
  ASSERT_TRUE(startGame(game, StartChoice{VideoMode{false, 640, 480}, ""}));
  EXPECT_EQ(media.screen->flags & SDL_FULLSCREEN, 0u);
  EXPECT_EQ(media.screen->w, 640);

  world.clock.setManual(1234);
  shutdownGame(game);
  EXPECT_TRUE(world.clock.manual()) << "a hand-driven clock outlives a restart";
  EXPECT_EQ(world.clock.now(), 1234u);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
  EXPECT_EQ(TTF_WasInit(), 0);
  EXPECT_EQ(media.screen, nullptr);
  EXPECT_EQ(world.player, nullptr);
  EXPECT_EQ(media.bigFont, nullptr);
}
