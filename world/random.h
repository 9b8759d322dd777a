// The simulation's random numbers: one stream held in the world, so that a game is repeated
// exactly from its seed and its input. The draws are those of the C library's rand() after
// srand() with the same seed (the additive feedback generator of degree 31).
#pragma once

#include <array>
#include <cstdint>

class RandomStream {
 public:
  static constexpr int MAX = 2147483647;  // draws lie in 0..MAX

  explicit RandomStream(uint32_t seed = 1) { seed_(seed); }
  void seed(uint32_t seed) { seed_(seed); }
  // The next draw, 0..MAX.
  int next() {
    state_[front_] += state_[rear_];
    const int result = static_cast<int>(state_[front_] >> 1);
    front_ = (front_ + 1) % DEGREE;
    rear_ = (rear_ + 1) % DEGREE;
    return result;
  }

  bool operator==(const RandomStream& other) const {
    return state_ == other.state_ && front_ == other.front_ && rear_ == other.rear_;
  }

 private:
  static constexpr int DEGREE = 31;
  static constexpr int SEPARATION = 3;

  void seed_(uint32_t seed) {
    if (seed == 0) seed = 1;
    state_[0] = seed;
    int32_t word = static_cast<int32_t>(seed);
    for (int i = 1; i < DEGREE; ++i) {
      // 16807 * word % (2^31 - 1) without overflowing 31 bits (Schrage's method).
      const int32_t hi = word / 127773, lo = word % 127773;
      word = 16807 * lo - 2836 * hi;
      if (word < 0) word += 2147483647;
      state_[i] = static_cast<uint32_t>(word);
    }
    front_ = SEPARATION;
    rear_ = 0;
    for (int i = 0; i < 10 * DEGREE; ++i) next();
  }

  std::array<uint32_t, DEGREE> state_{};
  int front_ = SEPARATION, rear_ = 0;
};
