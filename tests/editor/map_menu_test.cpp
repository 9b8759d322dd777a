// The map menu driven by queued events as a user would type them: the menu keys, the map
// list, the name prompt and what a new map writes.
#include "editor/editor.h"
#include "editor/map_menu.h"
#include "editor_fixture.h"

namespace {

const char* const kMapFiles[] = {"houses", "roads", "cars", "pedestrants", "weapons",
                                 "sidewalks", "lawns", "drivers", "badguys"};

class MapMenu : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    World& world = game.world;
    world.mapName = "start";
    auto house = std::make_unique<House>();
    house->x = house->y = 50;
    house->w = house->h = 10;
    world.houses.append(std::move(house));
  }
  // Queues the editor keys that place one pedestrian at the cursor and leave.
  void pushPlaceAndLeave() {
    push(typed('f'));
    push(enter());
    push(escape());
  }
  // Runs the menu; the closing events let every open screen end even if a step went astray.
  void runMenu() {
    for (int i = 0; i < 3; ++i) push(quit());
    mapMenu(game.editor);
  }
  static std::string repeat(char c, int n) { return std::string(static_cast<size_t>(n), c); }
};

TEST_F(MapMenu, UpAndDownStopAtTheEndsAndEditMapEditsTheLoadedMap) {
  push(key(SDLK_UP));  // already at the top
  for (int i = 0; i < 5; ++i) push(key(SDLK_DOWN));  // stops at "Quit to Game Menu"
  for (int i = 0; i < 3; ++i) push(key(SDLK_UP));
  push(enter());  // "Edit map"
  pushPlaceAndLeave();
  push(escape());
  runMenu();
  World& world = game.world;
  ASSERT_EQ(world.pedestrians.count(), 1);
  EXPECT_EQ(world.pedestrians[0]->name, "Sela");
  EXPECT_EQ(world.houses.count(), 1);  // the loaded map was edited, not replaced
  EXPECT_EQ(world.mapName, "start");
}

TEST_F(MapMenu, QuitItemAndEscapeLeave) {
  for (int i = 0; i < 3; ++i) push(key(SDLK_DOWN));
  push(enter());
  push(typed('z'));  // left for whoever polls next
  mapMenu(game.editor);
  SDL_Event next;
  ASSERT_EQ(SDL_PollEvent(&next), 1);
  EXPECT_EQ(next.key.keysym.sym, SDLK_z);
}

TEST_F(MapMenu, LoadMapOpensTheChosenMapAndComesBackToTheFirstItem) {
  World& world = game.world;
  world.levels = {"one", "two"};
  ASSERT_EQ(system("mkdir -p maps/two"), 0);
  writeFile("maps/two/houses.txt", "10 20 30 40 - 100 0 0\n11 21 31 41 - 100 0 0");
  push(key(SDLK_DOWN));
  push(enter());  // "Load map"
  push(key(SDLK_DOWN));
  push(key(SDLK_DOWN));  // stays on the last name
  push(enter());         // "two"
  push(escape());        // leaves the editor, and with it the list
  push(enter());         // the menu is back on "Edit map"
  pushPlaceAndLeave();
  push(escape());
  runMenu();
  EXPECT_EQ(world.mapName, "two");
  ASSERT_EQ(world.houses.count(), 2);
  EXPECT_EQ(world.houses[0]->x, 10);
  EXPECT_EQ(world.pedestrians.count(), 1);
  EXPECT_NE(world.player, nullptr);
}

TEST_F(MapMenu, EscapeInTheListAndAnEmptyListLoadNothing) {
  World& world = game.world;
  world.levels = {"one"};
  push(key(SDLK_DOWN));
  push(enter());
  push(escape());  // back to the map menu, on its first item
  push(enter());
  pushPlaceAndLeave();
  push(escape());
  runMenu();
  EXPECT_EQ(world.mapName, "start");
  EXPECT_EQ(world.houses.count(), 1);
  EXPECT_EQ(world.pedestrians.count(), 1);

  world.levels.clear();
  push(key(SDLK_DOWN));
  push(enter());
  push(key(SDLK_DOWN));
  push(key(SDLK_UP));
  push(enter());  // no entry to choose
  push(escape());
  push(escape());
  runMenu();
  EXPECT_EQ(world.mapName, "start");
  EXPECT_EQ(world.houses.count(), 1);
}

TEST_F(MapMenu, ANewMapIsListedLastAndWrittenEmpty) {
  World& world = game.world;
  world.levels = {"one"};
  const std::string name = repeat('a', 30) + "z";
  push(key(SDLK_DOWN));
  push(key(SDLK_DOWN));
  push(enter());  // "Create map"
  push(backspace());  // nothing to remove
  pushText(repeat('a', 35));  // only 31 are taken
  push(backspace());
  push(typed('z'));
  push(enter());
  push(escape());  // leaves the editor and the prompt
  push(escape());
  runMenu();
  ASSERT_EQ(world.levels.size(), 2u);
  EXPECT_EQ(world.levels.back(), name);
  EXPECT_EQ(readFile("maps/levels.txt"), "one\n" + name);
  for (const char* f : kMapFiles) {
    const std::string path = "maps/" + name + "/" + f + ".txt";
    EXPECT_TRUE(fileExists(path)) << path;
    EXPECT_EQ(readFile(path), "") << path;
  }
  EXPECT_EQ(world.mapName, name);
  EXPECT_EQ(world.houses.count(), 0);
  ASSERT_NE(world.player, nullptr);
}

TEST_F(MapMenu, RefusedNamesWriteNothingAndThePromptStaysOpen) {
  World& world = game.world;
  world.levels = {"abc"};
  ASSERT_EQ(system("mkdir -p maps/abc maps/old"), 0);
  writeFile("maps/abc/houses.txt", "1 2 3 4 - 100 0 0");
  push(key(SDLK_DOWN));
  push(key(SDLK_DOWN));
  push(enter());
  push(enter());  // empty name: refused
  pushText("abc");
  push(enter());  // in the list: refused
  push(backspace());
  push(backspace());
  push(backspace());
  pushText("old");
  push(enter());  // its folder exists: refused
  push(backspace());
  pushText("d2");
  push(enter());  // "old2" is new
  push(escape());
  push(escape());
  runMenu();
  EXPECT_EQ(readFile("maps/abc/houses.txt"), "1 2 3 4 - 100 0 0");
  EXPECT_FALSE(fileExists("maps/old/houses.txt"));
  EXPECT_EQ(world.levels, (std::vector<std::string>{"abc", "old2"}));
  EXPECT_EQ(readFile("maps/levels.txt"), "abc\nold2");
  EXPECT_EQ(world.mapName, "old2");

  // Leaving the prompt after a refused name writes nothing at all.
  push(key(SDLK_DOWN));
  push(key(SDLK_DOWN));
  push(enter());
  pushText("x");
  push(key(SDLK_SLASH, '/'));
  pushText("y");
  push(enter());
  push(escape());
  push(escape());
  runMenu();
  EXPECT_EQ(world.levels.size(), 2u);
  EXPECT_EQ(readFile("maps/levels.txt"), "abc\nold2");
  EXPECT_FALSE(fileExists("maps/x"));
  EXPECT_EQ(world.mapName, "old2");
}

TEST_F(MapMenu, NameChecksGiveShortReasons) {
  World& world = game.world;
  world.levels = {"abc", ""};
  ASSERT_EQ(system("mkdir -p maps/folder"), 0);
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
}

TEST_F(MapMenu, ACreateThatCannotWriteSaysSoAndKeepsTheMapInMemory) {
  World& world = game.world;
  world.mapName = "old";
  world.levels = {"old"};
  world.houses.append(std::make_unique<House>());
  const int houses = world.houses.count();
  // The list cannot be replaced: its temporary name is taken by a folder.
  ASSERT_EQ(system("mkdir 'maps/levels.txt~'"), 0);
  EXPECT_EQ(createMap(game.editor, "new"), "maps/levels.txt: Is a directory");
  EXPECT_EQ(world.mapName, "old");
  EXPECT_EQ(world.houses.count(), houses);
  EXPECT_EQ(world.levels, std::vector<std::string>{"old"});
  EXPECT_FALSE(fileExists("maps/new/houses.txt"));
  EXPECT_EQ(refusedMapName(world, "new"), "");  // free to try again

  ASSERT_EQ(system("rmdir 'maps/levels.txt~'"), 0);
  EXPECT_EQ(createMap(game.editor, "new"), "");
  EXPECT_EQ(world.mapName, "new");
  EXPECT_EQ(world.houses.count(), 0);
  EXPECT_EQ(readFile("maps/levels.txt"), "old\nnew");
}

TEST_F(MapMenu, PromptEventsTypeConfirmAndLeave) {
  NamePrompt prompt;
  game.editor.editText = "ab";
  prompt.message = "Name taken";
  EXPECT_FALSE(namePromptEvent(game.editor, prompt, typed('c')));
  EXPECT_EQ(game.editor.editText, "abc");
  EXPECT_EQ(prompt.message, "");  // typing clears the last reason
  EXPECT_FALSE(namePromptEvent(game.editor, prompt, motion(5, 5)));
  EXPECT_FALSE(namePromptEvent(game.editor, prompt, key(SDLK_F1)));
  EXPECT_EQ(game.editor.editText, "abc");
  EXPECT_TRUE(namePromptEvent(game.editor, prompt, enter()));
  EXPECT_TRUE(prompt.confirmed);
  EXPECT_EQ(game.editor.editText, "abc");
  NamePrompt closed;
  EXPECT_TRUE(namePromptEvent(game.editor, closed, quit()));
  EXPECT_TRUE(closed.leave);
  EXPECT_FALSE(closed.confirmed);
}

}  // namespace
