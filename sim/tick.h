// The frame's simulation in its fixed order.
#pragma once

#include <cstdint>

struct World;

// The length of a frame: every speed of the city is in pixels per frame.
constexpr uint32_t FRAME_MS = 20;

// The simulation part of a frame, in order: drivers, cars, pedestrians, bad guys, the
// player following its car and committing, marks, bullets, money, running over, deaths,
// the camera.
void simulateFrame(World& world);
