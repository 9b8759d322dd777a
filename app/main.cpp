// Entry point: read the command line, seed the simulation's random numbers, build the one Game,
// run the main menu (or record or replay a game), tear down.
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/game.h"
#include "app/main_menu.h"
#include "app/play_loop.h"
#include "app/settings.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  const CommandLine line = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!line.error.empty()) {
    std::fprintf(stderr, "zor: %s (see zor --help)\n", line.error.c_str());
    return 2;
  }
  if (line.help) {
    std::fputs(commandLineHelp().c_str(), stdout);
    return 0;
  }
  Recording recording;
  if (!line.replay.empty()) {
    std::ifstream in(line.replay);
    std::string error = in ? "" : "cannot be opened";
    if (in) readRecording(in, recording, error);
    if (!error.empty()) {
      std::fprintf(stderr, "zor: %s: %s\n", line.replay.c_str(), error.c_str());
      return 1;
    }
  }
  platformStart();
  Game game;
  if (!line.replay.empty()) {
    prepareForRecording(game.world, recording);
  } else {
    recording.seed = static_cast<uint32_t>(std::time(nullptr));
    game.world.random.seed(recording.seed);
  }
  game.settingsFile = settingsPath();
  VideoMode remembered;
  const bool hasRemembered = readSettings(game.settingsFile, remembered);
  StartChoice choice;
  choice.mode = startMode(line, hasRemembered ? &remembered : nullptr);
  choice.map = line.map;
  if (!startGame(game, choice)) {
    std::fprintf(stderr, "zor: %s\n", game.startFailure.c_str());
    platformEnd();
    return 1;
  }
  if (!line.replay.empty()) {
    // The rules see the recorded view, whatever the screen is now.
    game.world.view.w = recording.viewW;
    game.world.view.h = recording.viewH;
    game.replay = &recording;
    playLoop(game);
  } else if (!line.record.empty()) {
    recording.mapName = game.world.mapName;
    recording.viewW = game.world.view.w;
    recording.viewH = game.world.view.h;
    recording.startTime = game.world.clock.now();
    game.recording = &recording;
    playLoop(game);
    std::ofstream out(line.record);
    if (!writeRecording(out, recording) || !out.flush())
      std::fprintf(stderr, "zor: %s: the recording could not be written\n", line.record.c_str());
  } else {
    mainMenu(game);
  }
  shutdownGame(game);
  platformEnd();
  return 0;
}
