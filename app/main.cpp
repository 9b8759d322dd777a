// Entry point: seed the random numbers, build the one Game, run the main menu, tear down.
#include <cstdlib>
#include <ctime>

#include "app/game.h"
#include "app/main_menu.h"
#include "platform/platform.h"

int main(int, char**) {
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  platformStart();
  Game game;
  if (!startGame(game)) {
    platformEnd();
    return 0;
  }
  mainMenu(game);
  shutdownGame(game);
  platformEnd();
  return 0;
}
