// A module run as gamehost runs it: loaded before Allegro starts, its
// identity read then; Allegro with keyboard, mouse, timer and sound and
// gamehost's window (the picture and a status line, at a whole-number
// scale); a game started without SetPath and one with it; allegro_exit;
// then unloaded.
#include <allegro.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
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

namespace fs = std::filesystem;

namespace {

constexpr int kFrames = 300;
constexpr int kQuietMs = 300;
// Frames drawn by two instances of the module, compared; the pictures of
// the closest must differ in no more than a tenth of their pixels (a game
// of chance may differ a little).
constexpr int kComparedFrames = 30;
constexpr int kMostDifferingPixels = kGamePictureWidth * kGamePictureHeight / 10;

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

// How two pictures differ: how many pixels, and the first of them.
struct Difference {
  int pixels = 0;
  int x = -1, y = -1;
};

Difference Compare(BITMAP* one, BITMAP* other) {
  Difference difference;
  for (int y = 0; y < kGamePictureHeight; ++y) {
    for (int x = 0; x < kGamePictureWidth; ++x) {
      if (getpixel(one, x, y) == getpixel(other, x, y)) continue;
      if (difference.pixels++ == 0) {
        difference.x = x;
        difference.y = y;
      }
    }
  }
  return difference;
}

std::string Colour(BITMAP* picture, int x, int y) {
  const int pixel = getpixel(picture, x, y);
  return "(" + std::to_string(getr(pixel)) + ", " + std::to_string(getg(pixel)) + ", " +
         std::to_string(getb(pixel)) + ")";
}

}  // namespace

std::string ColoursAtLoad(const Subject& subject, Progress& progress) {
  // A copy of the file loads as a second module, with static data of its own.
  const ScratchFolder copyFolder;
  const fs::path copy = fs::u8path(copyFolder.Path()) / fs::u8path(subject.module).filename();
  std::error_code error;
  fs::copy_file(fs::u8path(subject.module), copy, error);
  if (error) throw CheckFailure("can't copy the module to load it twice: " + error.message());
  auto early = LoadModule(copy.u8string(), progress,
                          " (a copy) before Allegro has started, as gamehost loads modules");
  const ScratchFolder sound;  // kept until Allegro has ended
  if (auto desktop = StartAsGamehost(1, sound.Path(), progress)) {
    allegro_exit();
    return "not played: this " + *desktop + " desktop can't hold gamehost's window";
  }
  auto late = LoadModule(subject.module, progress, " once Allegro has started");
  DrivenGame before(*early, progress), after(*late, progress);
  for (DrivenGame* game : {&before, &after}) {
    std::srand(subject.seed);  // the same chances for both, where a game leaves them be
    if (!game->Init()) throw CheckFailure("Init answered false (see the Init in time check)");
  }
  Difference closest{kGamePictureWidth * kGamePictureHeight + 1};
  int closestFrame = 0;
  std::string colours;  // at the closest frame's first differing pixel
  {
    const Bitmap earlyPicture = NewPicture(), latePicture = NewPicture();  // gone before Allegro
    MouseSequence mouse(subject.seed);
    for (int frame = 0; frame < kComparedFrames; ++frame) {
      const MouseInput input = mouse.Next();
      before.Frame(frame, input, earlyPicture.get());
      after.Frame(frame, input, latePicture.get());
      const Difference difference = Compare(earlyPicture.get(), latePicture.get());
      if (difference.pixels < closest.pixels) {
        closest = difference;
        closestFrame = frame;
        if (difference.pixels > 0) {
          colours = Colour(earlyPicture.get(), difference.x, difference.y) + " against " +
                    Colour(latePicture.get(), difference.x, difference.y);
        }
      }
    }
  }
  if (closest.pixels > kMostDifferingPixels) {
    throw CheckFailure(
        "the picture depends on when the module was loaded: loaded before the host set its "
        "colour depth, it drew " +
        std::to_string(closest.pixels) + " of 307200 pixels otherwise than loaded after (frame " +
        std::to_string(closestFrame) + ", the closest of the first " +
        std::to_string(kComparedFrames) + "; first at (" + std::to_string(closest.x) + ", " +
        std::to_string(closest.y) + "), " + colours +
        "): colours made when the module loads (makecol in a static constructor) are made at "
        "no depth yet; make them in Init");
  }
  for (DrivenGame* game : {&before, &after}) {
    game->Shutdown();
    game->Destroy();
  }
  progress.Step("in allegro_exit, with the module's games gone");
  allegro_exit();
  UnloadNow(late, ", with Allegro ended");
  UnloadNow(early, " (the copy), with Allegro ended");
  return "loaded before Allegro started and after, it drew the same picture (" +
         std::to_string(closest.pixels) + " pixels apart in frame " + std::to_string(closestFrame) +
         ", the closest of the first " + std::to_string(kComparedFrames) + ")";
}

std::string AsGamehostAt1x(const Subject& subject, Progress& progress) {
  return AsGamehost(subject, progress, 1);
}

std::string AsGamehostAt2x(const Subject& subject, Progress& progress) {
  return AsGamehost(subject, progress, 2);
}
