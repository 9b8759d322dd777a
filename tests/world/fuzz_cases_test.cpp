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

std::string runText(const std::string& input) { return fuzz::runCase(input.data(), input.size()); }

}  // namespace

TEST(FuzzCases, SeedCorpusRunsClean) {
  EXPECT_GE(runFolder("tools/fuzz/corpus"), 9) << "run from the repository root";
}

TEST(FuzzCases, EdgeInputsRunClean) {
  // Next to the world's edges nothing is lost on the way through a save...
  EXPECT_EQ(runText("lawns.txt\n0.5 10 5 5 1\n2999.99999 10 5 5 1\n10 10 5 5 1"), "");
  EXPECT_EQ(runText("cars.txt\n0.9 10 5 5 1 1 1 1 1 1 1 1"), "");
  EXPECT_EQ(runText("houses.txt\n2999.9997 2999.9999 5 5 x 1 1 1"), "");
  // ...sizes far beyond the world play and draw safely...
  EXPECT_EQ(runText("sidewalks.txt\n100 100 1e10 1e10\n200 200 -50 -50"), "");
  EXPECT_EQ(runText("lawns.txt\n10 10 -50 1e300 1"), "");
  // ...and a file it cannot read at all is simply empty.
  EXPECT_EQ(runText("houses.txt\n\xff\xfe 1 2"), "");
  EXPECT_EQ(runText(""), "");
  EXPECT_EQ(runText("levels.txt\n"), "");
  EXPECT_EQ(runText("levels.txt\na\n\nb\r\n"), "");
}
