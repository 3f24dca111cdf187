#ifndef FLINTMOOR_HOST_AUTOPLAYER_H
#define FLINTMOOR_HOST_AUTOPLAYER_H

#include <random>
#include <vector>

#include "Player.h"

// Plays like a good player would: it knows nothing of the game, looks at
// the picture for things that are not sky and move, reacts after a
// moment, moves the pointer there, leads the target a little and clicks;
// it shoots first at what would escape first, and it misses now and then.
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
