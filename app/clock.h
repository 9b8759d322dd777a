// The one clock the simulation and the paced loops read: SDL's tick counter in the game,
// a value that tests set and advance by hand.
#pragma once

#include <cstdint>

class Clock {
 public:
  // Milliseconds since start (SDL_GetTicks, or the manual value).
  uint32_t now() const;
  // Waits ms milliseconds; a manual clock just advances by ms.
  void delay(uint32_t ms);

  // Switches to a hand-driven clock starting at `ticks` (tests, benchmarks, soak runs).
  void setManual(uint32_t ticks) {
    manual_ = true;
    ticks_ = ticks;
  }
  void advance(uint32_t ms) { ticks_ += ms; }
  bool manual() const { return manual_; }

 private:
  bool manual_ = false;
  uint32_t ticks_ = 0;
};

// Millisecond stopwatch of the paced loops.
class FrameTimer {
 public:
  explicit FrameTimer(const Clock* clock = nullptr) : clock_(clock) {}
  void setClock(const Clock* clock) { clock_ = clock; }
  void start();
  // 0 when not started, the paused ticks when paused, else ticks since start().
  uint32_t elapsed() const;

  uint32_t startTicks = 0;
  uint32_t pausedTicks = 0;
  bool paused = false;
  bool started = false;

 private:
  const Clock* clock_;
};
