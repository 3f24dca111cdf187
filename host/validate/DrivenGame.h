// A game as the validator drives it: each call noted for the report of a
// crash or hang, and checked afterwards for what a module must not touch.
#ifndef FLINTMOOR_HOST_DRIVENGAME_H
#define FLINTMOOR_HOST_DRIVENGAME_H

#include <memory>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "ChildProcess.h"
#include "GameModule.h"
#include "HostState.h"
#include "IGame.h"
#include "LentPages.h"
#include "MouseSequence.h"

// The mouse as the report gives it: "(320, 240, buttons 1)".
std::string DescribeMouse(const MouseInput& mouse);

// A destination of the game's picture size, for frames no check looks at.
Bitmap NewPicture();

// A loaded module stays loaded until UnloadNow: a check's child process ends
// with it loaded, as a host's process may, so that what is left of it after
// unloading is blamed in the checks about unloading, not in whichever check
// ran when it struck.
struct LeaveLoaded {
  Progress* progress;
  void operator()(GameModule*) const {}
};
using LoadedModule = std::unique_ptr<GameModule, LeaveLoaded>;

// The module, loaded with the progress noted. Throws CheckFailure.
LoadedModule LoadModule(const std::string& path, Progress& progress, const std::string& when = "");
// Unloads it now, with the progress noted: anything of it that runs on
// afterwards crashes, and the report then says so, with the timer
// callbacks of the module's still installed, if any, and `when` (" in load
// cycle 3"). Throws CheckFailure when the module stayed loaded (naming the
// symbols that pin it) or its timer callbacks stayed installed.
void UnloadNow(LoadedModule& module, const std::string& when = "");

class DrivenGame {
 public:
  // A new game from GetPlugin. Throws CheckFailure when it answers null.
  DrivenGame(const GameModule& module, Progress& progress);
  // The game is destroyed only by Destroy: after a failure the validator
  // leaves it alone.
  ~DrivenGame() = default;
  DrivenGame(const DrivenGame&) = delete;
  DrivenGame& operator=(const DrivenGame&) = delete;

  IGame& Game() { return *game_; }
  // The host changed its own set-up (it started Allegro): that is what the
  // game must leave alone from now on.
  void HostChanged() { host_ = CurrentHostState(); }
  // The five identity answers in one line, to compare as the game goes on.
  std::string Identity();
  void SetPath(const std::string& path);
  bool Init();
  // Shutdown, and then nothing of the game's may still play or run: no
  // voice of the mixer, no child process. Throws CheckFailure.
  void Shutdown();
  int32_t GetScore(const char* when);
  // Update with the mouse, lent in memory of its own that is taken back
  // when Update returns, then Draw into the destination; answers how long
  // the two took, in milliseconds of their own work (WorkTimer: what other
  // processes take from them on a busy machine left out). Throws
  // CheckFailure, also when Update wrote to the mouse or answered other
  // than 0 or 1, or they took over 100 ms (unless LeaveTimeUnjudged).
  double Frame(int frame, const MouseInput& mouse, BITMAP* destination);
  // From now on a slow frame is left to the checks that judge time: the
  // long play judges memory, and on a busy machine (or where the clock is
  // all there is to measure with) twenty thousand frames meet a stall.
  void LeaveTimeUnjudged() { timeJudged_ = false; }
  // Frames with input from the sequence.
  void Play(int frames, MouseSequence& mouse, BITMAP* destination);
  void Destroy();

 private:
  // Throws CheckFailure when the call changed what the host owns.
  void Returned(const std::string& call);

  IGame* game_;
  Progress& progress_;
  HostState host_;
  std::vector<long> children_;  // the host's own child processes (a private display, say)
  LentPages mice_{2};           // a frame's MouseInput, in turns
  bool timeJudged_ = true;
};

#endif
