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

}  // namespace
