#include "Options.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "HostError.h"
#include "System.h"

namespace fs = std::filesystem;

namespace {

// A whole number within [least, most] (none is below 0), written as digits
// alone: no sign, no spaces. Anything else is a usage error. (long long: a
// long is 32 bits on some systems, too narrow for a seed.)
long long Number(const std::string& option, const char* text, long long least, long long most) {
  const std::string written = text;
  const bool digits =
      !written.empty() && written.find_first_not_of("0123456789") == std::string::npos;
  errno = 0;
  const long long value = digits ? std::strtoll(text, nullptr, 10) : 0;
  if (!digits || errno == ERANGE || value < least || value > most) {
    throw HostError(kExitUsage, option + " takes a whole number from " + std::to_string(least) +
                                    " to " + std::to_string(most) + ", not '" + text + "'");
  }
  return value;
}

// The file a screenshot can be written to: one of the formats Allegro saves.
std::string ScreenshotFile(const char* text) {
  std::string file = text;
  const size_t dot = file.rfind('.');
  std::string extension = dot == std::string::npos ? "" : file.substr(dot + 1);
  for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
  for (const char* known : {"png", "bmp", "pcx", "tga"}) {
    if (extension == known) return file;
  }
  throw HostError(kExitUsage,
                  "--screenshot saves .png, .bmp, .pcx or .tga pictures, not '" + file + "'");
}

struct Option {
  const char* name;
  const char* value;  // what follows it, "" for a flag
  const char* help;   // "" for one only gamehost itself uses
  void (*apply)(Options& options, const std::string& name, const char* value);
};

const Option kOptions[] = {
    {"--list", "", "list the games of the collection (or of the FOLDERs), one line each",
     [](Options& o, const std::string&, const char*) { o.list = true; }},
    {"--watch", "", "with MODULE: play it, and each new build of it as soon as it is built",
     [](Options& o, const std::string&, const char*) { o.watch = true; }},
    {"--info", "", "print the game's name, author, description, version and icon",
     [](Options& o, const std::string&, const char*) { o.info = true; }},
    {"--autoplay", "", "let the built-in player aim and click, round after round",
     [](Options& o, const std::string&, const char*) { o.play.autoplay = true; }},
    {"--frames", "N", "stop after N frames; starts playing without the start screen",
     [](Options& o, const std::string& n, const char* v) {
       o.play.frames = Number(n, v, 1, LONG_MAX);
     }},
    {"--fps", "N",
     "frames a second (default 60): a game that moves a step a frame runs slower with fewer; its "
     "clocks keep real time, so fewer frames bring Flintmoor's birds more at once",
     [](Options& o, const std::string& n, const char* v) {
       o.play.fps = int(Number(n, v, 1, 1000));
     }},
    {"--escapes", "N", "escapes that end a round (default 10; 0: endless)",
     [](Options& o, const std::string& n, const char* v) {
       o.play.escapes = int(Number(n, v, 0, 1000000));
     }},
    {"--scale", "N", "window size: N times the game's (default: the largest to fit)",
     [](Options& o, const std::string& n, const char* v) {
       o.play.scale = int(Number(n, v, 1, 16));
     }},
    {"--seed", "N", "seed of the built-in player and the validator's input",
     [](Options& o, const std::string& n, const char* v) {
       o.play.seed = o.check.seed = unsigned(Number(n, v, 0, UINT_MAX));
     }},
    {"--screenshot", "FILE", "save the game's last frame (.png, .bmp, .pcx or .tga)",
     [](Options& o, const std::string&, const char* v) { o.play.screenshot = ScreenshotFile(v); }},
    {"--fullscreen", "", "play on the full screen instead of in a window",
     [](Options& o, const std::string&, const char*) { o.play.fullscreen = true; }},
    {"--no-save", "", "keep no records",
     [](Options& o, const std::string&, const char*) { o.play.noSave = true; }},
    {"--verbose", "", "report each press passed to the game, and the sound driver",
     [](Options& o, const std::string&, const char*) { o.play.verbose = true; }},
    {"--validate", "", "check that MODULE keeps the IGame contract",
     [](Options& o, const std::string&, const char*) { o.validate = true; }},
    {"--check", "NAME", "with --validate: run only this check (again for more)",
     [](Options& o, const std::string&, const char* v) { o.check.only.push_back(v); }},
    {"--list-checks", "", "name each check --validate runs, and what it holds a module to",
     [](Options& o, const std::string&, const char*) { o.listChecks = true; }},
    {"--json", "", "with --list, --validate or --list-checks: print as JSON",
     [](Options& o, const std::string&, const char*) { o.check.json = true; }},
    {"--help", "", "list the options",
     [](Options&, const std::string&, const char*) { throw HostError(kExitOk, Usage()); }},
    {"-h", "", "",
     [](Options&, const std::string&, const char*) { throw HostError(kExitOk, Usage()); }},
    // A child process started to do one piece of the validator's work.
    {"--isolated-work", "NAME", "",
     [](Options& o, const std::string&, const char* v) { o.check.childWork = v; }},
};

}  // namespace

std::vector<OptionName> OptionNames() {
  std::vector<OptionName> names;
  for (const Option& option : kOptions) names.push_back({option.name, option.value, option.help});
  return names;
}

std::string Synopsis() {
  return "gamehost [options] [MODULE | FOLDER...]";
}

std::vector<OptionName> Arguments() {
  return {{"MODULE", "", "a game module to play alone (" + ModuleFileName("flintmoor") + ", say)"},
          {"FOLDER...", "",
           "folders of games to open as the collection (default: the games installed with "
           "gamehost and the player's own)"}};
}

std::string Keys() {
  return "arrows, Home, End, Page Up and Down choose a game, Enter plays it; P pauses and "
         "resumes; Esc ends a round, leaves a game, or quits.";
}

std::string Usage() {
  std::string usage = "usage: " + Synopsis() + "\n";
  auto line = [&](std::string left, const std::string& help) {
    left.resize(std::max<size_t>(left.size() + 1, 18), ' ');
    usage += "  " + left + help + "\n";
  };
  for (const OptionName& argument : Arguments()) line(argument.name, argument.help);
  for (const Option& option : kOptions) {
    if (*option.help == '\0') continue;
    line(std::string(option.name) + (*option.value != '\0' ? " " : "") + option.value, option.help);
  }
  return usage + "Keys: " + Keys() + "\n";
}

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const Option* option = nullptr;
    for (const Option& candidate : kOptions) {
      if (arg == candidate.name) option = &candidate;
    }
    if (option != nullptr) {
      const bool takesValue = *option->value != '\0';
      if (takesValue && i + 1 >= argc) throw HostError(kExitUsage, arg + " needs a value");
      option->apply(options, arg, takesValue ? argv[++i] : nullptr);
    } else if (arg.rfind("--", 0) == 0 || !options.module.empty()) {
      throw HostError(kExitUsage, "unexpected '" + arg + "' (see gamehost --help)");
    } else if (std::error_code error; fs::is_directory(fs::u8path(arg), error)) {
      options.folders.push_back(arg);
    } else if (!options.folders.empty()) {
      throw HostError(kExitUsage, "'" + arg +
                                      "' is no folder: name one MODULE, or folders of games "
                                      "(see gamehost --help)");
    } else {
      options.module = arg;
    }
  }
  options.check.module = options.module;
  return options;
}
