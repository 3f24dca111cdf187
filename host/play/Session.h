// A person's time with one game: its start screen, rounds that end after a
// number of escapes, each round's results, pauses, and the records kept
// between runs. Scripted runs (--autoplay, --frames) start playing at once.
#ifndef FLINTMOOR_HOST_SESSION_H
#define FLINTMOOR_HOST_SESSION_H

#include <functional>
#include <memory>
#include <string>

#include "Bitmap.h"
#include "ChildProcess.h"
#include "GameModule.h"
#include "Player.h"
#include "Records.h"
#include "ResourceFolder.h"
#include "Stage.h"

// How the player asked to play (gamehost's options).
struct SessionSettings {
  bool autoplay = false;  // the built-in player plays, round after round
  bool fullscreen = false;
  bool verbose = false;  // names the sound driver, reports each press
  bool noSave = false;   // keep no records
  int fps = 60;
  long frames = 0;         // 0: until the player quits
  int escapes = 10;        // escapes that end a round; 0: endless
  int scale = 0;           // the window's whole-number scale; 0: the largest that fits
  unsigned seed = 1;       // the built-in player's
  std::string screenshot;  // where to save the last frame, or empty
};

// How the records are kept for these settings.
Records::Keeping RecordKeeping(const SessionSettings& settings);

// How a session with a game ended.
struct SessionEnd {
  bool back = false;  // the player left the game with Esc: back to where they came from
  int status = 0;     // the exit status, where it ends gamehost
};

class GameSession {
 public:
  // Plays the module's game on the stage with the player and records
  // given, which outlive the session. Esc on its start and results screens
  // goes back to the games where `back`, else quits. Where a supervisor
  // watches (`progress`), each call of the game's is noted for it.
  GameSession(const GameModule& module, const SessionSettings& settings, Stage& stage,
              Player& player, Records& records, bool back, Progress* progress = nullptr);
  ~GameSession();
  GameSession(const GameSession&) = delete;
  GameSession& operator=(const GameSession&) = delete;

  // Plays until the player leaves, the window is closed, a stop signal
  // comes or settings.frames frames were shown. A scripted run whose game
  // can't start throws HostError; a person is shown why.
  SessionEnd Run();
  // Starts the game for the first round before Run, to learn whether it
  // can: false, with why, when it can't (Run then shows why).
  bool Start(std::string& why);
  // A line for the start screen: what the player should know (a new build
  // that failed, say).
  void Tell(const std::string& line) { told_ = line; }
  // Ends the session, as the close button would, once `stop` answers true
  // (asked each frame).
  void StopWhen(std::function<bool()> stop) { stop_ = std::move(stop); }
  // The game's last picture (black before the first).
  BITMAP* LastFrame() const { return frame_.get(); }
  const std::string& Title() const { return title_; }

 private:
  enum class Next { kPlay, kBack, kQuit };
  struct Round;
  class Watched;
  // Notes a call of the game's while it lives: "Flintmoor's Update".
  Watched Watch(const char* call) const;
  // Starts a game for the next round; false (with notStarted_) when it can't.
  bool Prepare();
  // Stops the started game and destroys it.
  void Finish();
  int32_t Score() const;
  Next StartScreen();
  Next PlayRound(Round& round);
  Next ResultsScreen(const Round& round);
  SessionEnd CantStartScreen();
  // The window was closed, a stop signal came, or the frames are done.
  bool Ending() const;
  void Show(const Card& card, const StatusLine& status);
  // A fresh press of a mouse button on one of the host's screens.
  bool Clicked();
  // The mouse for the game's next frame. The click that started or resumed
  // the round is no shot: its button stays up for the game until let go.
  MouseInput GameMouse(BITMAP* lastFrame);
  // The record as the screens show it: a number, or "unknown".
  std::string RecordValue(int32_t roundBest) const;
  // What Esc does on the start and results screens: "quits".
  std::string Leaving() const;
  StatusLine RoundStatus(long escapes, int32_t best, bool paused, bool alarm) const;
  void Summary() const;

  const GameModule& module_;
  const SessionSettings& settings_;
  Stage& stage_;
  Player& player_;
  Records& records_;
  const bool back_;
  Progress* const progress_;
  const std::string modulePath_;
  const bool scripted_;  // autoplay or a set number of frames
  std::string name_, description_, version_, title_;
  Bitmap icon_;
  Bitmap frame_;                 // the game's picture
  std::unique_ptr<IGame> game_;  // started for the next round, or null
  NotStarted notStarted_;
  std::string told_;
  std::function<bool()> stop_;
  long shownFrames_ = 0, gameFrames_ = 0, escapes_ = 0;
  int rounds_ = 0;
  int32_t best_ = 0;
  bool wasPressed_ = true;  // a button already down is no click
  bool heldOver_ = false;   // the button down now started or resumed the round
};

// gamehost MODULE: plays the module's game in a window of its own until the
// player quits; answers the exit status. Throws HostError when the window
// can't open, or a scripted run's game can't start.
int PlaySession(const GameModule& module, const SessionSettings& settings);

#endif
