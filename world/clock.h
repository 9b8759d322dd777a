// The world's time: milliseconds as a plain value. The game sets it from the tick counter
// before each frame; tests, benchmarks and replays drive it by hand.
#pragma once

#include <cstdint>

class Clock {
 public:
  uint32_t now() const { return ticks_; }

  // Switches to a hand-driven clock starting at `ticks`: the game no longer follows the tick
  // counter, and its waits advance the clock instead of sleeping.
  void setManual(uint32_t ticks) {
    manual_ = true;
    ticks_ = ticks;
  }
  void advance(uint32_t ms) { ticks_ += ms; }
  bool manual() const { return manual_; }
  // The tick counter's reading, taken over unless the clock is driven by hand.
  void follow(uint32_t ticks) {
    if (!manual_) ticks_ = ticks;
  }

 private:
  bool manual_ = false;
  uint32_t ticks_ = 0;
};
