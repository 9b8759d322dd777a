// Where the images, the font and the maps are found, and where the user's maps are written.
#include "world/data_folders.h"

#include <sys/stat.h>

#include <cstdlib>

namespace {

DataFolders current;

bool exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

std::string parentOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

void setDataFolders(const DataFolders& folders) { current = folders; }

const DataFolders& dataFolders() { return current; }

std::string xdgFolder(const char* variable, const char* fallback) {
  const char* set = std::getenv(variable);
  // Relative values are invalid by the XDG rules and are ignored.
  if (set && set[0] == '/') return set;
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/" + fallback;
  return "";
}

bool findDataFolders(const std::string& exePath, DataFolders& found) {
  if (exists(FONT_FILE)) {
    found = DataFolders();
    return true;
  }
  if (exePath.empty()) return false;
  const std::string above = parentOf(parentOf(exePath));
  const std::string installed = above + "/share/zor";
  if (exists(installed + "/" + FONT_FILE)) {
    found.data = installed;
    found.shippedMaps = installed + "/maps";
    const std::string user = xdgFolder("XDG_DATA_HOME", ".local/share");
    found.userMaps = user.empty() ? "" : user + "/zor/maps";
    return true;
  }
  return false;
}

std::string dataPath(const std::string& relative) {
  if (current.data.empty() || relative.empty() || relative[0] == '/') return relative;
  return current.data + "/" + relative;
}

std::string mapFolder(const std::string& name) {
  if (!current.userMaps.empty() && exists(current.userMaps + "/" + name))
    return current.userMaps + "/" + name;
  return current.shippedMaps + "/" + name;
}

std::string mapSaveFolder(const std::string& name) {
  const std::string& root = current.userMaps.empty() ? current.shippedMaps : current.userMaps;
  return root + "/" + name;
}

std::string savedLevelListPath() {
  const std::string& root = current.userMaps.empty() ? current.shippedMaps : current.userMaps;
  return root + "/levels.txt";
}

bool mapFolderExists(const std::string& name) {
  return exists(current.shippedMaps + "/" + name) ||
         (!current.userMaps.empty() && exists(current.userMaps + "/" + name));
}
