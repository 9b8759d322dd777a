// A scripted run of the real play frame: walk to a car, drive it into a house, get out. Input is
// scripted held keys and pushed key presses on a manual clock.
#include <algorithm>

#include "app/play_loop.h"
#include "app_support.h"
#include "sim/collision.h"
#include "support/records.h"

using namespace apptest;

namespace {

constexpr int FRAME_LIMIT = 400;  // every phase ends long before this

class ScriptedPlay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(headless.ready());
    World& w = headless.world();
    headless.game.scriptedKeys = keys.data();

    // A parked car right of the player, a house further right on the car's line, and a slow
    // pedestrian below them; nothing else.
    car = w.cars.append(makeMapCar(200, 100, 20, 40, 0, 100, 0, 4.0, 0, 4, 0.0, 0.2));
    w.houses.append(testsupport::rect<House>(400, 40, 100, 120));
    std::vector<std::unique_ptr<Weapon>> none;
    auto walker = makePerson("Kalle", nullptr, 0, true, false, 100.0, 0.0, 0.0, 250, 350, 20, 20,
                             std::move(none), 10.0, 77.0);
    walker->topWalkSpeed = 1.0;
    w.pedestrians.append(std::move(walker));
  }

  // One real frame; the loop must go on.
  void frame() { ASSERT_TRUE(playFrame(headless.game, showHud)); }

  HeadlessGame headless;
  KeyState keys;
  bool showHud = true;
  Car* car = nullptr;
};

}  // namespace

TEST_F(ScriptedPlay, BoardDriveIntoAHouseAndLeave) {
  World& world = headless.world();
  Person& player = *world.player;

  // Return: walk to the nearest car and board it once within reach.
  pushKey(SDLK_RETURN);
  int frames = 0;
  uint32_t boardedAt = 0;
  while (!player.inCar && frames < FRAME_LIMIT) {
    const uint32_t now = world.clock.now();
    frame();
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
    const double before = car->speed;
    frame();
    EXPECT_DOUBLE_EQ(player.x, car->x) << "the player rides along";
    if (car->speed < 0) {
      bounced = true;
      const double pushed = std::min(before + 0.2, 4.0) - 0.05;  // gas, then friction
      EXPECT_NEAR(car->speed, -pushed, 1e-9);
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
  pushKey(SDLK_RETURN);
  frame();
  EXPECT_FALSE(player.inCar);
  EXPECT_EQ(player.targetCar, nullptr);
  EXPECT_EQ(car->driver, NO_DRIVER);
  EXPECT_GT(pointDistance(player.x, player.y, car->x, car->y), 20.0);
  EXPECT_LT(car->speed, 0.0);
}
