// A small, well-behaved game module for testing gamehost --validate, and,
// built with one of the defects below, a broken one the validator must
// catch:
//   DEFECT_DRAW_OUTSIDE   Draw paints beyond the 640x480 picture
//   DEFECT_NULL_NAME      GetName answers null
//   DEFECT_CRASH          Update crashes after some frames
//   DEFECT_TIMER_LEFT     Init installs a timer callback that stays behind
#include <allegro.h>
#include <sys/stat.h>

#include "IGame.h"

namespace {

volatile int leftBehindTicks = 0;
[[maybe_unused]] void LeftBehindTick() {
  leftBehindTicks = leftBehindTicks + 1;
}

class TestGame final : public IGame {
 public:
  const char* GetName() override {
#ifdef DEFECT_NULL_NAME
    return nullptr;
#else
    return "Test Game";
#endif
  }
  const char* GetAuthor() override {
    return "Flintmoor tests";
  }
  const char* GetDescription() override {
    return "A square that follows the mouse.";
  }
  const char* GetVersion() override {
    return "1.0";
  }

  // Its resources are a games/ folder in the working folder.
  bool Init() override {
    struct stat info;
    frames_ = 0;
#ifdef DEFECT_TIMER_LEFT
    install_timer();
    install_int(LeftBehindTick, 2);
#endif
    return stat("games", &info) == 0 && S_ISDIR(info.st_mode);
  }

  int32_t Update(int32_t, MouseInput* mouse) override {
#ifdef DEFECT_CRASH
    // The defect under test, on purpose:
    // cppcheck-suppress nullPointer
    if (frames_ == 500) *static_cast<volatile int*>(nullptr) = 1;  // NOLINT
#endif
    ++frames_;
    // The square stays whole inside the picture, wherever the mouse is.
    x_ = mouse->x < 8 ? 8 : mouse->x > 631 ? 631 : mouse->x;
    y_ = mouse->y < 8 ? 8 : mouse->y > 471 ? 471 : mouse->y;
    return 0;
  }

  void Draw(BITMAP* destination) override {
    rectfill(destination, 0, 0, 639, 479, makecol(90, 150, 250));
    rectfill(destination, x_ - 8, y_ - 8, x_ + 8, y_ + 8, makecol(200, 40, 40));
#ifdef DEFECT_DRAW_OUTSIDE
    rectfill(destination, 600, 400, 700, 520, makecol(0, 0, 0));
#endif
  }

  int32_t GetScore() override {
    return frames_;
  }

 private:
  int32_t frames_ = 0;
  int x_ = 8, y_ = 8;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) IGame* GetPlugin() {
  return new TestGame();
}
