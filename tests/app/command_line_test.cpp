// The command line: every option with its value forms, every way an argument is refused, and
// how it meets the remembered video mode.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "app/settings.h"

namespace {

// What a command line asks for, in a line: the options given and the window size and map, or
// the error.
std::string asked(const std::vector<std::string>& args) {
  const CommandLine c = parseCommandLine(args);
  if (!c.error.empty()) return "error: " + c.error;
  return std::string(c.help ? "help " : "") + (c.window ? "window " : "") +
         (c.fullscreen ? "fullscreen " : "") + std::to_string(c.windowWidth) + "x" +
         std::to_string(c.windowHeight) + " map '" + c.map + "'";
}

}  // namespace

TEST(CommandLine, ReadsEveryOptionAndRefusesBadArguments) {
  // Errors are matched by their start.
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "0x0 map ''"},
      {{"--help"}, "help 0x0 map ''"},
      {{"--window"}, "window 0x0 map ''"},
      {{"--window", "1024x768"}, "window 1024x768 map ''"},
      {{"--window=800x600", "--map", "suburb"}, "window 800x600 map 'suburb'"},
      {{"--window", "--map", "a b"}, "window 0x0 map 'a b'"},  // an option is not a size
      {{"--map=downtown"}, "0x0 map 'downtown'"},
      // The last of --window and --fullscreen wins.
      {{"--window", "640x480", "--fullscreen"}, "fullscreen 0x0 map ''"},
      {{"--fullscreen", "--window"}, "window 0x0 map ''"},
      {{"--window", "100x16384"}, "window 100x16384 map ''"},  // the limits
      {{"--window", "99x600"}, "error: bad value '99x600'"},
      {{"--window", "800x16385"}, "error: bad value"},
      {{"--window", "800x"}, "error: bad value"},
      {{"--window", "-800x600"}, "error: unknown option '-800x600'"},
      {{"--window", "800x+600"}, "error: bad value"},
      {{"--map"}, "error: option '--map' needs NAME"},
      {{"--map="}, "error: bad value ''"},
      {{"--help=yes"}, "error: option '--help' takes no value"},
      {{"--fly"}, "error: unknown option '--fly'"},
      {{"-h"}, "error: unknown option '-h'"},
      {{"downtown"}, "error: unknown option 'downtown'"},
  };
  for (const auto& [args, expected] : cases) {
    const std::string got = asked(args);
    EXPECT_EQ(expected.rfind("error", 0) == 0 ? got.substr(0, expected.size()) : got, expected);
  }
  // The help names every option.
  const std::string help = commandLineHelp();
  for (const char* name : {"--help", "--window [WxH]", "--fullscreen", "--map NAME"})
    EXPECT_NE(help.find(name), std::string::npos) << name;
}

TEST(Settings, ABrokenFileIsIgnoredAndTheCommandLineOverridesTheRememberedMode) {
  const std::pair<std::string, bool> files[] = {
      {"video window 800 600\n", true},
      {"# comment\n\nsound on\nvideo fullscreen 1920 1080", true},
      {"", false},
      {"video window 800\n", false},
      {"video window 800 600 extra\n", false},
      {"video window 800.5 600\n", false},
      {"video tiny 800 600\n", false},
      {"video window 99999999999 600\n", false},
      {"video window -800 600\n", false},
      {"video window 50 50\n", false},
      {"video window 16384 100\n", true},  // the largest and smallest sizes taken
      {std::string("\0\xff video window 800 600", 23), false},
  };
  for (const auto& [text, good] : files) {
    SCOPED_TRACE(text);
    std::istringstream in(text);
    VideoMode mode{true, 1, 2};
    EXPECT_EQ(parseSettings(in, mode), good);
    if (!good) {
      EXPECT_EQ(mode.width, 1);  // left alone
    }
  }

  EXPECT_FALSE(saveSettings("", VideoMode{}));  // no place to keep it: not kept

  // Kept under an absolute XDG_CONFIG_HOME; a relative one is ignored for the home's.
  const char* home = std::getenv("HOME");
  const std::string savedHome = home ? home : "";
  setenv("HOME", "/h", 1);
  setenv("XDG_CONFIG_HOME", "/c", 1);
  EXPECT_EQ(settingsPath(), "/c/zor/settings.txt");
  setenv("XDG_CONFIG_HOME", "c", 1);
  EXPECT_EQ(settingsPath(), "/h/.config/zor/settings.txt");
  unsetenv("XDG_CONFIG_HOME");
  home ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");

  const VideoMode window{false, 1200, 900}, full{true, 1280, 800};
  auto start = [](const std::vector<std::string>& args, const VideoMode* remembered) {
    const VideoMode m = startMode(parseCommandLine(args), remembered);
    return std::to_string(m.fullscreen) + " " + std::to_string(m.width) + "x" +
           std::to_string(m.height);
  };
  EXPECT_EQ(start({}, nullptr), "1 0x0");  // the largest full-screen mode
  EXPECT_EQ(start({}, &window), "0 1200x900");
  EXPECT_EQ(start({}, &full), "1 1280x800");
  EXPECT_EQ(start({"--window"}, nullptr), "0 800x600");
  EXPECT_EQ(start({"--window"}, &window), "0 1200x900");
  EXPECT_EQ(start({"--window"}, &full), "0 800x600");
  EXPECT_EQ(start({"--window", "640x480"}, &window), "0 640x480");
  EXPECT_EQ(start({"--fullscreen"}, &window), "1 0x0");
  EXPECT_EQ(start({"--fullscreen"}, &full), "1 1280x800");
}
