// The main menu and its screens driven by pushed keys: items, actions, map list, video modes.
#include "app/main_menu.h"

#include <signal.h>

#include <fstream>

#include "render/list_screen.h"
#include "app/play_loop.h"
#include "editor/editor.h"
#include "editor/map_menu.h"
#include "platform/platform.h"
#include "world/map_files.h"
#include "app_support.h"

using namespace apptest;

namespace {

enum Item { PLAY, RESTART, LOAD_MAP, CONTROLS, EDIT, CHANGE_RESOLUTION, QUIT };

void writeText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// A map folder with one house and one road, written as a map maker would.
void writeSmallMap(const std::string& name) {
  std::filesystem::create_directories("maps/" + name);
  writeText("maps/" + name + "/houses.txt", "500 500 100 80 Hus 100 0 2\n");
  writeText("maps/" + name + "/roads.txt", "200 300 400 60 Storgatan\n");
}

ListScreen startMenu() {
  ListScreen menu;
  menu.items = mainMenuItems();
  return menu;
}

}  // namespace

TEST(MainMenu, ItemsAtStartAndAfterASubScreen) {
  EXPECT_EQ(mainMenuItems(), (std::vector<std::string>{"Play", "Restart", "Load map", "Controls",
                                                       "Edit", "Change resolution", "Quit"}));
  EXPECT_EQ(rebuiltMainMenuItems(),
            (std::vector<std::string>{"Play", "Restart", "Load map", "Controls", "Edit map",
                                      "Change Resolution", "Quit"}));
  EXPECT_EQ(windowSizeItems(),
            (std::vector<std::string>{"400 x 300", "800 x 600", "1200 x 900", "1600 x 1200"}));
  EXPECT_EQ(modeItems({SDL_Rect{0, 0, 1920, 1080}, SDL_Rect{0, 0, 640, 480}}),
            (std::vector<std::string>{"1920 x 1080", "640 x 480"}));
}

TEST(MainMenu, EscapeQuitsAndDownPastTheEndStaysOnQuit) {
  {
    HeadlessGame headless;
    ASSERT_TRUE(headless.ready());
    pushKey(SDLK_ESCAPE);
    mainMenu(headless.game);
    EXPECT_EQ(pendingEvents(), 0);
  }
  {
    HeadlessGame headless;
    ASSERT_TRUE(headless.ready());
    // Up on the first item does nothing; eight Downs end on the seventh item, "Quit".
    pushKey(SDLK_UP);
    for (int i = 0; i < 8; ++i) pushKey(SDLK_DOWN);
    pushKey(SDLK_RETURN);
    mainMenu(headless.game);
    EXPECT_EQ(pendingEvents(), 0);
  }
}

TEST(MainMenu, SubScreensRebuildTheItemsAndResetTheHighlight) {
  HeadlessGame headless;
  ASSERT_TRUE(headless.ready());
  headless.world().levels = {"one", "two"};
  const std::string mapBefore = headless.world().mapName;

  ListScreen menu = startMenu();
  menu.selected = CONTROLS;
  pushKey(SDLK_ESCAPE);
  mainMenuAction(headless.game, menu, CONTROLS);
  EXPECT_EQ(menu.items, mainMenuItems()) << "the controls screen keeps the first names";
  EXPECT_EQ(menu.selected, 0);
  EXPECT_FALSE(menu.back);

  menu.selected = LOAD_MAP;
  pushKey(SDLK_ESCAPE);
  mainMenuAction(headless.game, menu, LOAD_MAP);
  EXPECT_EQ(menu.items, rebuiltMainMenuItems());
  EXPECT_EQ(menu.selected, 0);
  EXPECT_EQ(headless.world().mapName, mapBefore) << "leaving the map list loads nothing";

  ListScreen again = startMenu();
  pushKey(SDLK_ESCAPE);
  mainMenuAction(headless.game, again, CHANGE_RESOLUTION);
  EXPECT_EQ(again.items, rebuiltMainMenuItems());
  EXPECT_FALSE(again.back);

  // The editor's map menu comes back on Escape; the names stay as they are.
  ListScreen editing = startMenu();
  editing.selected = EDIT;
  pushKey(SDLK_ESCAPE);
  mainMenuAction(headless.game, editing, EDIT);
  EXPECT_EQ(editing.items, mainMenuItems());
  EXPECT_EQ(editing.selected, 0);
  EXPECT_FALSE(editing.back);
  EXPECT_EQ(pendingEvents(), 0);

  mainMenuAction(headless.game, again, QUIT);
  EXPECT_TRUE(again.back);
}

TEST(MainMenu, ControlsScreenShowsSixLinesUntilReturnEscapeOrClose) {
  HeadlessGame headless;
  ASSERT_TRUE(headless.ready());
  SDL_Surface* screen = headless.screen();
  for (int way = 0; way < 3; ++way) {
    SDL_FillRect(screen, nullptr, 0x00FFFFFF);
    if (way == 0) pushKey(SDLK_RETURN);
    if (way == 1) pushKey(SDLK_ESCAPE);
    if (way == 2) pushQuit();
    pushKey(SDLK_DOWN);  // meant for the menu the screen returns to
    controlsScreen(headless.game);
    EXPECT_EQ(pendingEvents(), 1) << "way " << way;
    HeadlessGame::clearEvents();
    for (int line = 0; line < 6; ++line)
      EXPECT_GT(darkPixels(screen, 200, 100 + 50 * line, 500, 30), 30) << "line " << line;
    EXPECT_EQ(darkPixels(screen, 0, 0, 199, screen->h), 0);
    EXPECT_EQ(darkPixels(screen, 200, 400, 500, 100), 0);
  }
}

TEST(MainMenu, AnEmptyLevelListShowsAnEmptyMapListWhereReturnLoadsNothing) {
  HeadlessGame headless;
  ASSERT_TRUE(headless.ready());
  World& world = headless.world();
  Media& media = headless.media();
  world.levels.clear();
  world.mapName = "here";
  auto house = std::make_unique<House>();
  house->x = 10;
  house->y = 10;
  house->w = 50;
  house->h = 50;
  world.houses.append(std::move(house));

  pushKeys({SDLK_DOWN, SDLK_RETURN, SDLK_UP, SDLK_RETURN, SDLK_ESCAPE});
  mapListScreen(headless.game);
  EXPECT_EQ(world.mapName, "here");
  EXPECT_EQ(world.houses.count(), 1);
  EXPECT_EQ(pendingEvents(), 0);
}

TEST(MainMenu, PlayingAMapFromTheListReplacesTheCity) {
  HeadlessGame headless;
  ASSERT_TRUE(headless.ready());
  ScratchFolder folder;
  writeSmallMap("two");
  World& world = headless.world();
  Media& media = headless.media();
  world.levels = {"one", "two"};
  world.mapName = "one";
  auto car = std::make_unique<Car>();
  world.cars.append(std::move(car));
  world.player->targetCar = world.cars[0];
  world.player->inCar = true;

  KeyState keys;
  keys.hold(SDLK_ESCAPE);
  headless.game.scriptedKeys = keys.data();
  playMap(headless.game, "two");

  EXPECT_EQ(world.mapName, "two");
  EXPECT_EQ(world.cars.count(), 0);
  ASSERT_EQ(world.houses.count(), 1);
  EXPECT_EQ(world.houses[0]->text, "Hus");
  EXPECT_EQ(world.roads.count(), 1);
  EXPECT_FALSE(world.player->inCar);
  EXPECT_EQ(world.player->targetCar, nullptr);
  // The same player goes on: the list does not start a level.
  EXPECT_DOUBLE_EQ(world.player->wantedLevel, 3.0);
}

TEST(MainMenu, PlayContinuesTheGameAndRestartsOnlyAfterDeath) {
  HeadlessGame headless;
  ASSERT_TRUE(headless.ready());
  ScratchFolder folder;
  writeSmallMap("town");
  World& world = headless.world();
  Media& media = headless.media();
  world.mapName = "town";
  KeyState keys;
  keys.hold(SDLK_ESCAPE);
  headless.game.scriptedKeys = keys.data();

  ListScreen menu = startMenu();
  const Person* before = world.player.get();
  world.player->money = 4321;
  const uint32_t start = world.clock.now();
  mainMenuAction(headless.game, menu, PLAY);
  EXPECT_EQ(world.player.get(), before);
  EXPECT_DOUBLE_EQ(world.player->money, 4321);
  EXPECT_EQ(world.houses.count(), 0) << "play keeps the city as it is";
  EXPECT_EQ(world.clock.now() - start, FRAME_MS) << "one frame, ended by Escape";

  world.player->damage = world.player->life;
  mainMenuAction(headless.game, menu, PLAY);
  EXPECT_DOUBLE_EQ(world.player->damage, 0.0);
  EXPECT_DOUBLE_EQ(world.player->money, 1000.0);
  EXPECT_EQ(world.houses.count(), 1);
}

TEST(MainMenu, RestartStartsTheLevelAgainAndPlays) {
  HeadlessGame headless;
  ASSERT_TRUE(headless.ready());
  ScratchFolder folder;
  writeSmallMap("town");
  World& world = headless.world();
  Media& media = headless.media();
  world.mapName = "town";
  world.player->money = 5;
  world.player->damage = 40;
  KeyState keys;
  keys.hold(SDLK_ESCAPE);
  headless.game.scriptedKeys = keys.data();

  ListScreen menu = startMenu();
  menu.selected = RESTART;
  mainMenuAction(headless.game, menu, RESTART);
  EXPECT_EQ(menu.selected, 0);
  EXPECT_DOUBLE_EQ(world.player->damage, 0.0);
  EXPECT_DOUBLE_EQ(world.player->money, 1000.0);
  EXPECT_DOUBLE_EQ(world.player->wantedLevel, 5.0);
  EXPECT_EQ(world.houses.count(), 1);
  EXPECT_EQ(world.moneyItems.count(), 10) << "money is scattered on the road";
}

TEST(MainMenu, WindowSizesOpenAWindowOfThatSizeAndAreRemembered) {
  HeadlessGame headless(640, 480);
  ScratchFolder folder;
  ASSERT_TRUE(headless.ready());
  World& world = headless.world();
  headless.game.settingsFile = "config/zor/settings.txt";
  Media& media = headless.media();
  ListScreen menu = startMenu();

  pushKeys({SDLK_RETURN, SDLK_DOWN, SDLK_RETURN});
  mainMenuAction(headless.game, menu, CHANGE_RESOLUTION);
  ASSERT_NE(media.screen, nullptr);
  EXPECT_EQ(media.screen->w, 800);
  EXPECT_EQ(media.screen->h, 600);
  EXPECT_EQ(media.screen->flags & SDL_FULLSCREEN, 0u);
  EXPECT_EQ(world.view.w, 800);
  EXPECT_EQ(world.view.h, 600);
  EXPECT_EQ(media.houseColours[3], SDL_MapRGB(media.screen->format, 80, 58, 18));
  EXPECT_EQ(menu.items, rebuiltMainMenuItems());
  EXPECT_EQ(pendingEvents(), 0);
  VideoMode remembered;
  ASSERT_TRUE(readSettings(headless.game.settingsFile, remembered));
  EXPECT_FALSE(remembered.fullscreen);
  EXPECT_EQ(remembered.width, 800);
  EXPECT_EQ(remembered.height, 600);

  // The last size, then Escape on the size list: nothing changes.
  pushKeys({SDLK_RETURN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN});
  modeScreen(headless.game);
  EXPECT_EQ(media.screen->w, 1600);
  EXPECT_EQ(media.screen->h, 1200);
  pushKeys({SDLK_RETURN, SDLK_ESCAPE});
  modeScreen(headless.game);
  EXPECT_EQ(media.screen->w, 1600);
  EXPECT_EQ(world.view.w, 1600);
  ASSERT_TRUE(readSettings(headless.game.settingsFile, remembered));
  EXPECT_EQ(remembered.width, 1600);
  EXPECT_EQ(remembered.height, 1200);
}

TEST(MainMenu, AStopSignalEndsEveryScreenAndLeavesTheEditorsChangesUnsaved) {
  HeadlessGame headless;
  ScratchFolder folder;
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
  controlsScreen(game);
  mainMenu(game);
  alarm(0);
  std::ifstream houses("maps/town/houses.txt");
  std::string line;
  std::getline(houses, line);
  EXPECT_EQ(line, "500 500 100 80 Hus 100 0 2");
  platformStart();  // a new start forgets the stop
  EXPECT_FALSE(platformStopRequested());
}

TEST(MainMenu, FullscreenOffersTheDesktopSizeWhenAnySizeIsPossible) {
  HeadlessGame headless(640, 480);
  ASSERT_TRUE(headless.ready());
  World& world = headless.world();

  Media& media = headless.media();

  // The dummy display accepts any size: the desktop size is the one entry, 1024 x 768 when
  // the desktop size is unknown.
  SDL_Rect** listed = SDL_ListModes(nullptr, FULLSCREEN_FLAGS);
  if (listed == reinterpret_cast<SDL_Rect**>(-1)) {
    std::vector<SDL_Rect> modes = fullscreenModes(headless.game);
    ASSERT_EQ(modes.size(), 1u);
    EXPECT_EQ(modes[0].w, 1024);
    EXPECT_EQ(modes[0].h, 768);
    headless.game.desktopWidth = 720;
    headless.game.desktopHeight = 540;
    modes = fullscreenModes(headless.game);
    ASSERT_EQ(modes.size(), 1u);
    EXPECT_EQ(modes[0].w, 720);
    EXPECT_EQ(modes[0].h, 540);
  } else {
    ASSERT_NE(listed, nullptr);
    headless.game.desktopWidth = listed[0]->w;
    headless.game.desktopHeight = listed[0]->h;
  }

  pushKeys({SDLK_DOWN, SDLK_RETURN, SDLK_RETURN});
  modeScreen(headless.game);
  ASSERT_NE(media.screen, nullptr);
  EXPECT_EQ(media.screen->w, headless.game.desktopWidth);
  EXPECT_EQ(media.screen->h, headless.game.desktopHeight);
  EXPECT_NE(media.screen->flags & SDL_FULLSCREEN, 0u);
  EXPECT_EQ(world.view.w, headless.game.desktopWidth);
  EXPECT_EQ(pendingEvents(), 0);
}

TEST(MainMenu, AModeThatCannotBeSetKeepsThePreviousScreen) {
  HeadlessGame headless(640, 480);
  ASSERT_TRUE(headless.ready());
  World& world = headless.world();
  Media& media = headless.media();
  world.view.x = 12;
  world.view.y = 34;

  // A size SDL refuses outright keeps its screen; a mode the dummy driver cannot give (OpenGL)
  // closes the old screen on the way, which then has to be opened again.
  const struct {
    int w, h;
    Uint32 flags;
  } refused[] = {{-1, -1, WINDOW_FLAGS}, {800, 600, SDL_OPENGL}};
  for (const auto& mode : refused) {
    EXPECT_FALSE(setVideoMode(headless.game, mode.w, mode.h, mode.flags));
    ASSERT_NE(media.screen, nullptr);
    EXPECT_EQ(media.screen, SDL_GetVideoSurface());
    EXPECT_EQ(media.screen->w, 640);
    EXPECT_EQ(media.screen->h, 480);
    EXPECT_EQ(world.view.w, 640);
    EXPECT_EQ(world.view.h, 480);
    EXPECT_EQ(world.view.x, 12);
    EXPECT_EQ(world.view.y, 34);
    // The screen kept is a working one.
    EXPECT_EQ(SDL_FillRect(media.screen, nullptr, SDL_MapRGB(media.screen->format, 1, 2, 3)), 0);
    EXPECT_EQ(SDL_Flip(media.screen), 0);
  }

  EXPECT_TRUE(setVideoMode(headless.game, 400, 300, WINDOW_FLAGS));
  EXPECT_EQ(media.screen->w, 400);
  EXPECT_EQ(world.view.h, 300);
}
