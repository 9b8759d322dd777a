// A recorded-demo style run of the real play frame: walk to a car, drive it into a house, get
// out, shoot a pedestrian. Input is scripted held keys and pushed key presses on a manual clock.
#include <cmath>

#include "app/play_loop.h"
#include "app_support.h"
#include "sim/collision.h"

using namespace apptest;

namespace {

constexpr int FRAME_LIMIT = 400;  // every phase ends long before this

// Heading in whole degrees (0 right, 90 up) from one point toward another.
double headingTo(double fromX, double fromY, double toX, double toY) {
  double a = std::atan2(-(toY - fromY), toX - fromX) * 180.0 / PI;
  if (a < 0) a += 360.0;
  return a;
}

double angleDifference(double target, double heading) {
  double d = std::fmod(target - heading, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d <= -180.0) d += 360.0;
  return d;
}

class ScriptedPlay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(headless.ready());
    World& w = headless.world();
    headless.game.scriptedKeys = keys.data();

    // A parked car right of the player, a house further right on the car's line, and a slow
    // pedestrian below them; nothing else.
    car = w.cars.append(makeMapCar(200, 100, 20, 40, 0, 100, 0, 4.0, 0, 4, 0.0, 0.2));
    auto house = std::make_unique<House>();
    house->x = 400;
    house->y = 40;
    house->w = 100;
    house->h = 120;
    w.houses.append(std::move(house));
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

TEST_F(ScriptedPlay, BoardDriveIntoAHouseLeaveAndShootAPedestrian) {
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

  // The AK47 (m), turned toward the pedestrian with the arrow keys, fired with right Ctrl.
  pushKey(SDLK_m);
  ASSERT_EQ(world.pedestrians.count(), 1);
  double lastPedX = 0, lastPedY = 0;
  int shotsHeld = 0;
  for (frames = 0; frames < FRAME_LIMIT && world.pedestrians.count() == 1; ++frames) {
    const Person& target = *world.pedestrians[0];
    lastPedX = target.x;
    lastPedY = target.y;
    const double aim = headingTo(cornerX(player, 3), cornerY(player, 3), target.x, target.y);
    const double turn = angleDifference(aim, player.heading);
    keys.releaseAll();
    if (turn > 4.0)
      keys.hold(SDLK_LEFT);
    else if (turn < -4.0)
      keys.hold(SDLK_RIGHT);
    else {
      keys.hold(SDLK_RCTRL);
      ++shotsHeld;
    }
    frame();
  }
  keys.releaseAll();
  EXPECT_EQ(player.currentWeapon, 1);
  ASSERT_EQ(world.pedestrians.count(), 0) << "the pedestrian survived " << frames << " frames";
  EXPECT_GT(shotsHeld, 0);
  EXPECT_LT(player.weapons[1]->ammo, 100);
  EXPECT_FALSE(player.life <= player.damage);

  ASSERT_EQ(world.deathMarks.count(), 1);
  EXPECT_NEAR(world.deathMarks[0]->x, lastPedX, 6.0);
  EXPECT_NEAR(world.deathMarks[0]->y, lastPedY, 6.0);
  ASSERT_EQ(world.moneyDrops.count(), 1);
  EXPECT_DOUBLE_EQ(world.moneyDrops[0]->value, 77.0);
  EXPECT_DOUBLE_EQ(player.money, 1000.0) << "the drop lies where the pedestrian fell";
}
