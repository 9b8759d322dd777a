// One frame of the game: the player's own input, then the city's simulation, in a fixed order.
#pragma once

#include <cstdint>

struct FrameInput;
struct HeldKeys;
struct Press;
struct World;

// The length of a frame: every speed of the city is in pixels per frame.
constexpr uint32_t FRAME_MS = 20;
// The cursor stays on these world coordinates.
constexpr int CURSOR_MIN = 1;
constexpr int CURSOR_MAX = 2999;

// Advances the world by one frame: the clock is set to the frame's time, the presses are
// applied in order, then the held keys, then the player's own step; unless the player leaves
// this frame, the city's simulation follows.
void tick(World& world, const FrameInput& input);

// The pieces of the tick, callable on their own.

// Moves the cursor by a relative motion, each axis only when it stays within 1..2999.
void moveCursor(World& world, int dx, int dy);
// Return walks to the nearest car or leaves the car; m and n switch weapons; motion moves the
// cursor.
void applyPress(World& world, const Press& press);
// Walking speed, walking or driving, turning, firing.
void applyHeldKeys(World& world, const HeldKeys& held);
// The player's own movement this frame: on foot, or walking to its car and boarding it.
void movePlayer(World& world, const HeldKeys& held);
// The simulation part of a frame, in order: drivers, cars, pedestrians, bad guys, the
// player following its car and committing, marks, bullets, money, running over, deaths,
// the camera.
void simulateFrame(World& world);
