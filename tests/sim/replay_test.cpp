// A recorded game, written out and read back, replays to the byte-identical world each time;
// the input it records moves the play cursor.
#include "sim/replay.h"

#include <gtest/gtest.h>

#include <sstream>

#include "sim/collision.h"
#include "sim/tick.h"
#include "sim_world.h"
#include "world/level.h"
#include "world/world.h"

namespace {

// Walks and shoots, turns, walks to the nearest car, drives off, then leaves.
FrameInput scriptedFrame(int f, uint32_t time) {
  FrameInput in;
  in.time = time;
  in.held.forward = f % 90 < 60 || f > 150;
  in.held.fire = f < 40 && f % 3 == 0;
  in.held.left = f % 50 > 40;
  if (f == 60) in.presses.push_back(Press{PressKind::Enter});
  if (f == 20) in.presses.push_back(Press{PressKind::NextWeapon});
  if (f % 7 == 0) in.presses.push_back(Press{PressKind::Motion, f % 5 - 2, 3});
  in.leave = f == 299;
  return in;
}

std::string replayed(const Recording& recording) {
  World world;
  prepareForRecording(world, recording);
  startFirstCity(world);
  playRecording(world, recording);
  return worldState(world);
}

}  // namespace

TEST(Replay, TwoReplaysOfARecordedGameEndInTheSameWorld) {
  Recording recording;
  recording.seed = 1234;
  recording.mapName = "smalltown";
  recording.viewW = 800;
  recording.viewH = 600;
  recording.startTime = 5000;

  World played;
  prepareForRecording(played, recording);
  startFirstCity(played);
  ASSERT_FALSE(played.cars.empty()) << "run from the repository root";
  for (int f = 0; f < 300; ++f) {
    const FrameInput in = scriptedFrame(f, recording.startTime + FRAME_MS * (f + 1));
    recording.frames.push_back(in);
    tick(played, in);
  }
  // The scripted game did something: the player moved and fired.
  EXPECT_NE(played.player->x, 100);
  EXPECT_LT(played.player->weapons[1]->ammo, 100);

  std::stringstream file;
  ASSERT_TRUE(writeRecording(file, recording));
  Recording back;
  std::string error;
  ASSERT_TRUE(readRecording(file, back, error)) << error;
  ASSERT_EQ(back.frames.size(), recording.frames.size());

  const std::string first = replayed(back);
  EXPECT_EQ(first, replayed(back));
  EXPECT_EQ(first, worldState(played));

  // A recording that does not read is refused, with the reason: a view without height, an
  // unknown press, a line that is not a frame.
  std::istringstream flat("zor-recording 1\nseed 1\nmap smalltown\nview 800 0\nstart 0\n");
  EXPECT_FALSE(readRecording(flat, back, error));
  EXPECT_EQ(error, "no view line");
  for (const char* line : {"frame 20 10000000 0 1 Jump", "frame 20 10000000",
                           "jump 20 10000000 0 0"}) {
    std::istringstream broken(std::string("zor-recording 1\nseed 1\nmap smalltown\n") +
                              "view 800 600\nstart 0\n" + line + "\n");
    EXPECT_FALSE(readRecording(broken, back, error)) << line;
    EXPECT_EQ(error, "frame 1 does not read") << line;
  }
}

// The mouse moves the play cursor within 1..2999 on each axis; a step past an edge is refused.
TEST(MoveCursor, StaysInsideTheWorldOnEachAxis) {
  World world;
  world.cursorX = world.cursorY = 2;
  moveCursor(world, -1, 2997);  // to the first and the last place inside
  moveCursor(world, -1, 1);
  EXPECT_EQ(world.cursorX, 1);
  EXPECT_EQ(world.cursorY, 2999);
  moveCursor(world, 2998, -2998);  // and across to the other corner
  EXPECT_EQ(world.cursorX, 2999);
  EXPECT_EQ(world.cursorY, 1);
}

using Tick = SimWorld;

// The walking key steps the player on; at the wheel it rides with its car on both axes, and
// the view follows it.
TEST_F(Tick, TheWalkKeyStepsThePlayerWhoRidesInItsCarAndTheViewFollows) {
  FrameInput in;
  in.time = 10020;
  in.held.forward = true;
  in.held.faster = true;
  player().heading = 90;  // up the screen
  tick(world, in);
  EXPECT_DOUBLE_EQ(player().walkSpeed, 1.6);  // 0.1 from the key, 0.5 from the step
  EXPECT_EQ(player().x, 500);
  EXPECT_LT(player().y, 500);

  Car& car = addCar(2000, 1500, 90);
  player().targetCar = &car;
  player().inCar = true;
  car.driver = PLAYER_DRIVER;
  tick(world, in);
  EXPECT_EQ(player().x, car.x);
  EXPECT_EQ(player().y, car.y);
  EXPECT_TRUE(anyCornerInView(car, world.view));
}
