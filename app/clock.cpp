// Tick counter and frame stopwatch.
#include "app/clock.h"

#include <SDL.h>

uint32_t Clock::now() const { return manual_ ? ticks_ : SDL_GetTicks(); }

void Clock::delay(uint32_t ms) {
  if (manual_)
    ticks_ += ms;
  else
    SDL_Delay(ms);
}

void FrameTimer::start() {
  started = true;
  paused = false;
  startTicks = clock_ ? clock_->now() : SDL_GetTicks();
}

uint32_t FrameTimer::elapsed() const {
  if (!started) return 0;
  if (paused) return pausedTicks;
  return (clock_ ? clock_->now() : SDL_GetTicks()) - startTicks;
}
