// gamehost: opens a collection of games in a window, or plays one game
// module, lets it play itself, checks that it keeps the interface's
// contract, or reports what it is.
#include <allegro.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
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
// The collection in its child process; a note after the name says what
// happened to the one before it.
constexpr const char* kCollectionWork = "collection";

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

SupervisedWork CollectionWork(const Options& options, const std::string& note) {
  return {std::string(kCollectionWork) + (note.empty() ? "" : " " + note),
          [&options, note](Progress& progress) {
            try {
              return PlayCollection(Folders(options), options.play, note, &progress);
            } catch (const HostError& error) {
              ReportError(error);
              return int(error.status);
            }
          }};
}

// The collection in a child process that no game can take down with it: a
// game that crashes, hangs or ends the process brings the player back to
// the list, saying what happened. One that keeps failing at once ends it.
int SuperviseCollection(const Options& options) {
  using Clock = std::chrono::steady_clock;
  constexpr int kMostFailuresAtOnce = 3;
  std::string note;
  for (int failuresAtOnce = 0;;) {
    const auto started = Clock::now();
    const Supervised end = RunSupervised(CollectionWork(options, note), kHangSeconds);
    if (!end.failed) return end.status;
    note = end.why;
    if (!note.empty()) note[0] = char(std::toupper(static_cast<unsigned char>(note[0])));
    std::fprintf(stderr, "gamehost: %s; back to the games\n", end.why.c_str());
    failuresAtOnce = Clock::now() - started < std::chrono::seconds(3) ? failuresAtOnce + 1 : 0;
    if (failuresAtOnce == kMostFailuresAtOnce) {
      throw HostError(kExitCollectionFailed, "the collection failed " +
                                                 std::to_string(kMostFailuresAtOnce) +
                                                 " times as it started; the last: " + end.why);
    }
  }
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
    if (work.rfind(kCollectionWork, 0) == 0) {
      const std::string note = work.size() > std::strlen(kCollectionWork)
                                   ? work.substr(std::strlen(kCollectionWork) + 1)
                                   : "";
      return ServeSupervisedWork(CollectionWork(options, note));
    }
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
