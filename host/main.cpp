// gamehost: opens a collection of games in a window, or plays one game
// module, lets it play itself, checks that it keeps the interface's
// contract, or reports what it is.
#include <allegro.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Catalog.h"
#include "CatalogText.h"
#include "ChildProcess.h"
#include "Collection.h"
#include "Console.h"
#include "FastDrawing.h"
#include "GameFolders.h"
#include "GameModule.h"
#include "HostError.h"
#include "Options.h"
#include "Session.h"
#include "StopSignals.h"
#include "System.h"
#include "Validator.h"
#include "Watch.h"

namespace fs = std::filesystem;

namespace {

int PrintInfo(const GameModule& module) {
  const GameIdentity game = ReadIdentity(module);
  std::printf("Name: %s\nAuthor: %s\nDescription: %s\nVersion: %s\nIcon: %s\n", game.name.c_str(),
              game.author.c_str(), game.description.c_str(), game.version.c_str(),
              game.icon.c_str());
  return kExitOk;
}

// A call of a game's that takes longer is a hang: the player has seen no
// frame for that long.
constexpr int kHangSeconds = 5;
// The work of gamehost's supervised children, by name; what follows the
// name, after a tab, is what they need to know (where children are not
// forks, their name is all they are told beside the command line).
constexpr const char* kCollectionWork = "collection";
constexpr const char* kWatchWork = "watch";

void ReportError(const HostError& error) {
  if (error.status == kExitOk) {
    std::printf("%s\n", error.what());
  } else {
    ReportFatal("gamehost", error.what());
  }
}

std::vector<std::string> Folders(const Options& options) {
  return options.folders.empty() ? CollectionFolders() : options.folders;
}

// What a supervised child does: a HostError in it is said, as gamehost
// says one, and is its exit status.
int Reported(const std::function<int()>& run) {
  try {
    return run();
  } catch (const HostError& error) {
    ReportError(error);
    return int(error.status);
  }
}

// The collection, with a note of what happened to the one before.
SupervisedWork CollectionWork(const Options& options, const std::string& note) {
  return {std::string(kCollectionWork) + "\t" + note, [&options, note](Progress& progress) {
            return Reported(
                [&] { return PlayCollection(Folders(options), options.play, note, &progress); });
          }};
}

// The module's builds, kept in `folder`, with a note of what happened.
SupervisedWork WatchWork(const Options& options, const std::string& folder,
                         const std::string& note) {
  return {std::string(kWatchWork) + "\t" + folder + "\t" + note,
          [&options, folder, note](Progress& progress) {
            return Reported(
                [&] { return WatchModule(options.module, folder, note, options.play, &progress); });
          }};
}

// Runs work in a supervised child, and again each time a child fails, with
// a note of what happened that noteOf makes of why: a game that crashes,
// hangs or ends the process can't take gamehost down. Work that keeps
// failing as it starts ends it.
int Supervise(const std::function<SupervisedWork(const std::string& note)>& work,
              const std::function<std::string(const std::string& why)>& noteOf) {
  using Clock = std::chrono::steady_clock;
  constexpr int kMostFailuresAtOnce = 3;
  std::string note;
  for (int failuresAtOnce = 0;;) {
    const auto started = Clock::now();
    const Supervised end = RunSupervised(work(note), kHangSeconds);
    if (!end.failed) return end.status;
    note = noteOf(end.why);
    std::fprintf(stderr, "gamehost: %s\n", note.c_str());
    failuresAtOnce = Clock::now() - started < std::chrono::seconds(3) ? failuresAtOnce + 1 : 0;
    if (failuresAtOnce == kMostFailuresAtOnce) {
      throw HostError(kExitCollectionFailed, "failed " + std::to_string(kMostFailuresAtOnce) +
                                                 " times as it started; the last time it " +
                                                 end.why);
    }
  }
}

// The collection in a child process no game can take down with it: a game
// that fails brings the player back to the list, saying what happened.
int SuperviseCollection(const Options& options) {
  return Supervise([&](const std::string& note) { return CollectionWork(options, note); },
                   [](std::string why) {
                     if (!why.empty())
                       why[0] = char(std::toupper(static_cast<unsigned char>(why[0])));
                     return why;
                   });
}

// gamehost --watch: a build that crashes is followed by the last good one.
int SuperviseWatch(const Options& options) {
  if (options.module.empty()) throw HostError(kExitUsage, "--watch needs a MODULE");
  const std::string folder = MakeTemporaryFolder("gamehost-watch-");
  if (folder.empty()) throw HostError(kExitModuleUnloadable, "no temporary folder for the builds");
  const int status = Reported([&] {
    return Supervise(
        [&](const std::string& note) { return WatchWork(options, folder, note); },
        [&](const std::string& why) { return NoteCrashedBuild(options.module, folder, why); });
  });
  std::error_code ignored;
  fs::remove_all(fs::u8path(folder), ignored);
  return status;
}

// The fields of a child's work name: the name, then what follows each tab.
std::vector<std::string> Fields(const std::string& name) {
  std::vector<std::string> fields;
  std::istringstream words(name);
  for (std::string field; std::getline(words, field, '\t');) fields.push_back(field);
  fields.resize(std::max<size_t>(fields.size(), 3));
  return fields;
}

// Everything gamehost does, with all it holds let go of on return.
int Run(int argc, char** argv) {
  try {
    Options options = ParseOptions(argc, argv);
    // Work a child started anew is given (where children are no forks).
    const std::string& work = options.check.childWork;
    if (work.rfind(kIdentityWork, 0) == 0) {
      ServeChildWork(IdentityWork(work.substr(std::strlen(kIdentityWork))));
      return kExitOk;
    }
    const std::vector<std::string> fields = Fields(work);
    if (fields[0] == kCollectionWork) {
      return ServeSupervisedWork(CollectionWork(options, fields[1]));
    }
    if (fields[0] == kWatchWork)
      return ServeSupervisedWork(WatchWork(options, fields[1], fields[2]));
    if (options.listChecks) return ListChecks(options.check.json);
    if (options.validate) {
      if (options.module.empty()) throw HostError(kExitUsage, "--validate needs a MODULE");
      return RunValidator(options.check);
    }
    if (options.list) {
      const std::vector<CatalogEntry> games = ReadCatalog(Folders(options));
      std::fputs((options.check.json ? CatalogJson(games) : CatalogLines(games)).c_str(), stdout);
      return kExitOk;
    }
    if (options.watch) return SuperviseWatch(options);
    const bool scripted = options.play.autoplay || options.play.frames > 0;
    if (options.module.empty() && !options.info && !scripted) return SuperviseCollection(options);
    GameModule module(options.module.empty() ? DefaultModulePath() : options.module);
    return options.info ? PrintInfo(module) : PlaySession(module, options.play);
  } catch (const HostError& error) {
    ReportError(error);
    return error.status;
  }
}

}  // namespace

int main(int argc, char** argv) {
  UseParentConsole();
  if (const std::optional<int> status = RunAgainWithFastDrawing()) return *status;
  CatchStopSignals();
  std::vector<std::string> arguments = ProgramArguments(argc, argv);
  std::vector<char*> pointers;
  pointers.reserve(arguments.size());
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  const int status = Run(int(pointers.size()), pointers.data());
  EndAsStopped();
  return status;
}
END_OF_MAIN()
