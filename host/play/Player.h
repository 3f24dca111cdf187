// Where each frame's mouse state comes from: the real mouse, or the
// built-in player that watches the picture and clicks on what moves.
#ifndef FLINTMOOR_HOST_PLAYER_H
#define FLINTMOOR_HOST_PLAYER_H

#include <cstdint>
#include <random>
#include <vector>

#include "IGame.h"
#include "View.h"
#include "WindowSystem.h"

struct BITMAP;

class Player {
 public:
  virtual ~Player() = default;
  // The mouse for the next frame, in picture coordinates; lastFrame is the
  // picture drawn in the previous one (null before the first, and on the
  // host's own screens).
  virtual MouseInput Next(BITMAP* lastFrame) = 0;
  // Where to show the crosshair now.
  virtual Pointer Aim() const = 0;
};

// The real mouse, mapped through the view. A press and release that both
// fall between two frames still reach the game as one frame with the button
// down.
class MousePlayer final : public Player {
 public:
  explicit MousePlayer(const View& view);
  ~MousePlayer() override;
  MouseInput Next(BITMAP* lastFrame) override;
  // Only while the pointer is over the picture.
  Pointer Aim() const override;

 private:
  static ScreenPoint Where();
  const View& view_;
};

// Plays like a good player would: it knows nothing of the game, looks at
// the picture for things that are not sky and move, reacts after a
// moment, moves the pointer there, leads the target a little and clicks;
// it shoots first at what would get away first, and it misses now and then.
class AutoPlayer final : public Player {
 public:
  explicit AutoPlayer(unsigned seed);
  MouseInput Next(BITMAP* lastFrame) override;
  Pointer Aim() const override;

 private:
  struct Blob {
    double x, y;  // centre, picture pixels
    int left, right;
  };
  struct Track {
    int id;
    double x, y, vx;
    int age = 0, unseen = 0;
    bool shot = false;
  };
  void FindBlobs(BITMAP* frame);
  void FollowTracks();
  Track* Find(int id);
  Track* ChooseTarget();

  enum class State { kLooking, kAiming, kPressing, kRecovering } state_ = State::kLooking;
  std::mt19937 random_;
  std::vector<Blob> blobs_;
  std::vector<Track> tracks_;
  int nextId_ = 1;
  int targetId_ = 0;
  int countdown_ = 0;
  double fromX_ = 320, fromY_ = 240;  // where the pointer set off from
  int moveFrames_ = 1, moved_ = 0;
  double aimErrorX_ = 0, aimErrorY_ = 0;
  MouseInput mouse_{320, 240, 0};
  std::vector<int> samples_, sorted_;
  std::vector<int> label_;
};

#endif
