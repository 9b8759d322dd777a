// The play frame: events, held keys, the end of the loop, and a scripted run through a car ride.
#include "app/play_loop.h"

#include "app_support.h"
#include "render/pacing.h"
#include "sim/collision.h"
#include "support/records.h"

using namespace apptest;

namespace {

Car* addCar(World& world, double x, double y, double speed = 0.0) {
  return world.cars.append(
      CarSpec{}.at(x, y).size(20, 40).maxSpeed(4.0).speed(speed).acceleration(0.2).make());
}

class PlayFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(headless.ready());
    headless.game.scriptedKeys = keys.data();
  }
  bool frame() { return playFrame(headless.game, showHud); }
  World& world() { return headless.world(); }
  Person& player() { return *headless.world().player; }

  TestGame headless;
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
  keys.only({SDLK_F4});
  EXPECT_TRUE(frame());
  EXPECT_NE(car->x, 1000);
  const double moved = car->x;
  keys.hold(SDLK_LALT);
  EXPECT_FALSE(frame());
  EXPECT_DOUBLE_EQ(car->x, moved);

  keys.releaseAll();
  pushQuit();
  EXPECT_FALSE(frame()) << "closing the window ends the loop";

  // One event at a time: a key press goes on, closing the window leaves.
  bool quit = false;
  playEvent(world(), keyEvent(SDLK_h), showHud, quit);
  EXPECT_FALSE(quit);
  playEvent(world(), quitEvent(), showHud, quit);
  EXPECT_TRUE(quit);
}

TEST_F(PlayFrame, TurningOnFootWrapsAndCancelsTheWalkToACar) {
  addCar(world(), 1000, 1000);
  player().heading = 0;
  pushKeys({SDLK_RETURN});
  keys.hold(SDLK_d);
  ASSERT_TRUE(frame());
  EXPECT_EQ(player().heading, 355);
  EXPECT_FALSE(player().walkingToCar);
  EXPECT_EQ(player().targetCar, world().cars[0]) << "Return chose the only car";

  keys.only({SDLK_LEFT});
  ASSERT_TRUE(frame());
  ASSERT_TRUE(frame());
  EXPECT_EQ(player().heading, 5);

  // Every walking or turning key takes the player off the way to its car.
  for (SDLKey k : {SDLK_UP, SDLK_d, SDLK_DOWN, SDLK_LEFT}) {
    keys.only({k});
    player().walkingToCar = true;
    ASSERT_TRUE(frame());
    EXPECT_FALSE(player().walkingToCar) << SDL_GetKeyName(k);
  }

  // m goes to the next weapon, n back to the one before.
  keys.releaseAll();
  const size_t weapons = player().weapons.size();
  ASSERT_GT(weapons, 2u);
  player().currentWeapon = 0;
  pushKeys({SDLK_m, SDLK_m, SDLK_n});
  ASSERT_TRUE(frame());
  EXPECT_EQ(player().currentWeapon, 1);
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

  keys.only({SDLK_w, SDLK_a});
  ASSERT_TRUE(frame());
  EXPECT_EQ(car->heading, 95);
  EXPECT_GT(car->speed, 0.0);
  keys.only({SDLK_d});
  ASSERT_TRUE(frame());
  ASSERT_TRUE(frame());
  EXPECT_EQ(car->heading, 85);

  // Brake (s) slows, then the handbrake stops the car.
  keys.only({SDLK_s});
  const double rolling = car->speed;
  ASSERT_TRUE(frame());
  EXPECT_LT(car->speed, rolling);
  keys.only({SDLK_SPACE});
  ASSERT_TRUE(frame());
  EXPECT_DOUBLE_EQ(car->speed, 0.0);

  // Right Ctrl does not fire from a car.
  keys.only({SDLK_RCTRL});
  player().currentWeapon = 1;
  ASSERT_TRUE(frame());
  EXPECT_EQ(world().bullets.count(), 0);
}

// The frame stopwatch: a frame waits out what is left of its time, a late one goes on at once.
TEST(FrameTimer, WaitsOutTheRestOfAFrameAndNotAfterALateOne) {
  Clock clock;
  clock.setManual(1000);
  FrameTimer timer(&clock);
  EXPECT_EQ(timer.elapsed(), 0u);  // not started
  timer.start();
  clock.advance(15);
  EXPECT_EQ(timer.elapsed(), 15u);
  waitFrameEnd(clock, timer, 20);
  EXPECT_EQ(clock.now(), 1020u);
  waitFrameEnd(clock, timer, 20);
  EXPECT_EQ(clock.now(), 1020u);
}

// A scripted run of the real play frame: walk to a car, drive it into a house, get out.
TEST_F(PlayFrame, ScriptedRunBoardsDrivesIntoAHouseAndLeaves) {
  constexpr int FRAME_LIMIT = 400;  // every phase ends long before this
  World& world = headless.world();
  Person& player = *world.player;
  // A parked car right of the player, a house further right on the car's line; nothing else.
  Car* car = addCar(world, 200, 100);
  world.houses.append(makeRect<House>(400, 40, 100, 120));

  // Return: walk to the nearest car and board it once within reach.
  pushKeys({SDLK_RETURN});
  int frames = 0;
  uint32_t boardedAt = 0;
  while (!player.inCar && frames < FRAME_LIMIT) {
    const uint32_t now = world.clock.now();
    ASSERT_TRUE(frame());
    ++frames;
    ASSERT_EQ(player.targetCar, car);
    if (player.inCar) {
      boardedAt = now;
      break;
    }
    EXPECT_TRUE(player.walkingToCar);
    EXPECT_GT(player.carDistance, BLOCK_DISTANCE) << "still walking at frame " << frames;
  }
  ASSERT_TRUE(player.inCar) << "never boarded";
  EXPECT_GT(frames, 5) << "the car is some way off";
  EXPECT_LE(player.carDistance, BLOCK_DISTANCE);
  EXPECT_FALSE(player.walkingToCar);
  EXPECT_EQ(car->driver, PLAYER_DRIVER);
  EXPECT_EQ(player.enteredAt, static_cast<int32_t>(boardedAt));
  EXPECT_DOUBLE_EQ(player.x, car->x);
  EXPECT_DOUBLE_EQ(player.y, car->y);
  EXPECT_DOUBLE_EQ(car->x, 200.0) << "boarding does not move the car";

  // Gas toward the house until the car bounces off it.
  keys.hold(SDLK_UP);
  bool bounced = false;
  double lastX = car->x;
  for (frames = 0; frames < FRAME_LIMIT && !bounced; ++frames) {
    ASSERT_TRUE(frame());
    EXPECT_DOUBLE_EQ(player.x, car->x) << "the player rides along";
    EXPECT_DOUBLE_EQ(player.y, car->y);
    if (car->speed < 0) {
      bounced = true;
      EXPECT_LE(car->x, lastX) << "the bounce moves the car back, never into the house";
    } else {
      EXPECT_GT(car->x, lastX);
    }
    EXPECT_LT(car->x + car->h / 2, 400.0) << "the car's nose stays out of the house";
    lastX = car->x;
  }
  ASSERT_TRUE(bounced) << "the car never reached the house";
  EXPECT_GT(car->x + car->h / 2, 390.0) << "it bounced at the house, not before";
  keys.releaseAll();

  // Return again: out of the car, which rolls on backwards without its driver.
  pushKeys({SDLK_RETURN});
  ASSERT_TRUE(frame());
  EXPECT_FALSE(player.inCar);
  EXPECT_EQ(player.targetCar, nullptr);
  EXPECT_EQ(car->driver, NO_DRIVER);
  EXPECT_GT(pointDistance(player.x, player.y, car->x, car->y), 20.0);
  EXPECT_LT(car->speed, 0.0);
}
