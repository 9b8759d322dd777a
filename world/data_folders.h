// Where the game's files live: its images and font, the maps that come with it, and the maps
// the user makes or edits.
#pragma once

#include <string>

struct DataFolders {
  std::string data;                  // holds GFX/ and dot.bmp; empty = the working folder
  std::string shippedMaps = "maps";  // the maps that come with the game and their levels.txt
  std::string userMaps;  // maps the user creates or saves, and their levels.txt; empty = the
                         // shipped folder itself (a game run from its own folder)
};

// The font every start needs; a folder holding it is a data folder.
constexpr const char* FONT_FILE = "GFX/fonts/ADVERT.TTF";

// The folders every file name below resolves against; the working folder's maps/ by default.
void setDataFolders(const DataFolders& folders);
const DataFolders& dataFolders();

// Finds the data: the working folder when it holds the font (the source tree or the game's
// folder, maps read and saved in its maps/), else an installed game's share/zor beside the
// bin/ folder of the program `exePath` (maps saved under the user's XDG data folder, in
// zor/maps). False when neither holds the font.
bool findDataFolders(const std::string& exePath, DataFolders& found);

// A file of the game's own data ("GFX/cars/car0.png").
std::string dataPath(const std::string& relative);
// The folder a map is read from: the user's copy when there is one, else the shipped one.
std::string mapFolder(const std::string& name);
// The folder a map is saved to.
std::string mapSaveFolder(const std::string& name);
// The level list that saves write: the user's, or the shipped one without a user folder.
std::string savedLevelListPath();
// Whether a map folder of that name exists among the shipped or the user's maps.
bool mapFolderExists(const std::string& name);

// $XDG_<kind>_HOME, else ~/<fallback> ("XDG_CONFIG_HOME", ".config"); empty without either.
std::string xdgFolder(const char* variable, const char* fallback);
