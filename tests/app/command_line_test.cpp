// The command line: every option with its value forms, every way an argument is refused, and
// how it meets the remembered video mode.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/settings.h"

namespace {

struct Case {
  std::vector<std::string> args;
  bool help, window, fullscreen;
  int w, h;
  std::string map;
  std::string error;  // the start of the expected error; empty when accepted
};

}  // namespace

TEST(CommandLine, ReadsEveryOptionAndRefusesBadArguments) {
  const Case cases[] = {
      {{}, false, false, false, 0, 0, "", ""},
      {{"--help"}, true, false, false, 0, 0, "", ""},
      {{"--window"}, false, true, false, 0, 0, "", ""},
      {{"--window", "1024x768"}, false, true, false, 1024, 768, "", ""},
      {{"--window=800x600", "--map", "suburb"}, false, true, false, 800, 600, "suburb", ""},
      // An option after --window is not its size.
      {{"--window", "--map", "a b"}, false, true, false, 0, 0, "a b", ""},
      {{"--map=downtown"}, false, false, false, 0, 0, "downtown", ""},
      // The last of --window and --fullscreen wins.
      {{"--window", "640x480", "--fullscreen"}, false, false, true, 0, 0, "", ""},
      {{"--fullscreen", "--window"}, false, true, false, 0, 0, "", ""},
      {{"--window", "100x16384"}, false, true, false, 100, 16384, "", ""},  // the limits
      {{"--window", "99x600"}, false, true, false, 0, 0, "", "bad value '99x600'"},
      {{"--window", "800x16385"}, false, true, false, 0, 0, "", "bad value"},
      {{"--window", "800x"}, false, true, false, 0, 0, "", "bad value"},
      {{"--window", "-800x600"}, false, true, false, 0, 0, "", "unknown option '-800x600'"},
      {{"--window", "800x+600"}, false, true, false, 0, 0, "", "bad value"},
      {{"--map"}, false, false, false, 0, 0, "", "option '--map' needs NAME"},
      {{"--map="}, false, false, false, 0, 0, "", "bad value ''"},
      {{"--help=yes"}, false, false, false, 0, 0, "", "option '--help' takes no value"},
      {{"--fly"}, false, false, false, 0, 0, "", "unknown option '--fly'"},
      {{"-h"}, false, false, false, 0, 0, "", "unknown option '-h'"},
      {{"downtown"}, false, false, false, 0, 0, "", "unknown option 'downtown'"},
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const std::string& a : c.args) joined += a + " ";
    SCOPED_TRACE(joined);
    const CommandLine line = parseCommandLine(c.args);
    EXPECT_EQ(line.error.substr(0, c.error.size()), c.error);
    EXPECT_EQ(line.error.empty(), c.error.empty());
    if (!c.error.empty()) continue;
    EXPECT_EQ(line.help, c.help);
    EXPECT_EQ(line.window, c.window);
    EXPECT_EQ(line.fullscreen, c.fullscreen);
    EXPECT_EQ(line.windowWidth, c.w);
    EXPECT_EQ(line.windowHeight, c.h);
    EXPECT_EQ(line.map, c.map);
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
