#include "Options.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <iterator>
#include <string>

#include "HostError.h"
#include "System.h"

std::string Usage() {
  return "usage: gamehost [options] [MODULE]\n"
         "  MODULE            game module to load (default: " +
         ModuleFileName("flintmoor") +
         " beside gamehost)\n"
         "  --info            print the game's name, author, description, version and icon\n"
         "  --autoplay        let the built-in player aim and click, round after round\n"
         "  --frames N        stop after N frames; starts playing without the start screen\n"
         "  --fps N           frames a second (default 60); games that move a step a frame\n"
         "                    run faster or slower with it\n"
         "  --escapes N       escapes that end a round (default 10; 0: endless)\n"
         "  --scale N         window size: N times 640x480 (default: the largest that fits)\n"
         "  --screenshot FILE save the game's last frame (.png, .bmp, .pcx or .tga)\n"
         "  --fullscreen      play on the full screen instead of in a window\n"
         "  --no-save         keep no best scores\n"
         "  --verbose         report each button press passed to the game, and the sound driver\n"
         "  --validate        check that MODULE keeps the IGame contract\n"
         "  --seed N          seed of the built-in player and the validator's input\n"
         "  --json            with --validate: print the results as JSON\n"
         "Keys: P pauses and resumes; Esc ends a round, or quits.\n";
}

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
                       {"--json", &Options::json},
                       {"--no-save", &Options::noSave}};

// A whole number within [least, most]; anything else is a usage error.
// (long long: a long is 32 bits on some systems, too narrow for a seed.)
long long Number(const std::string& option, const char* text, long long least, long long most) {
  char* end = nullptr;
  errno = 0;
  long long value = std::strtoll(text, &end, 10);
  if (*text == '\0' || *end != '\0' || errno == ERANGE || value < least || value > most) {
    throw HostError(kExitUsage, option + " takes a whole number from " + std::to_string(least) +
                                    " to " + std::to_string(most) + ", not '" + text + "'");
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
      options.frames = Number(arg, value(), 1, LONG_MAX);
    } else if (arg == "--fps") {
      options.fps = int(Number(arg, value(), 1, 1000));
    } else if (arg == "--escapes") {
      options.escapes = int(Number(arg, value(), 0, 1000000));
    } else if (arg == "--scale") {
      options.scale = int(Number(arg, value(), 1, 16));
    } else if (arg == "--seed") {
      options.seed = unsigned(Number(arg, value(), 0, UINT_MAX));
    } else if (arg == "--screenshot") {
      options.screenshot = value();
    } else if (arg == "--help" || arg == "-h") {
      throw HostError(kExitOk, Usage());
    } else if (arg == "--isolated-work") {
      options.isolatedWork = value();
    } else if (arg.rfind("--", 0) == 0 || !options.module.empty()) {
      throw HostError(kExitUsage, "unexpected '" + arg + "' (see gamehost --help)");
    } else {
      options.module = arg;
    }
  }
  return options;
}
