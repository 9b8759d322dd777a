// The fuzz target's seed inputs and every input it ever crashed on, run as plain tests.
#include <gtest/gtest.h>

#include <filesystem>

#include "tools/fuzz/map_files_harness.h"
#include "support/scratch.h"
using namespace testsupport;

namespace {

int runFolder(const std::filesystem::path& folder) {
  int cases = 0;
  if (!std::filesystem::is_directory(folder)) return 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string input = readFile(entry.path().string());
    EXPECT_EQ(fuzz::runCase(input.data(), input.size()), "") << entry.path();
    ++cases;
  }
  return cases;
}

}  // namespace

// The corpus holds the edge inputs too: records of every file next to the world's edges, sizes
// far beyond it, unreadable bytes, empty files and level lists of blank lines.
TEST(FuzzCases, SeedCorpusRunsClean) {
  EXPECT_GE(runFolder("tools/fuzz/corpus"), 25) << "run from the repository root";
}
