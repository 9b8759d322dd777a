// The shared list screen: keys at both ends of a list, choosing, leaving, the drawn layout.
#include "render/list_screen.h"

#include "app_support.h"

using namespace apptest;

using testsupport::keyEvent;

TEST(ListScreen, RunActsOnEachChoiceAndDrawsTheHighlightInTheMiddle) {
  HeadlessGame headless;
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
