// Tick counter, waits and the frame stopwatch.
#include "render/pacing.h"

#include <SDL.h>

#include "world/clock.h"

uint32_t ticksNow(const Clock& clock) { return clock.manual() ? clock.now() : SDL_GetTicks(); }

void waitMs(Clock& clock, uint32_t ms) {
  if (clock.manual()) {
    clock.advance(ms);
    return;
  }
  SDL_Delay(ms);
  clock.follow(SDL_GetTicks());
}

void FrameTimer::start() {
  started = true;
  paused = false;
  startTicks = clock_ ? ticksNow(*clock_) : SDL_GetTicks();
}

uint32_t FrameTimer::elapsed() const {
  if (!started) return 0;
  if (paused) return pausedTicks;
  return (clock_ ? ticksNow(*clock_) : SDL_GetTicks()) - startTicks;
}

void waitFrameEnd(Clock& clock, const FrameTimer& timer, uint32_t frameMs) {
  const uint32_t elapsed = timer.elapsed();
  waitMs(clock, elapsed < frameMs ? frameMs - elapsed : 0);
}
