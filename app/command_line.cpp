// The command-line options as one table: name, value, help line and what the value sets.
#include "app/command_line.h"

#include <cstdlib>

namespace {

enum class Value { None, Optional, Required };

struct Option {
  const char* name;
  Value value;
  const char* valueName;
  const char* help;
  // Stores the value (empty when an optional one was left out); returns false to refuse it.
  bool (*apply)(CommandLine& line, const std::string& value);
};

// "WxH" with both sides whole numbers in 100..16384 (smaller windows cut the menus off).
bool parseSize(const std::string& text, int& w, int& h) {
  const size_t x = text.find('x');
  if (x == std::string::npos) return false;
  auto number = [](const std::string& digits, int& out) {
    if (digits.empty() || digits.size() > 5) return false;
    for (char c : digits)
      if (c < '0' || c > '9') return false;
    out = std::atoi(digits.c_str());
    return out >= 100 && out <= 16384;
  };
  return number(text.substr(0, x), w) && number(text.substr(x + 1), h);
}

const Option kOptions[] = {
    {"--help", Value::None, "", "show this help and exit",
     [](CommandLine& c, const std::string&) { return c.help = true; }},
    {"--window", Value::Optional, "[WxH]", "start in a window (of W x H pixels, e.g. 1024x768)",
     [](CommandLine& c, const std::string& v) {
       c.window = true;
       c.fullscreen = false;
       c.windowWidth = c.windowHeight = 0;
       return v.empty() || parseSize(v, c.windowWidth, c.windowHeight);
     }},
    {"--fullscreen", Value::None, "", "start full screen (the default)",
     [](CommandLine& c, const std::string&) {
       c.window = false;
       c.windowWidth = c.windowHeight = 0;
       return c.fullscreen = true;
     }},
    {"--record", Value::Required, "FILE", "play at once and write the game's input to FILE",
     [](CommandLine& c, const std::string& v) {
       c.record = v;
       c.replay.clear();
       return !v.empty();
     }},
    {"--replay", Value::Required, "FILE", "play back the game recorded in FILE",
     [](CommandLine& c, const std::string& v) {
       c.replay = v;
       c.record.clear();
       return !v.empty();
     }},
    {"--map", Value::Required, "NAME", "start on the map NAME of the map list",
     [](CommandLine& c, const std::string& v) {
       c.map = v;
       return !v.empty();
     }},
};

const Option* findOption(const std::string& name) {
  for (const Option& option : kOptions)
    if (name == option.name) return &option;
  return nullptr;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const Option* option = arg.rfind("--", 0) == 0 ? findOption(name) : nullptr;
    if (!option) {
      line.error = "unknown option '" + arg + "'";
      return line;
    }
    std::string value;
    const bool attached = equals != std::string::npos;
    if (attached) {
      value = arg.substr(equals + 1);
      if (option->value == Value::None) {
        line.error = "option '" + name + "' takes no value";
        return line;
      }
    } else if (option->value == Value::Required) {
      if (i + 1 >= args.size()) {
        line.error = "option '" + name + "' needs " + option->valueName;
        return line;
      }
      value = args[++i];
    } else if (option->value == Value::Optional && i + 1 < args.size() &&
               args[i + 1].rfind("-", 0) != 0) {
      value = args[++i];
    }
    if (!option->apply(line, value)) {
      line.error = "bad value '" + value + "' for " + name + " " + option->valueName;
      return line;
    }
  }
  return line;
}

std::string commandLineHelp() {
  std::string text = "Usage: zor [OPTION]...\nA top-down city action game with a map editor.\n\n";
  for (const Option& option : kOptions) {
    std::string left = std::string("  ") + option.name;
    if (*option.valueName) left += std::string(" ") + option.valueName;
    left.resize(left.size() < 24 ? 24 : left.size() + 1, ' ');
    text += left + option.help + "\n";
  }
  text +=
      "\nWithout --window or --fullscreen the game starts in the video mode last chosen in\n"
      "\"Change resolution\" (kept in $XDG_CONFIG_HOME/zor/settings.txt, by default\n"
      "~/.config/zor/settings.txt), or full screen at the largest mode.\n";
  return text;
}
