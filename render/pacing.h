// Pacing of the game's loops (play, editor, menus) on the world's clock: in the game the clock
// follows SDL's tick counter and waits sleep; on a hand-driven clock waits just advance it.
#pragma once

#include <cstdint>

class Clock;

// The time now: the tick counter, or the hand-driven clock's value.
uint32_t ticksNow(const Clock& clock);
// Waits ms milliseconds; the clock then reads the time after the wait.
void waitMs(Clock& clock, uint32_t ms);

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

// Waits out the rest of a frame of frameMs begun when the timer started. A late frame still
// waits (for no time): in the browser every wait is the page's turn to show the frame and
// take input.
void waitFrameEnd(Clock& clock, const FrameTimer& timer, uint32_t frameMs);
