// gamehost: plays a game module in a window, lets it play itself, checks
// that it keeps the interface's contract, or reports what it is.
#include <allegro.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Console.h"
#include "FastDrawing.h"
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

// Everything gamehost does, with all it holds let go of on return.
int Run(int argc, char** argv) {
  try {
    Options options = ParseOptions(argc, argv);
    if (options.listChecks) return ListChecks(options.check.json);
    if (options.validate) {
      if (options.module.empty()) throw HostError(kExitUsage, "--validate needs a MODULE");
      return RunValidator(options.check);
    }
    GameModule module(options.module.empty() ? DefaultModulePath() : options.module);
    return options.info ? PrintInfo(module) : PlaySession(module, options.play);
  } catch (const HostError& error) {
    if (error.status == kExitOk) {
      std::printf("%s\n", error.what());
    } else {
      ReportFatal("gamehost", error.what());
    }
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
