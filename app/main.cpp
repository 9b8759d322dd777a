// Entry point: read the command line, seed the random numbers, build the one Game, run the main
// menu, tear down.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/game.h"
#include "app/main_menu.h"
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
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  platformStart();
  Game game;
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
  mainMenu(game);
  shutdownGame(game);
  platformEnd();
  return 0;
}
