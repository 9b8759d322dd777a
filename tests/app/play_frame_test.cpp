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

  // Every walking or turning key takes the player off the way to its car.
  for (SDLKey k : {SDLK_UP, SDLK_d, SDLK_DOWN, SDLK_LEFT}) {
    keys.releaseAll();
    keys.hold(k);
    player().walkingToCar = true;
    ASSERT_TRUE(frame());
    EXPECT_FALSE(player().walkingToCar) << SDL_GetKeyName(k);
  }
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
