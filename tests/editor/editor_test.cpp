// The editor's tools: cursor steps, placing every kind, selecting and deleting a car, map keys,
// typing, the overlay, and the map menu with the names a new map may take.
#include <filesystem>

#include "editor/editor.h"
#include "editor/map_menu.h"
#include "editor/properties.h"
#include "editor_fixture.h"
#include "sim/collision.h"
#include "sim/vehicles.h"
#include "support/records.h"
#include "world/lifetime.h"
#include "world/map_files.h"

namespace {

Car* addCar(World& world, double x, double y) {
  return world.cars.append(testsupport::testCar().at(x, y).size(69, 94).make());
}

class EditorTools : public EditorTest {
 protected:
  std::string selection() const {
    return std::string(1, game.editor.selectedKind) + std::to_string(game.editor.selectedIndex);
  }
};

TEST_F(EditorTools, ArrowStepsStayWithinOneTo2999) {
  World& world = game.world;
  struct Step {
    SDLKey key;
    int fromX, fromY, toX, toY;
  } steps[] = {
      {SDLK_UP, 500, 5, 500, 5},          {SDLK_UP, 500, 11, 500, 1},
      {SDLK_UP, 500, 500, 500, 490},      {SDLK_DOWN, 500, 2989, 500, 2999},
      {SDLK_DOWN, 500, 2990, 500, 2990},  {SDLK_LEFT, 10, 500, 10, 500},
      {SDLK_LEFT, 11, 500, 1, 500},       {SDLK_RIGHT, 2989, 500, 2999, 500},
      {SDLK_RIGHT, 2990, 500, 2990, 500},
  };
  for (const Step& s : steps) {
    cursorAt(s.fromX, s.fromY);
    game.editor.probeX = s.fromX;
    game.editor.probeY = s.fromY;
    EXPECT_FALSE(handleEditorEvent(game.editor, key(s.key))) << "arrows stay in the editor";
    EXPECT_EQ(world.cursorX, s.toX) << "from " << s.fromX << "," << s.fromY;
    EXPECT_EQ(world.cursorY, s.toY) << "from " << s.fromX << "," << s.fromY;
  }
  // The mouse moves the cursor by its own motion.
  cursorAt(500, 500);
  SDL_Event motion{};
  motion.type = SDL_MOUSEMOTION;
  motion.motion.xrel = 30;
  motion.motion.yrel = -40;
  handleEditorEvent(game.editor, motion);
  EXPECT_EQ(world.cursorX, 530);
  EXPECT_EQ(world.cursorY, 460);
  // A second corner in line with the first leaves the rectangle open; one a pixel off closes it.
  game.editor.tool = 'h';
  click(300, 300);
  click(300, 400);
  EXPECT_TRUE(game.editor.dragging);
  click(301, 400);
  EXPECT_FALSE(game.editor.dragging);
  ASSERT_EQ(world.houses.count(), 1);
  EXPECT_EQ(world.houses[0]->w, 1);
  // Escape drops a drag and stays in the editor.
  click(600, 600);
  ASSERT_TRUE(game.editor.dragging);
  EXPECT_FALSE(handleEditorEvent(game.editor, escape()));
  EXPECT_FALSE(game.editor.dragging);
}

TEST_F(EditorTools, EveryKindIsPlacedWithItsDefaults) {
  World& world = game.world;
  placeOneOfEach();

  // Each kind's defaults, as the saved map holds them.
  world.mapName = "kinds";
  handleEditorEvent(game.editor, key(SDLK_F2));
  const struct {
    const char* file;
    const char* line;
  } saved[] = {
      {"houses", "400 500 50 100 - 100 0 0"},
      {"roads", "600 500 100 20 -"},
      {"sidewalks", "800 500 100 10"},
      {"lawns", "1000 500 100 100 0"},
      {"weapons", "1200 500 30 10 1000 10 default 20 1 0 0"},
      {"cars", "1400 500 69 94 0 100 0 10 0 4 0 0.1"},
      {"pedestrants", "1600 500 30 20 1 0 0 0 100 5 10 Sela 0"},
      {"drivers", "1800 500 30 20"},
      {"badguys", "2000 500 30 20"},
  };
  for (const auto& f : saved)
    EXPECT_EQ(readFile(std::string("maps/kinds/") + f.file + ".txt"), f.line) << f.file;
  EXPECT_EQ(world.badGuys[0]->currentWeapon, 2);
  EXPECT_EQ(world.badGuys[0]->weapons.size(), 3u);
  // Point tools never start or end a rectangle.
  EXPECT_FALSE(game.editor.dragging);
}

TEST_F(EditorTools, DeletingACarPutsItsDriverOutWithoutMovingIt) {
  World& world = game.world;
  Car* first = addCar(world, 1000, 1000);
  Car* second = addCar(world, 1500, 1000);
  first->heading = 90;
  for (Car* car : {static_cast<Car*>(nullptr), first, second})
    world.drivers.append(testsupport::testPerson()
                             .at(200 + 100 * world.drivers.count(), 200)
                             .target(car, car != nullptr)
                             .make());
  first->driver = 1;
  second->driver = 2;
  Person& driver = *world.drivers[1];
  const ExitPoint exit = exitPoint(*first);

  // The right button selects a car within its half-diagonal (58) of the cursor.
  cursorAt(1040, 1045);
  handleEditorEvent(game.editor, button(SDL_BUTTON_RIGHT));
  EXPECT_EQ(selection(), " -1");
  cursorAt(1000, 1045);
  handleEditorEvent(game.editor, button(SDL_BUTTON_RIGHT));
  EXPECT_EQ(selection(), "b0");
  handleEditorEvent(game.editor, key(SDLK_d));
  ASSERT_EQ(world.cars.count(), 1);
  EXPECT_EQ(world.cars[0], second);
  EXPECT_EQ(second->driver, 2);
  EXPECT_EQ(world.drivers[2]->targetCar, second);
  EXPECT_FALSE(driver.inCar);
  EXPECT_EQ(driver.targetCar, nullptr);
  EXPECT_EQ(driver.carDistance, NO_CONTACT);
  EXPECT_EQ(driver.nextX, exit.x);
  EXPECT_EQ(driver.nextY, exit.y);
  EXPECT_EQ(driver.x, 300);  // not committed
  EXPECT_EQ(selection(), " -1");

  // The player at the wheel gets out the same way; the driver of the second car, no longer
  // named by it, only loses the reference.
  Person& player = *world.player;
  player.inCar = true;
  player.targetCar = second;
  second->driver = PLAYER_DRIVER;
  const ExitPoint playerExit = exitPoint(*second);
  select('b');
  deleteSelected(game.editor);
  EXPECT_EQ(world.cars.count(), 0);
  EXPECT_FALSE(player.inCar);
  EXPECT_EQ(player.nextX, playerExit.x);
  EXPECT_EQ(player.nextY, playerExit.y);
  EXPECT_EQ(player.x, 100);
  EXPECT_EQ(world.drivers[2]->targetCar, nullptr);

  // A car that names a driver past the end of the list touches no driver.
  addCar(world, 700, 700)->driver = world.drivers.count();
  select('b');
  deleteSelected(game.editor);
  EXPECT_EQ(world.cars.count(), 0);
  EXPECT_EQ(world.drivers.count(), 3);
}

TEST_F(EditorTools, MapKeysSaveReloadAndClear) {
  World& world = game.world;
  world.mapName = "town";
  game.editor.tool = 'h';
  click(400, 500);
  click(450, 600);
  handleEditorEvent(game.editor, key(SDLK_F2));

  // A save that cannot write says so in the corner, and the map stays to be saved again.
  world.mapName = "blocked";
  testsupport::writeFile("maps/blocked", "");  // a file where the map's folder should be
  handleEditorEvent(game.editor, key(SDLK_F2));
  EXPECT_EQ(game.editor.saveMessage, "Not saved: maps/blocked/houses.txt: Not a directory");
  clearScreen();
  drawEditor(game.editor);
  EXPECT_GT(countInk(10, 10, 300, 15), 20);
  EXPECT_EQ(world.houses.count(), 1);
  world.mapName = "town";
  handleEditorEvent(game.editor, key(SDLK_F2));
  EXPECT_EQ(game.editor.saveMessage, "");

  // F3 drops what was not saved.
  click(1000, 1000);
  click(1100, 1100);
  ASSERT_EQ(world.houses.count(), 2);
  handleEditorEvent(game.editor, key(SDLK_F3));
  ASSERT_EQ(world.houses.count(), 1);
  EXPECT_EQ(world.houses[0]->x, 400);

  // F12 then F2: an empty map on disk; the player stays.
  select('h');
  handleEditorEvent(game.editor, key(SDLK_F12));
  EXPECT_EQ(world.houses.count(), 0);
  ASSERT_NE(world.player, nullptr);
  handleEditorEvent(game.editor, key(SDLK_F2));
  for (int f = 0; f < MAP_FILE_COUNT; ++f) EXPECT_EQ(readFile(mapFilePath("town", MapFile(f))), "");
  // The old selection names nothing now: no panel edit starts and nothing is deleted.
  EXPECT_FALSE(selectionUsable(game.editor));
  handleEditorEvent(game.editor, typed('1'));
  EXPECT_FALSE(game.editor.editing);
  handleEditorEvent(game.editor, key(SDLK_d));
  EXPECT_EQ(selection(), " -1");
}

TEST_F(EditorTools, WhileTypingLettersAreTextAndMapKeysStillWork) {
  World& world = game.world;
  world.mapName = "typed";
  game.editor.tool = 'g';
  game.editor.editing = true;
  game.editor.editText = "";
  handleEditorEvent(game.editor, typed('h'));
  handleEditorEvent(game.editor, typed('d'));
  EXPECT_EQ(game.editor.tool, 'g');
  EXPECT_EQ(game.editor.editText, "hd");
  for (int i = 0; i < 40; ++i) handleEditorEvent(game.editor, typed('7'));
  EXPECT_EQ(game.editor.editText.size(), 31u);
  handleEditorEvent(game.editor, backspace());
  EXPECT_EQ(game.editor.editText.size(), 30u);
  handleEditorEvent(game.editor, key(SDLK_F2));
  EXPECT_TRUE(std::filesystem::exists("maps/typed/houses.txt"));
  // Keys without a character add nothing.
  handleEditorEvent(game.editor, key(SDLK_LSHIFT));
  handleEditorEvent(game.editor, key(SDLK_UP));
  EXPECT_EQ(game.editor.editText.size(), 30u);
  EXPECT_EQ(world.cursorY, 150);
  // The left button still places while typing.
  click(300, 300);
  EXPECT_TRUE(game.editor.dragging);
}

TEST_F(EditorTools, OverlayDrawsPreviewSwatchesHelpAndTypedText) {
  World& world = game.world;
  Media& media = game.media;
  const int W = 800, H = 600;
  clearScreen();
  game.editor.tool = 'h';
  click(100, 100);
  cursorAt(300, 250);
  drawEditor(game.editor);
  EXPECT_EQ(countPixels(110, 110, 50, 50, media.houseColours[0]), 2500);
  EXPECT_EQ(countPixels(310, 110, 20, 20, media.houseColours[0]), 0);
  // Swatches beside the house, road, sidewalk and lawn lines.
  EXPECT_EQ(countPixels(W - 80, 10, 20, 20, media.houseColours[0]), 400);
  EXPECT_EQ(countPixels(W - 80, 35, 20, 20, media.roadGrey), 400);
  EXPECT_EQ(countPixels(W - 80, 60, 20, 20, media.sidewalkGrey), 400);
  EXPECT_EQ(countPixels(W - 80, 135, 20, 20, media.lawnColours[0]), 400);
  EXPECT_GT(countInk(W - 170, 10, 90, 400), 200);  // help text
  EXPECT_GT(countInk(W - 100, H - 150, 100, 75), 50);  // StartX .. Hoejd
  EXPECT_GT(countInk(W - 100, H - 70, 100, 15), 20);  // cursor position
  EXPECT_GT(countInk(0, H - 30, 100, 15), 10);  // tool name
  EXPECT_EQ(countInk(W / 2, H - 20, 100, 15), 0);

  // Without help, weapons get no preview; typed text shows; without a rectangle, no StartX.
  clearScreen();
  handleEditorEvent(game.editor, key(SDLK_F1));
  game.editor.tool = 'w';
  game.editor.editing = true;
  game.editor.editText = "12345";
  drawEditor(game.editor);
  EXPECT_EQ(countPixels(110, 110, 50, 50, media.houseColours[0]), 0);
  EXPECT_EQ(countInk(W - 170, 10, 90, 400), 0);
  EXPECT_GT(countInk(W / 2, H - 20, 100, 15), 10);
  game.editor.dragging = false;
  clearScreen();
  drawEditor(game.editor);
  EXPECT_EQ(countInk(W - 100, H - 150, 100, 75), 0);

  // The preview is drawn where the view shows it: off the screen, nothing; partly on it, the
  // visible part only (counted left of the help text, whose edges may share the road's grey).
  game.editor.tool = 'v';
  game.editor.dragging = true;
  game.editor.anchorX = game.editor.anchorY = 1;
  cursorAt(300, 300);
  world.view = View{2200, 2400, W, H};
  clearScreen();
  drawEditor(game.editor);
  EXPECT_EQ(countPixels(0, 0, 600, 500, media.roadGrey), 0);
  world.view = View{250, 200, W, H};
  clearScreen();
  drawEditor(game.editor);
  EXPECT_EQ(countPixels(0, 0, 600, 500, media.roadGrey), 50 * 100);
}

using MapMenu = EditorTest;

TEST_F(MapMenu, NameChecksGiveShortReasons) {
  World& world = game.world;
  world.levels = {"abc", ""};
  std::filesystem::create_directory("maps/folder");
  EXPECT_EQ(refusedMapName(world, ""), "Empty name");
  for (const char* bad : {" a", "a ", "a/b", "a\\b", ".", "..", "abc.", "a\tb", "\xe4pple",
                          "a:b", "a*b", "a\x7f"})
    EXPECT_EQ(refusedMapName(world, bad), "Invalid name") << bad;
  EXPECT_EQ(refusedMapName(world, "abc"), "Name taken");
  EXPECT_EQ(refusedMapName(world, "folder"), "Name taken");
  // With no list file yet, a map called so would take the list's own name.
  for (const char* own : {"levels.txt", "Levels.TXT", "a.tmp", "levels.txt.tmp"})
    EXPECT_EQ(refusedMapName(world, own), "Reserved name") << own;
  EXPECT_EQ(refusedMapName(world, "My map-2_b.x"), "");
  EXPECT_EQ(refusedMapName(world, "ABC"), "");
  // A new map is written, listed and loaded: nothing of the old city stays, not even its remains.
  world.levels = {"abc"};
  world.deathMarks.append(std::make_unique<DeathMark>());
  EXPECT_EQ(createMap(game.editor, "fresh"), "");
  EXPECT_EQ(world.levels, (std::vector<std::string>{"abc", "fresh"}));
  EXPECT_EQ(world.mapName, "fresh");
  EXPECT_EQ(world.deathMarks.count(), 0);
  // Typing and other events go on polling; Return confirms, a closed window leaves.
  NamePrompt prompt;
  EXPECT_FALSE(namePromptEvent(game.editor, prompt, typed('a')));
  EXPECT_FALSE(namePromptEvent(game.editor, prompt, button(SDL_BUTTON_LEFT)));
  EXPECT_FALSE(prompt.confirmed);
  EXPECT_TRUE(namePromptEvent(game.editor, prompt, enter()));
  EXPECT_TRUE(prompt.confirmed);
  EXPECT_TRUE(namePromptEvent(game.editor, prompt, testsupport::quitEvent()));
  EXPECT_TRUE(prompt.leave);
}

// A map chosen from "Load map" is loaded and edited; leaving the editor goes past the list back
// to the menu, at its first item again, which the next Escape leaves.
TEST_F(MapMenu, LeavingALoadedMapReturnsToTheMenu) {
  World& world = game.world;
  world.levels = {"a", "b"};
  std::filesystem::create_directory("maps/b");
  testsupport::writeFile("maps/b/houses.txt", "500 500 100 80 Hus 100 0 2");
  for (SDLKey k : {SDLK_DOWN, SDLK_RETURN, SDLK_RETURN, SDLK_ESCAPE, SDLK_DOWN, SDLK_RETURN,
                   SDLK_DOWN, SDLK_RETURN, SDLK_ESCAPE, SDLK_ESCAPE, SDLK_ESCAPE}) {
    SDL_Event e = key(k);
    SDL_PushEvent(&e);
  }
  mapMenu(game.editor);
  EXPECT_EQ(world.mapName, "b");
  EXPECT_EQ(world.houses.count(), 1);
  SDL_Event left;
  EXPECT_EQ(SDL_PollEvent(&left), 1) << "one Escape is left for the screen before";

  // "Create map" shows the name as it is typed, right of where the menu's own texts end.
  std::vector<SDL_Event> events{key(SDLK_DOWN), key(SDLK_DOWN), enter()};
  events.resize(events.size() + 16, typed('W'));
  events.insert(events.end(), {key(SDLK_ESCAPE), key(SDLK_ESCAPE)});
  for (SDL_Event& e : events) SDL_PushEvent(&e);
  clearScreen();
  mapMenu(game.editor);
  EXPECT_GT(countInk(450, 250, 300, 30), 0);
}

}  // namespace
