// Program start and shutdown: the window, the first player, the first map.
#include "app_support.h"

using namespace apptest;

TEST(Start, OpensTheLargestModeAndBuildsTheFirstPlayerAndMap) {
  ScratchDir folder;  // holding only the font and a map
  std::filesystem::create_directories("GFX/fonts");
  std::filesystem::copy_file(folder.home() / FONT, FONT);
  std::filesystem::create_directories("maps/town");
  writeFile("maps/levels.txt", "town\nother\n");
  writeFile("maps/town/houses.txt", "500 500 100 80 Hus 100 0 2\n700 500 100 80 Annat 100 0 2\n");
  writeFile("maps/town/roads.txt", "200 300 400 60 Storgatan\n");

  while (TTF_WasInit()) TTF_Quit();  // the program starts with nothing running
  SDL_Quit();
  Game game;
  ASSERT_TRUE(startGame(game));
  World& world = game.world;
  Media& media = game.media;
  // Only video: no sound, no joystick.
  EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), static_cast<Uint32>(SDL_INIT_VIDEO));

  // Full screen at the first listed size; a display that takes any size gets the desktop's.
  ASSERT_NE(media.screen, nullptr);
  EXPECT_NE(media.screen->flags & SDL_FULLSCREEN, 0u);
  EXPECT_EQ(media.screen->format->BitsPerPixel, 32);
  SDL_Rect** listed = SDL_ListModes(nullptr, FULLSCREEN_FLAGS);
  if (listed == reinterpret_cast<SDL_Rect**>(-1)) {
    EXPECT_GT(game.desktopWidth, 0);
    EXPECT_EQ(media.screen->w, game.desktopWidth);
    EXPECT_EQ(media.screen->h, game.desktopHeight);
  } else if (listed) {
    EXPECT_EQ(media.screen->w, listed[0]->w);
    EXPECT_EQ(media.screen->h, listed[0]->h);
  }
  EXPECT_NE(media.smallFont, nullptr);
  EXPECT_NE(media.bigFont, nullptr);
  EXPECT_EQ(world.view.w, media.screen->w);
  EXPECT_EQ(world.view.h, media.screen->h);
  EXPECT_EQ(world.player->weapons.size(), 3u);
  EXPECT_EQ(world.cursorX, 150);
  EXPECT_EQ(world.cursorY, 150);
  EXPECT_EQ(game.editor.probeX, 150);
  EXPECT_EQ(game.editor.probeY, 150);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

  EXPECT_EQ(world.levels, (std::vector<std::string>{"town", "other", ""}));
  EXPECT_EQ(world.mapName, "town");
  ASSERT_EQ(world.houses.count(), 2);
  EXPECT_EQ(world.houses[0]->text, "Brannik");
  EXPECT_EQ(world.houses[1]->text, "Annat");
  EXPECT_EQ(world.moneyItems.count(), 10);

  shutdownGame(game);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
  EXPECT_EQ(TTF_WasInit(), 0);
  EXPECT_EQ(media.screen, nullptr);
  EXPECT_EQ(world.player, nullptr);
  EXPECT_EQ(media.smallFont, nullptr);
  EXPECT_EQ(media.bigFont, nullptr);
}
