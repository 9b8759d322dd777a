// The program's command line: the options, their help text, and the parse into a plain record.
#pragma once

#include <string>
#include <vector>

struct CommandLine {
  bool help = false;
  bool window = false;      // --window: start in a window
  bool fullscreen = false;  // --fullscreen: start full screen
  int windowWidth = 0, windowHeight = 0;  // --window WxH; 0 when no size was given
  std::string map;                        // --map NAME: the first map instead of the list's first
  std::string record;  // --record FILE: play at once, writing every frame's input to FILE
  std::string replay;  // --replay FILE: play back a recorded game
  std::string error;  // why the command line was refused; empty when it was accepted
};

// Reads the arguments after the program name. Options take their value as the next argument
// or after '=' (--map=NAME); the first refused argument stops the reading with `error` set.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// The --help text: one line per option.
std::string commandLineHelp();
