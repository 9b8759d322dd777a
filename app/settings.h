// What the game remembers between runs: the video mode last chosen in "Change resolution",
// in a small text file in the user's configuration folder.
#pragma once

#include <iosfwd>
#include <string>

struct CommandLine;

// A video mode: full screen or a window of width x height pixels; 0 x 0 is the default size
// (the largest full-screen mode, or 800 x 600 for a window).
struct VideoMode {
  bool fullscreen = true;
  int width = 0, height = 0;
};

// $XDG_CONFIG_HOME/zor/settings.txt, or ~/.config/zor/settings.txt; empty without either.
std::string settingsPath();

// Reads "video window|fullscreen W H" lines (blank lines and # comments are skipped, other
// keys are left for later versions). False, leaving `mode` alone, for a file it cannot trust.
bool parseSettings(std::istream& in, VideoMode& mode);
bool readSettings(const std::string& path, VideoMode& mode);
// Writes the file whole or not at all (a temporary file renamed into place).
bool saveSettings(const std::string& path, const VideoMode& mode);

// The start's video mode: what the command line asks for, else the remembered mode (when
// `remembered` is set), else the largest full-screen mode. A bare --window or --fullscreen
// keeps the remembered size when that was of the same kind.
VideoMode startMode(const CommandLine& line, const VideoMode* remembered);
