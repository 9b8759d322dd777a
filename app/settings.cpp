// The settings file: where it lives, reading it without trusting it, writing it whole.
#include "app/settings.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/command_line.h"
#include "world/data_folders.h"

namespace {

constexpr int kDefaultWindowWidth = 800, kDefaultWindowHeight = 600;

bool sensibleSize(int w, int h) { return w >= 100 && w <= 16384 && h >= 100 && h <= 16384; }

}  // namespace

std::string settingsPath() {
  const std::string config = xdgFolder("XDG_CONFIG_HOME", ".config");
  return config.empty() ? "" : config + "/zor/settings.txt";
}

bool parseSettings(std::istream& in, VideoMode& mode) {
  VideoMode read;
  bool seen = false;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string key;
    if (!(words >> key) || key != "video") continue;
    std::string kind, rest;
    if (!(words >> kind >> read.width >> read.height) || (words >> rest)) return false;
    if (kind != "window" && kind != "fullscreen") return false;
    if (!sensibleSize(read.width, read.height)) return false;
    read.fullscreen = kind == "fullscreen";
    seen = true;
  }
  if (in.bad() || !seen) return false;
  mode = read;
  return true;
}

bool readSettings(const std::string& path, VideoMode& mode) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.imbue(std::locale::classic());
  return parseSettings(in, mode);
}

bool saveSettings(const std::string& path, const VideoMode& mode) {
  if (path.empty()) return false;
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << "# ZOR settings: the video mode last chosen in the menu\n"
        << "video " << (mode.fullscreen ? "fullscreen" : "window") << ' ' << mode.width << ' '
        << mode.height << '\n';
    out.close();
    if (!out) {
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

VideoMode startMode(const CommandLine& line, const VideoMode* remembered) {
  VideoMode mode;
  if (line.window) {
    mode.fullscreen = false;
    if (line.windowWidth > 0) {
      mode.width = line.windowWidth;
      mode.height = line.windowHeight;
    } else if (remembered && !remembered->fullscreen) {
      mode = *remembered;
    } else {
      mode.width = kDefaultWindowWidth;
      mode.height = kDefaultWindowHeight;
    }
  } else if (line.fullscreen) {
    if (remembered && remembered->fullscreen) mode = *remembered;
  } else if (remembered) {
    mode = *remembered;
  }
  return mode;
}
