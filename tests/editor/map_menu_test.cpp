// The map menu's name check: every refused name with its short reason.
#include "editor/editor.h"
#include "editor/map_menu.h"
#include "editor_fixture.h"

namespace {

using MapMenu = EditorTest;

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
