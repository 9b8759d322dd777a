// The simulation's working memory, made on first use and owned by the world.
#include "sim/scratch.h"

SimScratch& makeScratch(const World& world) {
  world.scratch = std::unique_ptr<SimScratch, SimScratchDeleter>(
      new SimScratch, SimScratchDeleter{[](SimScratch* s) { delete s; }});
  return *world.scratch;
}

namespace {

std::array<uint64_t, 2> centreBits(double x, double y) {
  const double centre[] = {x, y};
  return bitsOf<2>(centre);
}

}  // namespace

bool StepBlocker::refusedBefore(const Numbers& now, double nextX, double nextY) const {
  if (refusals == 0 || now != numbers) return false;
  const std::array<uint64_t, 2> centre = centreBits(nextX, nextY);
  for (int k = 0; k < refusals; ++k)
    if (refusedAt[static_cast<size_t>(k)] == centre) return true;
  return false;
}

void StepBlocker::noteRefusal(const Numbers& now, double nextX, double nextY) {
  if (now != numbers) {
    numbers = now;
    refusals = 0;
    oldest = 0;
  }
  const std::array<uint64_t, 2> centre = centreBits(nextX, nextY);
  if (refusals < REFUSALS) {
    refusedAt[static_cast<size_t>(refusals++)] = centre;
    return;
  }
  refusedAt[static_cast<size_t>(oldest)] = centre;
  oldest = (oldest + 1) % REFUSALS;
}
