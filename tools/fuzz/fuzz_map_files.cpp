// libFuzzer entry for the map file readers and writer (see map_files_harness.h).
#include <cstdio>

#include "tools/fuzz/map_files_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string problem = fuzz::runCase(reinterpret_cast<const char*>(data), size);
  if (!problem.empty()) {
    std::fprintf(stderr, "map files: %s\n", problem.c_str());
    __builtin_trap();
  }
  return 0;
}
