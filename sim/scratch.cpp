// The simulation's working memory, made on first use and owned by the world.
#include "sim/scratch.h"

SimScratch& makeScratch(const World& world) {
  world.scratch = std::unique_ptr<SimScratch, SimScratchDeleter>(
      new SimScratch, SimScratchDeleter{[](SimScratch* s) { delete s; }});
  return *world.scratch;
}
