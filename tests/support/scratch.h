// Files for tests: a fresh working folder with an empty "maps/", and whole-file read and write.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace testsupport {

// Makes a temporary folder, works in it, and removes it again, returning to the start folder.
class ScratchDir {
 public:
  // `base` is where the folder is made (the system's temporary folder when empty).
  explicit ScratchDir(const std::filesystem::path& base = {})
      : home_(std::filesystem::current_path()) {
    const auto parent = base.empty() ? std::filesystem::temp_directory_path() : base;
    std::string pattern = (parent / "zor-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    std::filesystem::current_path(dir_);
    std::filesystem::create_directory("maps");
  }
  ~ScratchDir() {
    std::filesystem::current_path(home_);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // The folder the test program was started in (the repository root under ctest).
  const std::filesystem::path& home() const { return home_; }
  const std::filesystem::path& path() const { return dir_; }

 private:
  std::filesystem::path home_;
  std::filesystem::path dir_;
};

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void writeFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

}  // namespace testsupport
