// The list screen and the main menu with its screens, driven by pushed keys: items, actions,
// map list, video modes.
#include "app/main_menu.h"

#include <signal.h>

#include <algorithm>

#include "render/list_screen.h"
#include "app/play_loop.h"
#include "editor/editor.h"
#include "editor/map_menu.h"
#include "platform/platform.h"
#include "world/map_files.h"
#include "app_support.h"

using namespace apptest;

namespace {

// The index of an entry of the main menu, found by its text.
int item(const std::string& text) {
  const std::vector<std::string> items = mainMenuItems();
  return static_cast<int>(std::find(items.begin(), items.end(), text) - items.begin());
}

// A map folder with one house and one road, written as a map maker would.
void writeSmallMap(const std::string& name) {
  std::filesystem::create_directories("maps/" + name);
  writeFile("maps/" + name + "/houses.txt", "500 500 100 80 Hus 100 0 2\n");
  writeFile("maps/" + name + "/roads.txt", "200 300 400 60 Storgatan\n");
}

ListScreen startMenu() {
  ListScreen menu;
  menu.items = mainMenuItems();
  return menu;
}

}  // namespace

TEST(MainMenu, PlayRestartsOnlyAfterDeathAListedMapPlaysAndQuitLeaves) {
  TestGame headless;
  ASSERT_TRUE(headless.ready());
  ScratchDir folder;
  writeSmallMap("town");
  World& world = headless.world();
  world.mapName = "town";
  KeyState keys;
  keys.hold(SDLK_ESCAPE);
  headless.game.scriptedKeys = keys.data();

  ListScreen menu = startMenu();
  const Person* before = world.player.get();
  world.player->money = 4321;
  const uint32_t start = world.clock.now();
  mainMenuAction(headless.game, menu, item("Play"));
  EXPECT_EQ(world.player.get(), before);
  EXPECT_DOUBLE_EQ(world.player->money, 4321);
  EXPECT_EQ(world.houses.count(), 0) << "play keeps the city as it is";
  EXPECT_EQ(world.clock.now() - start, FRAME_MS) << "one frame, ended by Escape";

  world.player->damage = world.player->life;
  mainMenuAction(headless.game, menu, item("Play"));
  EXPECT_DOUBLE_EQ(world.player->damage, 0.0);
  EXPECT_DOUBLE_EQ(world.player->money, 1000.0);
  EXPECT_EQ(world.houses.count(), 1);

  // A map from the level list is played at once; back on the list, its first entry is lit.
  ListScreen maps;
  maps.items = {"none", "town"};
  maps.selected = 1;
  mapListAction(headless.game, maps, 1);
  EXPECT_EQ(world.mapName, "town");
  EXPECT_EQ(maps.selected, 0);

  EXPECT_FALSE(menu.back);
  mainMenuAction(headless.game, menu, item("Quit"));
  EXPECT_TRUE(menu.back);

  // The menu itself: Quit, its last entry, leaves before the Escape that follows.
  pushKeys({SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN,
            SDLK_ESCAPE});
  mainMenu(headless.game);
  SDL_Event left;
  ASSERT_EQ(SDL_PollEvent(&left), 1);
  EXPECT_EQ(left.key.keysym.sym, SDLK_ESCAPE);
}

TEST(MainMenu, WindowSizesOpenAWindowOfThatSizeAndAreRemembered) {
  TestGame headless(640, 480);
  ScratchDir folder;
  ASSERT_TRUE(headless.ready());
  World& world = headless.world();
  headless.game.settingsFile = "config/zor/settings.txt";
  Media& media = headless.media();
  ListScreen menu = startMenu();

  // "Window", then the last of the sizes: 1600 x 1200.
  pushKeys({SDLK_RETURN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN});
  mainMenuAction(headless.game, menu, item("Change resolution"));
  ASSERT_NE(media.screen, nullptr);
  EXPECT_EQ(media.screen->w, 1600);
  EXPECT_EQ(media.screen->flags & SDL_FULLSCREEN, 0u);
  EXPECT_EQ(world.view.h, 1200);
  EXPECT_EQ(menu.items, rebuiltMainMenuItems());
  EXPECT_EQ(pendingEvents(), 0);
  VideoMode remembered;
  ASSERT_TRUE(readSettings(headless.game.settingsFile, remembered));
  EXPECT_FALSE(remembered.fullscreen);
  EXPECT_EQ(remembered.width, 1600);
  EXPECT_EQ(remembered.height, 1200);

  // Escape on the size list: nothing changes.
  pushKeys({SDLK_RETURN, SDLK_ESCAPE});
  modeScreen(headless.game);
  EXPECT_EQ(media.screen->w, 1600);
  EXPECT_EQ(pendingEvents(), 0);
}

TEST(MainMenu, AStopSignalEndsEveryScreenAndLeavesTheEditorsChangesUnsaved) {
  TestGame headless;
  ScratchDir folder;
  writeSmallMap("town");
  ASSERT_TRUE(headless.ready());
  Game& game = headless.game;
  World& world = headless.world();
  world.mapName = "town";
  loadMap(world);
  ASSERT_EQ(world.houses.count(), 1);
  world.houses[0]->x = 900;  // edited, not saved

  platformStart();
  raise(SIGTERM);
  ASSERT_TRUE(platformStopRequested());
  alarm(60);  // a screen that ignores the stop fails the test here instead of hanging
  editorLoop(game.editor);
  mapMenu(game.editor);
  playLoop(game);
  gameOverScreen(game);
  controlsScreen(game);
  mainMenu(game);
  alarm(0);
  EXPECT_EQ(readFile("maps/town/houses.txt"), "500 500 100 80 Hus 100 0 2\n");
  platformStart();  // a new start forgets the stop
  EXPECT_FALSE(platformStopRequested());
}

TEST(ListScreen, RunActsOnEachChoiceAndDrawsTheHighlightInTheMiddle) {
  TestGame headless;
  ASSERT_TRUE(headless.ready());
  SDL_Surface* screen = headless.screen();
  const int middle = screen->h / 2;
  ListScreen list;
  list.items = {"First", "Second", "Third"};
  std::vector<int> acted;

  // The highlight stops at both ends of the list.
  pushKeys({SDLK_UP, SDLK_DOWN, SDLK_RETURN, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN, SDLK_ESCAPE});
  const uint32_t before = headless.world().clock.now();
  runListScreen(headless.media(), headless.world().clock, list, [&](int chosen) {
    acted.push_back(chosen);
    EXPECT_EQ(list.chosen, chosen);
  });
  EXPECT_EQ(acted, (std::vector<int>{1, 2}));
  EXPECT_EQ(list.chosen, -1);
  // Three passes, each waiting a little instead of spinning.
  EXPECT_EQ(headless.world().clock.now() - before, 3u * MENU_PASS_DELAY_MS);

  // The last pass drew the list with "Third" highlighted: white at the middle, the entry above
  // it in black 60 pixels higher, nothing below the last entry nor left of x = 200.
  EXPECT_GT(whitePixels(screen, 200, middle, 150, 30), 20);
  EXPECT_GT(darkPixels(screen, 200, middle - 60, 150, 30), 20);
  EXPECT_EQ(darkPixels(screen, 200, middle - 30, 150, 30), 0);
  EXPECT_EQ(darkPixels(screen, 200, middle + 30, 200, 90), 0);
  EXPECT_EQ(whitePixels(screen, 200, middle + 30, 200, 90), 0);
  EXPECT_EQ(darkPixels(screen, 0, 0, 199, screen->h), 0);
}
