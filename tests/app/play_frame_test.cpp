// The play frame's own rules: events, held keys, the end of the loop, the rate text, game over.
#include "app/play_loop.h"

#include <cmath>

#include "app_support.h"
#include "sim/collision.h"

using namespace apptest;

namespace {

Car* addCar(World& world, double x, double y, double speed = 0.0) {
  auto car = makeMapCar(x, y, 20, 40, 0, 100, 0, 4.0, 0, 4, speed, 0.2);
  return world.cars.append(std::move(car));
}

class PlayFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(headless.ready());
    headless.game.scriptedKeys = keys.data();
  }
  bool frame() { return playFrame(headless.game, showHud); }
  World& world() { return headless.world(); }
  Media& media() { return headless.media(); }
  Person& player() { return *headless.world().player; }

  HeadlessGame headless;
  KeyState keys;
  bool showHud = true;
};

}  // namespace

TEST_F(PlayFrame, MouseMotionMovesTheCursorOnlyInsideTheWorld) {
  world().cursorX = 2990;
  world().cursorY = 500;
  pushMotion(9, -20);
  EXPECT_TRUE(frame());
  EXPECT_EQ(world().cursorX, 2999);
  EXPECT_EQ(world().cursorY, 480);

  // Reaching 3000 is refused whole, not clamped; the other axis still moves.
  pushMotion(1, 5);
  pushMotion(30, 5);
  EXPECT_TRUE(frame());
  EXPECT_EQ(world().cursorX, 2999);
  EXPECT_EQ(world().cursorY, 490);

  world().cursorX = 20;
  world().cursorY = 1;
  moveCursor(world(), -19, -1);
  EXPECT_EQ(world().cursorX, 1);
  EXPECT_EQ(world().cursorY, 1);
  moveCursor(world(), -25, 2998);
  EXPECT_EQ(world().cursorX, 1);
  EXPECT_EQ(world().cursorY, 2999);
}

TEST_F(PlayFrame, KeyITogglesTheStatusDisplay) {
  SDL_Surface* screen = headless.screen();
  const int lifeY = screen->h - 120;  // where the life text stands
  ASSERT_TRUE(frame());
  EXPECT_TRUE(showHud);
  EXPECT_GT(darkPixels(screen, 70, lifeY, 60, 20), 5);

  pushKey(SDLK_i);
  ASSERT_TRUE(frame());
  EXPECT_FALSE(showHud);
  EXPECT_EQ(darkPixels(screen, 70, lifeY, 60, 20), 0);

  pushKeys({SDLK_i, SDLK_i, SDLK_i});
  ASSERT_TRUE(frame());
  EXPECT_TRUE(showHud);
  EXPECT_GT(darkPixels(screen, 70, lifeY, 60, 20), 5);
}

TEST_F(PlayFrame, KeysMAndNSwitchWeaponsRoundTheList) {
  ASSERT_EQ(player().weapons.size(), 3u);
  pushKey(SDLK_n);
  ASSERT_TRUE(frame());
  EXPECT_EQ(player().currentWeapon, 2);
  pushKeys({SDLK_m, SDLK_m});
  ASSERT_TRUE(frame());
  EXPECT_EQ(player().currentWeapon, 1);
}

TEST_F(PlayFrame, EscapeEndsTheLoopAfterTheWaitWithoutSimulatingOrDrawing) {
  Car* car = addCar(world(), 1000, 1000, 2.0);
  SDL_Surface* screen = headless.screen();
  SDL_FillRect(screen, nullptr, 0x00FFFFFF);
  const uint32_t start = world().clock.now();
  keys.hold(SDLK_ESCAPE);
  EXPECT_FALSE(frame());
  EXPECT_DOUBLE_EQ(car->x, 1000);
  EXPECT_DOUBLE_EQ(car->speed, 2.0);
  EXPECT_EQ(pixelAt(screen, 400, 300), 0x00FFFFFFu);
  EXPECT_EQ(world().clock.now() - start, FRAME_MS);

  // Alt+F4 ends the same way; F4 alone does not.
  keys.releaseAll();
  keys.hold(SDLK_F4);
  EXPECT_TRUE(frame());
  EXPECT_NE(car->x, 1000);
  const double moved = car->x;
  keys.hold(SDLK_LALT);
  EXPECT_FALSE(frame());
  EXPECT_DOUBLE_EQ(car->x, moved);

  keys.releaseAll();
  pushQuit();
  EXPECT_FALSE(frame()) << "closing the window ends the loop";
}

TEST_F(PlayFrame, TheRateTextNeedsAFrameThatTookTime) {
  SDL_Surface* screen = headless.screen();
  const int x = screen->w - 30;
  // The manual clock stands still inside a frame: 0 ms, no text.
  ASSERT_TRUE(frame());
  EXPECT_EQ(darkPixels(screen, x, 10, 30, 16), 0);

  drawFrameRate(media(), 4);  // "250"
  EXPECT_GT(darkPixels(screen, x, 10, 30, 16), 5);
  EXPECT_EQ(darkPixels(screen, 0, 0, x, 40), 0);
  SDL_FillRect(screen, nullptr, GREY);
  drawFrameRate(media(), 0);
  EXPECT_EQ(darkPixels(screen, 0, 0, screen->w, screen->h), 0);
}

TEST_F(PlayFrame, GameOverWaitsForReturnEscapeOrWindowClose) {
  SDL_Surface* screen = headless.screen();
  for (int way = 0; way < 3; ++way) {
    SDL_FillRect(screen, nullptr, GREY);
    pushKey(SDLK_SPACE);  // ignored
    pushMotion(3, 3);     // ignored
    if (way == 0) pushKey(SDLK_RETURN);
    if (way == 1) pushKey(SDLK_ESCAPE);
    if (way == 2) pushQuit();
    pushKey(SDLK_DOWN);  // left for the menu
    gameOverScreen(headless.game);
    EXPECT_EQ(pendingEvents(), 1) << "way " << way;
    HeadlessGame::clearEvents();
    EXPECT_GT(darkPixels(screen, screen->w / 2, screen->h / 2, 150, 30), 30);
    EXPECT_EQ(darkPixels(screen, 0, 0, screen->w / 2, screen->h), 0);
  }
}

TEST_F(PlayFrame, WalkingSpeedKeysStayWithinTheirBounds) {
  player().walkSpeed = 1.0;
  keys.hold(SDLK_2);
  ASSERT_TRUE(frame());
  EXPECT_DOUBLE_EQ(player().walkSpeed, 1.0);
  keys.releaseAll();
  keys.hold(SDLK_1);
  ASSERT_TRUE(frame());
  ASSERT_TRUE(frame());
  EXPECT_NEAR(player().walkSpeed, 1.2, 1e-9);
  player().walkSpeed = player().topWalkSpeed;
  ASSERT_TRUE(frame());
  EXPECT_DOUBLE_EQ(player().walkSpeed, player().topWalkSpeed);
}

TEST_F(PlayFrame, TurningOnFootWrapsAndCancelsTheWalkToACar) {
  addCar(world(), 1000, 1000);
  player().heading = 0;
  pushKey(SDLK_RETURN);
  keys.hold(SDLK_d);
  ASSERT_TRUE(frame());
  EXPECT_EQ(player().heading, 355);
  EXPECT_FALSE(player().walkingToCar);
  EXPECT_EQ(player().targetCar, world().cars[0]) << "Return chose the only car";

  keys.releaseAll();
  keys.hold(SDLK_LEFT);
  ASSERT_TRUE(frame());
  ASSERT_TRUE(frame());
  EXPECT_EQ(player().heading, 5);
}

TEST_F(PlayFrame, DrivingKeysWorkOnTheCarAndSteerOnlyARollingOne) {
  Car* car = addCar(world(), 1000, 1000);
  player().targetCar = car;
  player().inCar = true;
  car->driver = PLAYER_DRIVER;
  car->heading = 90;

  keys.hold(SDLK_LEFT);
  ASSERT_TRUE(frame());
  EXPECT_EQ(car->heading, 90) << "a parked car is not steered";

  keys.releaseAll();
  keys.hold(SDLK_w);
  keys.hold(SDLK_a);
  ASSERT_TRUE(frame());
  EXPECT_EQ(car->heading, 95);
  EXPECT_GT(car->speed, 0.0);
  EXPECT_DOUBLE_EQ(player().x, car->x) << "the player rides along";
  EXPECT_DOUBLE_EQ(player().y, car->y);
  keys.releaseAll();
  keys.hold(SDLK_d);
  ASSERT_TRUE(frame());
  ASSERT_TRUE(frame());
  EXPECT_EQ(car->heading, 85);

  // Brake (s) slows, then the handbrake stops the car.
  keys.releaseAll();
  keys.hold(SDLK_s);
  const double rolling = car->speed;
  ASSERT_TRUE(frame());
  EXPECT_LT(car->speed, rolling);
  keys.releaseAll();
  keys.hold(SDLK_SPACE);
  ASSERT_TRUE(frame());
  EXPECT_DOUBLE_EQ(car->speed, 0.0);

  // Right Ctrl does not fire from a car.
  keys.releaseAll();
  keys.hold(SDLK_RCTRL);
  player().currentWeapon = 1;
  ASSERT_TRUE(frame());
  EXPECT_EQ(world().bullets.count(), 0);

  // Return leaves the car.
  keys.releaseAll();
  pushKey(SDLK_RETURN);
  ASSERT_TRUE(frame());
  EXPECT_FALSE(player().inCar);
  EXPECT_EQ(player().targetCar, nullptr);
  EXPECT_EQ(car->driver, NO_DRIVER);
}

TEST_F(PlayFrame, APlayerPutOutOfItsCarByOthersLeavesIt) {
  Car* car = addCar(world(), 1000, 1000);
  player().targetCar = car;
  player().inCar = true;
  car->driver = 0;  // someone else took the wheel
  ASSERT_TRUE(frame());
  EXPECT_FALSE(player().inCar);
  EXPECT_EQ(player().targetCar, nullptr);

  // A car seat without a car puts the player back on its feet.
  player().inCar = true;
  player().targetCar = nullptr;
  pushKey(SDLK_RETURN);
  keys.hold(SDLK_UP);
  ASSERT_TRUE(frame());
  EXPECT_FALSE(player().inCar);
  ASSERT_TRUE(frame());
  EXPECT_FALSE(player().inCar);
}

TEST_F(PlayFrame, AParkedCarStopsThePlayerOnFoot) {
  // The car's back is 4 pixels ahead of the player's nose.
  Car* car = addCar(world(), 160, 100);
  car->h = 94;
  car->w = 69;
  car->halfDiagonal = std::sqrt(47.0 * 47.0 + 34.5 * 34.5);
  keys.hold(SDLK_UP);
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(frame());
  EXPECT_LT(player().x + player().h / 2, car->x - car->h / 2) << "walked into the car";
  EXPECT_GT(player().x, 100.0) << "walked up to it";
  EXPECT_DOUBLE_EQ(player().y, 100.0);
  EXPECT_DOUBLE_EQ(car->x, 160.0);
}

TEST_F(PlayFrame, FiringOnFootSpawnsABullet) {
  player().currentWeapon = 1;  // AK47
  keys.hold(SDLK_RCTRL);
  ASSERT_TRUE(frame());
  EXPECT_EQ(world().bullets.count(), 1);
  EXPECT_EQ(player().weapons[1]->ammo, 99);
}

TEST(PlayLoop, EndsOnEscapeAndStartsTheLevelWhenThePlayerIsDead) {
  HeadlessGame headless;
  ASSERT_TRUE(headless.ready());
  ScratchFolder folder;
  World& world = headless.world();
  Media& media = headless.media();
  KeyState keys;
  headless.game.scriptedKeys = keys.data();
  keys.hold(SDLK_ESCAPE);

  Person* first = world.player.get();
  const uint32_t start = world.clock.now();
  playLoop(headless.game);
  EXPECT_EQ(world.clock.now() - start, FRAME_MS) << "one frame";
  EXPECT_EQ(world.player.get(), first) << "a living player goes on";

  first->damage = 150;
  playLoop(headless.game);
  ASSERT_NE(world.player.get(), nullptr);
  EXPECT_DOUBLE_EQ(world.player->damage, 0.0);
  EXPECT_DOUBLE_EQ(world.player->wantedLevel, 5.0);
}
