// A frame's input as a plain value: the time, the keys held and the presses and mouse motion of
// the frame in order. The app gathers it from the devices; a replay reads it from a file.
#pragma once

#include <cstdint>
#include <vector>

// The keys held through the frame that the rules read.
struct HeldKeys {
  bool forward = false;    // Up or W: walk forward or give gas
  bool backward = false;   // Down or S: walk backward or brake
  bool left = false;       // Left or A: turn left
  bool right = false;      // Right or D: turn right
  bool faster = false;     // 1: walk faster
  bool slower = false;     // 2: walk slower
  bool handbrake = false;  // Space
  bool fire = false;       // right Control
};

enum class PressKind : uint8_t {
  Enter,           // Return: walk to the nearest car, or leave the car
  NextWeapon,      // m
  PreviousWeapon,  // n
  Motion,          // the mouse moved by (dx, dy)
};
// "Enter", "NextWeapon", ... as recordings write them; nullptr for a value outside the set.
const char* pressName(PressKind kind);
// The kind of a recorded name; false when there is none.
bool pressKindOf(const char* name, PressKind& kind);

struct Press {
  PressKind kind = PressKind::Enter;
  int32_t dx = 0, dy = 0;  // Motion only
};

struct FrameInput {
  uint32_t time = 0;  // the world's clock at the frame's start, in ms
  HeldKeys held;
  std::vector<Press> presses;  // in the order they came
  // The player leaves the game this frame (Escape, Alt+F4, window close): its input is
  // applied, but the city does not move on.
  bool leave = false;
};
