// A module run as gamehost runs it: loaded before Allegro starts, its
// identity read then; Allegro with keyboard, mouse, timer and sound and
// gamehost's window (the picture and a status line, at a whole-number
// scale); a game started without SetPath and one with it; allegro_exit;
// then unloaded.
#include <allegro.h>

#include <chrono>
#include <optional>
#include <thread>

#include "AllegroStart.h"
#include "Checks.h"
#include "DrivenGame.h"
#include "GamehostStart.h"
#include "GamehostWindow.h"
#include "HostError.h"
#include "PaintWatch.h"
#include "ScratchFolder.h"
#include "SharedLibrary.h"
#include "System.h"

namespace {

constexpr int kFrames = 300;
constexpr int kQuietMs = 300;

// gamehost's start-up, with gamehost's window at the scale (a silent sound
// device configured in `soundFolder` where there is none). Where the
// desktop is too small for the window, gamehost opens none (Windows refuses
// one, X allows it): then, with Allegro started, answers the desktop's size.
std::optional<std::string> StartAsGamehost(int scale, const std::string& soundFolder,
                                           Progress& progress) {
  progress.Step("while starting Allegro as gamehost does");
  UseSilentSoundDeviceWhereNone(soundFolder);
  const int width = GamehostWindowWidth(scale), height = GamehostWindowHeight(scale);
  bool open = false;
  try {
    open = StartAllegroAsGamehost(
        [&] { return OpenGraphicsMode(GFX_AUTODETECT_WINDOWED, width, height); },
        SoundMessages::kNone);
  } catch (const HostError& error) {
    throw CheckFailure(error.what());
  }
  int desktopWidth = 0, desktopHeight = 0;
  if (!open && get_desktop_resolution(&desktopWidth, &desktopHeight) == 0 &&
      (desktopWidth < width || desktopHeight < height)) {
    return std::to_string(desktopWidth) + "x" + std::to_string(desktopHeight);
  }
  if (!open) {
    throw CheckFailure("can't open a " + std::to_string(width) + "x" + std::to_string(height) +
                       " window as gamehost does: " + allegro_error);
  }
  progress.WatchCrashes();
  return std::nullopt;
}

// A game played for a while, checked all along; its identity must not
// change on the way.
void PlayAGame(DrivenGame& game, const std::string& identity, const char* how, unsigned seed) {
  if (!game.Init()) {
    throw CheckFailure(std::string("Init answered false ") + how +
                       " (it answered true in the \"Init in time\" check): a host need not call "
                       "SetPath, so find the resources from the working folder's games/ folder");
  }
  const std::string started = game.Identity();
  if (started != identity) {
    throw CheckFailure("the identity answers changed once Init had run, from \"" + identity +
                       "\" to \"" + started + "\": they must be the same all along");
  }
  PaintWatch paint;  // the screen may be larger than the picture: Draw paints the picture
  MouseSequence mouse(seed);
  for (int frame = 0; frame < kFrames; ++frame) {
    paint.BeforeDraw(frame);
    const MouseInput input = mouse.Next();
    game.Frame(frame, input, paint.Destination());
    paint.AfterDraw(frame, input);
  }
  game.GetScore("while started");
  game.Shutdown();
  const std::string stopped = game.Identity();
  if (stopped != identity) {
    throw CheckFailure("the identity answers changed after Shutdown, from \"" + identity +
                       "\" to \"" + stopped + "\": they must be the same all along");
  }
  game.Destroy();
}

std::string AsGamehost(const Subject& subject, Progress& progress, int scale) {
  auto module = LoadModule(subject.module, progress,
                           " before Allegro has started, as gamehost loads modules");
  DrivenGame first(*module, progress);
  const std::string identity = first.Identity();
  first.SetPath(subject.module);
  const ScratchFolder sound;  // kept until Allegro has ended
  if (auto desktop = StartAsGamehost(scale, sound.Path(), progress)) {
    first.HostChanged();
    first.Destroy();
    allegro_exit();
    return "not played: this " + *desktop + " desktop can't hold gamehost's window at " +
           std::to_string(scale) + "x, and gamehost opens none there";
  }
  const std::string window = std::to_string(SCREEN_W) + "x" + std::to_string(SCREEN_H);
  first.HostChanged();
  first.Destroy();  // gamehost reads the identity of a game it never starts

  DrivenGame withoutPath(*module, progress);
  PlayAGame(withoutPath, identity, "without SetPath", subject.seed);
  DrivenGame withPath(*module, progress);
  withPath.SetPath(subject.module);
  PlayAGame(withPath, identity, "after SetPath", subject.seed + 1);

  progress.Step("in allegro_exit, with the module's games gone");
  allegro_exit();
  UnloadNow(module, ", with Allegro ended");
  progress.Step("while waiting " + std::to_string(kQuietMs) +
                " ms after Allegro ended and the module was unloaded (a thread, a signal or "
                "exit handler of the module's?)");
  std::this_thread::sleep_for(std::chrono::milliseconds(kQuietMs));
  return "identity read before Allegro; " + window + " window, keyboard, mouse, sound; " +
         std::to_string(kFrames) +
         " frames without SetPath and with it; the answers the same all along; unloaded after "
         "allegro_exit";
}

}  // namespace

std::string AsGamehostAt1x(const Subject& subject, Progress& progress) {
  return AsGamehost(subject, progress, 1);
}

std::string AsGamehostAt2x(const Subject& subject, Progress& progress) {
  return AsGamehost(subject, progress, 2);
}
