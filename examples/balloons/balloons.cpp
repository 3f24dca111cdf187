// Balloons: a complete small game module, to copy and make your own.
// Balloons rise from the bottom of the sky; click one to pop it for a
// point. One that floats off the top escapes and costs you your score.
//
// What every module does: a class deriving from IGame (IGame.h has the
// whole contract), and GetPlugin, the one export, handing hosts a new game.
#include <allegro.h>

#include <cstdlib>
#include <vector>

#include "IGame.h"

namespace {

constexpr int kRadius = 18;
constexpr int kFramesBetweenBalloons = 40;

struct Balloon {
  int x, y, colour;
};

class Balloons final : public IGame {
 public:
  // Identity: string literals, which live as long as the module.
  const char* GetName() override { return "Balloons"; }
  const char* GetAuthor() override { return "A module author"; }
  const char* GetDescription() override { return "Pop the balloons before they get away."; }
  const char* GetVersion() override { return "1.0"; }

  // What a game needs is made here and let go of in Shutdown: this one
  // draws everything itself, so it needs no resources. (A game with
  // pictures or sounds loads them from games/<module>/ in the working
  // folder, and answers false when they are missing.)
  bool Init() override {
    balloons_.clear();
    score_ = best_ = frames_ = 0;
    pressed_ = false;
    return true;
  }
  void Shutdown() override { balloons_.clear(); }

  // One frame: the mouse is in the 640x480 picture's pixels. Answers 1 in
  // a frame in which a balloon got away unpopped, else 0.
  int32_t Update(int32_t, MouseInput* mouse) override {
    if (++frames_ % kFramesBetweenBalloons == 0) {
      balloons_.push_back({kRadius + std::rand() % (kGamePictureWidth - 2 * kRadius),
                           kGamePictureHeight + kRadius, std::rand() % 3});
    }
    const bool click = mouse->buttons != 0 && !pressed_;  // a press, not a held button
    pressed_ = mouse->buttons != 0;
    int32_t escaped = 0;
    for (size_t i = 0; i < balloons_.size();) {
      Balloon& balloon = balloons_[i];
      balloon.y -= 2;
      const int dx = mouse->x - balloon.x, dy = mouse->y - balloon.y;
      const bool popped = click && dx * dx + dy * dy <= kRadius * kRadius;
      if (popped && ++score_ > best_) best_ = score_;
      if (!popped && balloon.y < -kRadius) {
        escaped = 1;
        score_ = 0;
      }
      if (popped || balloon.y < -kRadius) {
        balloons_.erase(balloons_.begin() + long(i));
      } else {
        ++i;
      }
    }
    return escaped;
  }

  // Paints all of the 640x480 picture, and nothing outside it: the host's
  // destination may be larger. Allegro's settings stay as the host set them.
  void Draw(BITMAP* destination) override {
    rectfill(destination, 0, 0, kGamePictureWidth - 1, kGamePictureHeight - 1,
             makecol(150, 200, 250));
    const int colours[] = {makecol(220, 40, 40), makecol(250, 200, 30), makecol(60, 160, 60)};
    // Clipped to the picture, as a balloon may stand partly outside it; the
    // host's clipping put back after.
    int left, top, right, bottom;
    get_clip_rect(destination, &left, &top, &right, &bottom);
    set_clip_rect(destination, 0, 0, kGamePictureWidth - 1, kGamePictureHeight - 1);
    for (const Balloon& balloon : balloons_) {
      circlefill(destination, balloon.x, balloon.y, kRadius, colours[balloon.colour]);
      vline(destination, balloon.x, balloon.y + kRadius, balloon.y + kRadius + 20, 0);
    }
    set_clip_rect(destination, left, top, right, bottom);
    textprintf_ex(destination, font, 8, 8, makecol(0, 0, 0), -1, "Score: %d", score_);
  }

  // The best score since Init; hosts keep records of it.
  int32_t GetScore() override { return best_; }

 private:
  std::vector<Balloon> balloons_;
  int score_ = 0, best_ = 0, frames_ = 0;
  bool pressed_ = false;
};

}  // namespace

GAME_PLUGIN_EXPORT IGame* GetPlugin() {
  return new Balloons();
}
