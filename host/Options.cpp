#include "Options.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>

#include "HostError.h"

const char* const kUsage =
    "usage: gamehost [options] [MODULE]\n"
    "  MODULE            game module to load (default: flintmoor.so beside gamehost)\n"
    "  --info            print the game's name, author, description, version and icon\n"
    "  --autoplay        let the built-in player aim and click\n"
    "  --frames N        stop after N frames\n"
    "  --fps N           updates a second (default 60)\n"
    "  --screenshot FILE save the last frame (.png, .bmp, .pcx or .tga)\n"
    "  --fullscreen      play on the full screen instead of a 640x480 window\n"
    "  --verbose         name the sound driver, report each button press\n"
    "  --validate        check that MODULE keeps the IGame contract\n"
    "  --seed N          seed of the built-in player and the validator's input\n"
    "  --json            with --validate: print the results as JSON\n";

namespace {

struct Flag {
  const char* name;
  bool Options::*member;
};
const Flag kFlags[] = {{"--info", &Options::info},
                       {"--autoplay", &Options::autoplay},
                       {"--fullscreen", &Options::fullscreen},
                       {"--verbose", &Options::verbose},
                       {"--validate", &Options::validate},
                       {"--json", &Options::json}};

long Number(const std::string& option, const char* text, long least) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || value < least) {
    throw HostError(kExitUsage, option + " takes a whole number of at least " +
                                    std::to_string(least) + ", not '" + text + "'");
  }
  return value;
}

}  // namespace

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) throw HostError(kExitUsage, arg + " needs a value");
      return argv[++i];
    };
    auto flag = std::find_if(std::begin(kFlags), std::end(kFlags),
                             [&](const Flag& f) { return arg == f.name; });
    if (flag != std::end(kFlags)) {
      options.*(flag->member) = true;
    } else if (arg == "--frames") {
      options.frames = Number(arg, value(), 1);
    } else if (arg == "--fps") {
      options.fps = int(Number(arg, value(), 1));
    } else if (arg == "--seed") {
      options.seed = unsigned(Number(arg, value(), 0));
    } else if (arg == "--screenshot") {
      options.screenshot = value();
    } else if (arg == "--help" || arg == "-h") {
      throw HostError(kExitOk, kUsage);
    } else if (arg.rfind("--", 0) == 0 || !options.module.empty()) {
      throw HostError(kExitUsage, "unexpected '" + arg + "' (see gamehost --help)");
    } else {
      options.module = arg;
    }
  }
  if (options.fps > 1000) throw HostError(kExitUsage, "--fps may be at most 1000");
  return options;
}
