// A stage in memory for the session's tests: every frame's screen is kept
// as text (a host's card, or the status line over a game's picture) and
// handed to a "person" who answers it as a player would, with keys, the
// mouse's buttons or the close button. Its clock moves one frame a frame.
#ifndef FLINTMOOR_TESTS_MEMORYSTAGE_H
#define FLINTMOOR_TESTS_MEMORYSTAGE_H

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Bitmap.h"
#include "Player.h"
#include "Stage.h"

// What the player saw in one frame.
struct Shown {
  bool card = false;               // one of the host's screens, not the game
  std::vector<std::string> lines;  // the card's lines, then its footer
  StatusLine status;
  long frame = 0;  // counted from 1
  // The card holds a line with this text in it.
  bool Says(const std::string& text) const;
};

// The mouse as the person sets it.
class HandPlayer final : public Player {
 public:
  MouseInput Next(BITMAP*) override { return mouse; }
  Pointer Aim() const override { return Pointer{mouse.x, mouse.y, true, true}; }
  MouseInput mouse{320, 240, 0};
};

class MemoryStage final : public Stage {
 public:
  using Person = std::function<void(const Shown&)>;
  explicit MemoryStage(int fps = 60);

  void Show(BITMAP* picture, const StatusLine& status, const Pointer& aim) override;
  void Show(const Card& card, const StatusLine& status) override;
  Clock::time_point Now() const override { return now_; }
  Key NextKey() override;
  void ForgetKeys() override { keys_.clear(); }
  int TakeWheel() override { return 0; }
  bool CloseClicked() const override { return closed_; }
  bool TakeFocusLost() override { return std::exchange(focusLost_, false); }
  void Name(const std::string& title) override { names.push_back(title); }
  void TakeBack() override { ++takenBack; }

  void Press(Key key) { keys_.push_back(key); }
  void Close() { closed_ = true; }
  void LoseFocus() { focusLost_ = true; }  // the player turned to another window

  Person person;                   // called after every frame
  std::vector<Shown> shown;        // every frame, in order
  long framesLimit = 100000;       // a session that never ends fails instead
  std::vector<std::string> names;  // every title given, in order
  int takenBack = 0;

 private:
  void Next(Shown frame);
  Clock::duration period_;
  Clock::time_point now_;
  std::deque<Key> keys_;
  bool closed_ = false;
  bool focusLost_ = false;
  Bitmap drawn_;  // cards are drawn as a window would draw them
};

#endif
