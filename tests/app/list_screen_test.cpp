// The shared list screen: keys at both ends of a list, choosing, leaving, the drawn layout.
#include "render/list_screen.h"

#include "app_support.h"

using namespace apptest;

using testsupport::keyEvent;

TEST(ListScreen, KeysStopAtBothEndsAndReturnChoosesTheHighlight) {
  ListScreen list;
  list.items = {"a", "b", "c"};

  EXPECT_EQ(listEvent(list, keyEvent(SDLK_UP)), ListInput::None);
  EXPECT_EQ(list.selected, 0);
  EXPECT_EQ(listEvent(list, keyEvent(SDLK_DOWN)), ListInput::Moved);
  EXPECT_EQ(listEvent(list, keyEvent(SDLK_DOWN)), ListInput::Moved);
  EXPECT_EQ(list.selected, 2);
  EXPECT_EQ(listEvent(list, keyEvent(SDLK_DOWN)), ListInput::None);
  EXPECT_EQ(list.selected, 2);

  // Other keys do nothing; Return chooses the highlighted entry without leaving.
  EXPECT_EQ(listEvent(list, keyEvent(SDLK_a)), ListInput::None);
  EXPECT_EQ(list.chosen, -1);
  EXPECT_EQ(listEvent(list, keyEvent(SDLK_RETURN)), ListInput::Chosen);
  EXPECT_EQ(list.chosen, 2);
  EXPECT_FALSE(list.back);

  EXPECT_EQ(listEvent(list, keyEvent(SDLK_UP)), ListInput::Moved);
  EXPECT_EQ(list.selected, 1);
}

TEST(ListScreen, EscapeAndWindowCloseLeave) {
  ListScreen byKey;
  byKey.items = {"a"};
  EXPECT_EQ(listEvent(byKey, keyEvent(SDLK_ESCAPE)), ListInput::Back);
  EXPECT_TRUE(byKey.back);

  ListScreen byClose;
  byClose.items = {"a"};
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  EXPECT_EQ(listEvent(byClose, quit), ListInput::Back);
  EXPECT_TRUE(byClose.back);
  EXPECT_EQ(byClose.chosen, -1);
}

TEST(ListScreen, AnEmptyListHasNothingToChooseOrMoveTo) {
  ListScreen list;
  EXPECT_EQ(listEvent(list, keyEvent(SDLK_DOWN)), ListInput::None);
  EXPECT_EQ(listEvent(list, keyEvent(SDLK_UP)), ListInput::None);
  EXPECT_EQ(listEvent(list, keyEvent(SDLK_RETURN)), ListInput::None);
  EXPECT_EQ(list.selected, 0);
  EXPECT_EQ(list.chosen, -1);
}

TEST(ListScreen, PollingStopsAtTheChoiceSoTypedAheadKeysReachTheNextScreen) {
  HeadlessGame headless;
  ASSERT_TRUE(headless.ready());
  ListScreen list;
  list.items = {"a", "b", "c"};
  pushKeys({SDLK_DOWN, SDLK_RETURN, SDLK_DOWN, SDLK_ESCAPE});

  pollListEvents(list);
  EXPECT_EQ(list.chosen, 1);
  EXPECT_EQ(list.selected, 1);
  EXPECT_FALSE(list.back);
  EXPECT_EQ(pendingEvents(), 2);

  list.chosen = -1;
  pollListEvents(list);
  EXPECT_EQ(list.selected, 2);
  EXPECT_TRUE(list.back);
  EXPECT_EQ(pendingEvents(), 0);
}

TEST(ListScreen, RunActsOnEachChoiceAndDrawsTheHighlightInTheMiddle) {
  HeadlessGame headless;
  ASSERT_TRUE(headless.ready());
  SDL_Surface* screen = headless.screen();
  const int middle = screen->h / 2;
  ListScreen list;
  list.items = {"First", "Second", "Third"};
  std::vector<int> acted;

  pushKeys({SDLK_DOWN, SDLK_RETURN, SDLK_DOWN, SDLK_RETURN, SDLK_ESCAPE});
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
  // it in black 60 pixels higher, nothing between them, nothing drawn below the last entry.
  EXPECT_GT(whitePixels(screen, 200, middle, 150, 30), 20);
  EXPECT_EQ(darkPixels(screen, 200, middle, 150, 30), 0);
  EXPECT_GT(darkPixels(screen, 200, middle - 60, 150, 30), 20);
  EXPECT_EQ(darkPixels(screen, 200, middle - 30, 150, 30), 0);
  EXPECT_GT(darkPixels(screen, 200, middle - 90, 150, 30), 20);
  EXPECT_EQ(whitePixels(screen, 200, middle + 30, 200, 90), 0);
  EXPECT_EQ(darkPixels(screen, 200, middle + 30, 200, 90), 0);
  // Nothing is drawn left of x = 200.
  EXPECT_EQ(darkPixels(screen, 0, 0, 199, screen->h), 0);
}

TEST(ListScreen, TheFirstEntryHighlightedHasItsNeighbourSixtyPixelsBelow) {
  HeadlessGame headless;
  ASSERT_TRUE(headless.ready());
  SDL_Surface* screen = headless.screen();
  const int middle = screen->h / 2;
  ListScreen list;
  list.items = {"First", "Second"};
  list.back = false;
  pushKey(SDLK_ESCAPE);
  runListScreen(headless.media(), headless.world().clock, list, [](int) { FAIL() << "nothing was chosen"; });

  EXPECT_GT(whitePixels(screen, 200, middle, 150, 30), 20);
  EXPECT_EQ(darkPixels(screen, 200, middle + 30, 150, 30), 0);
  EXPECT_GT(darkPixels(screen, 200, middle + 60, 150, 30), 20);
  EXPECT_EQ(darkPixels(screen, 200, 0, 300, middle), 0);
}
