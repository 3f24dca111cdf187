#include "Validator.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "AllegroStart.h"
#include "Checks.h"
#include "ChildProcess.h"
#include "FolderSnapshot.h"
#include "GameModule.h"
#include "GamehostStart.h"
#include "HostError.h"
#include "IGame.h"
#include "PrivateDisplay.h"
#include "ReportText.h"
#include "ResourceFolder.h"
#include "ScratchFolder.h"
#include "StopSignals.h"
#include "System.h"

namespace fs = std::filesystem;

namespace {

constexpr int kCallSeconds = 5;  // longer in one call is a hang

// Allegro as gamehost starts it, at the check's colour depth and with a
// window of the game's picture size where the display allows (memory
// bitmaps do without it); its sound where there is a device, else a silent
// one configured in `soundFolder`.
bool StartAllegroForCheck(int depth, const std::string& soundFolder) {
  UseSilentSoundDeviceWhereNone(soundFolder);
  try {
    return StartAllegroAsGamehost(
        [depth] {
          set_color_depth(depth);
          set_gfx_mode(GFX_AUTODETECT_WINDOWED, kGamePictureWidth, kGamePictureHeight, 0, 0);
          set_color_depth(depth);
          return true;
        },
        SoundMessages::kNone);
  } catch (const HostError&) {
    return false;
  }
}

Verdict RunCheck(const Check& check, const Subject& subject, Progress& progress) {
  const ScratchFolder sound;  // its silent sound device, kept while the check runs
  if (check.depth != 0) {
    progress.Step("while starting Allegro");
    if (!StartAllegroForCheck(check.depth, sound.Path())) {
      return {false, std::string("Allegro did not start: ") + allegro_error, ""};
    }
    // Allegro's own crash handlers shut it down first, which can fail in
    // turn and hide the signal; the report names the signal that really came.
    progress.WatchCrashes();
  }
  const std::string name = fs::u8path(subject.module).stem().u8string();
  ScratchFolder working(subject.resources, name);
  // All of it, the module's games/ folder among it as the module sees it:
  // through the link to its resources, or in their copy.
  const FolderSnapshot folder(working.Path());
  fs::current_path(fs::u8path(working.Path()));
  try {
    std::string found = check.run(subject, progress);
    const std::string written = folder.Changes();
    if (!written.empty()) {
      return {false,
              "the module wrote in the working folder: " + written +
                  ": a module must write nowhere under it, its own games/" + name +
                  "/ folder included (it may be read only, another program's, or the same for "
                  "every player)",
              ""};
    }
    return {true, found, ""};
  } catch (const CheckFailure& failure) {
    return {false, failure.what(), ""};
  }
}

// Whether Allegro can start at all, in a child like every check.
ChildWork AllegroStarts() {
  return {"start Allegro", [](Progress&) {
            bool ok = StartAllegroLibrary();
            return Verdict{ok, ok || *allegro_error == '\0' ? "allegro_init failed" : allegro_error,
                           ""};
          }};
}

ChildWork CheckWork(const Check& check, const Subject& subject) {
  return {check.name,
          [&check, &subject](Progress& progress) { return RunCheck(check, subject, progress); }};
}

// Exits at once with one line when no check could open Allegro.
void RequireAllegro() {
  Verdict started = RunInChild(AllegroStarts(), {10, 10});
  if (!started.passed) {
    const char* display = std::getenv("DISPLAY");
    throw HostError(kExitNoGraphics, "no display: Allegro could not start on DISPLAY " +
                                         std::string(display != nullptr ? display : "") + " (" +
                                         started.detail + ")");
  }
}

void Print(const std::string& name, const Verdict& verdict) {
  std::fputs(ReportLine({name, verdict}).c_str(), stdout);
  std::fflush(stdout);
}

// In a child process started to do one piece of the work: that piece alone.
int ServeWork(const std::string& name, const Subject& subject) {
  Verdict verdict;
  if (name == AllegroStarts().name) {
    verdict = ServeChildWork(AllegroStarts());
  } else {
    const Check* check = FindCheck(name);
    if (check == nullptr) throw HostError(kExitUsage, "no check named '" + name + "'");
    verdict = ServeChildWork(CheckWork(*check, subject));
  }
  // Done in this process: Allegro lets go of the display before it goes.
  allegro_exit();
  Print(name, verdict);
  return verdict.passed ? kExitOk : kExitValidationFailed;
}

}  // namespace

int RunValidator(const ValidatorSettings& settings) {
  fs::path module = fs::absolute(fs::u8path(settings.module));
  if (!fs::is_regular_file(module)) {
    throw HostError(kExitModuleUnloadable, "no game module at '" + settings.module + "'");
  }
  // Once, before any check: each would fail alike.
  const std::string mismatch = KindMismatch(module.u8string());
  if (!mismatch.empty()) {
    throw HostError(kExitModuleUnloadable,
                    "can't validate '" + settings.module + "': it is " + mismatch);
  }
  std::optional<PrivateDisplay> display;
  try {
    display.emplace();
  } catch (const std::runtime_error& error) {
    throw HostError(kExitNoGraphics, error.what());
  }
  Subject subject{module.u8string(), ResourceFolder(module.u8string()), settings.seed};
  if (!settings.childWork.empty()) return ServeWork(settings.childWork, subject);
  for (const std::string& name : settings.only) {
    const Check* check = FindCheck(name);
    if (check == nullptr || check->part) {
      throw HostError(kExitUsage,
                      "no check named '" + name + "' (gamehost --list-checks names them)");
    }
  }
  std::vector<const Check*> checks;
  for (const Check& check : AllChecks()) {
    const bool asked =
        (settings.only.empty() && !check.part) ||
        std::find(settings.only.begin(), settings.only.end(), check.name) != settings.only.end();
    if (asked) checks.push_back(&check);
  }
  RequireAllegro();
  std::vector<CheckOutcome> outcomes;
  for (const Check* each : checks) {
    const Check& check = *each;
    Verdict verdict = RunInChild(CheckWork(check, subject), {check.seconds, kCallSeconds});
    if (StopRequested() != 0) {
      std::fprintf(stderr, "gamehost: validation stopped at \"%s\" (signal %d)\n", check.name,
                   StopRequested());
      return kExitValidationFailed;
    }
    if (!settings.json) Print(check.name, verdict);
    outcomes.push_back({check.name, std::move(verdict)});
  }
  const auto failed = std::count_if(outcomes.begin(), outcomes.end(),
                                    [](const CheckOutcome& o) { return !o.verdict.passed; });
  if (settings.json) {
    std::fputs(JsonReport(subject.module, subject.seed, outcomes).c_str(), stdout);
  } else {
    std::printf("%d passed, %d failed\n", int(outcomes.size() - size_t(failed)), int(failed));
  }
  return failed == 0 ? kExitOk : kExitValidationFailed;
}

int ListChecks(bool json) {
  std::vector<std::pair<std::string, std::string>> listed;
  for (const Check& check : AllChecks()) {
    if (!check.part) listed.emplace_back(check.name, check.promise);
  }
  if (json) {
    std::fputs(JsonCheckList(listed).c_str(), stdout);
  } else {
    for (const auto& [name, promise] : listed)
      std::printf("%s: %s\n", name.c_str(), promise.c_str());
  }
  return kExitOk;
}
