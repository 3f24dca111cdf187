// A small, well-behaved game module for testing gamehost --validate: a
// square that follows the mouse. Built with NEEDS_RESOURCES it reads its
// colour from games/test_good/colour.txt and won't start without it;
// otherwise it needs nothing. Built with one of the defects below, it is a
// broken one the validator must catch:
//   DEFECT_DRAW_OUTSIDE   Draw paints beyond the 640x480 picture
//   DEFECT_DRAW_ELSEWHERE Draw paints the screen, not the destination
//   DEFECT_NULL_NAME      GetName answers null
//   DEFECT_DANGLING_NAME  GetName answers a string that dies with the game
//   DEFECT_SAME_OBJECT    GetPlugin answers one object every time
//   DEFECT_NULL_PATH      SetPath crashes on a null path
//   DEFECT_CRASH          Update crashes after some frames
//   DEFECT_EDGE_CRASH     Update crashes with the mouse in the bottom right pixel
//   DEFECT_WRITES_MOUSE   Update clamps the host's MouseInput in place
//   DEFECT_LEAK_FRAME     Update leaks 1 KB a frame
//   DEFECT_LEAK_CYCLE     Init keeps 256 KB that Shutdown does not release
//   DEFECT_SCORE_AFTER_SHUTDOWN  GetScore reads what Shutdown freed
//   DEFECT_CHANGES_DEPTH  Init sets Allegro's colour depth
//   DEFECT_WRITES_FILE    Shutdown saves a file in the working folder
//   DEFECT_SLOW_DRAW      Draw takes 18 ms once the game is busy
//   DEFECT_SLOW_INIT      Init takes 150 ms
//   DEFECT_HANG           Update never returns at frame 1000
//   DEFECT_EXITS          Update ends the process at frame 50
//   DEFECT_REMOVES_TIMER  Shutdown removes Allegro's timer
//   DEFECT_PRINTS         Init prints, and the description is not UTF-8
//   DEFECT_TIMER_LEFT     Init installs a timer callback that stays behind
//   DEFECT_THREAD_LEFT    Init starts a thread that nothing stops
#include <allegro.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "IGame.h"

namespace {

[[maybe_unused]] constexpr size_t kKeptBytes = size_t(256) * 1024;

volatile int leftBehindTicks = 0;
[[maybe_unused]] void LeftBehindTick() {
  leftBehindTicks = leftBehindTicks + 1;
}

// The defects under test crash on purpose.
[[maybe_unused]] void Crash() {
  // cppcheck-suppress nullPointer
  *static_cast<volatile int*>(nullptr) = 1;  // NOLINT
}

[[maybe_unused]] void BusyFor(std::chrono::milliseconds time) {
  const auto until = std::chrono::steady_clock::now() + time;
  while (std::chrono::steady_clock::now() < until) {
  }
}

class TestGame final : public IGame {
 public:
  const char* GetName() override {
#if defined(DEFECT_PRINTS)
    return "Test Game caf\xe9";
#elif defined(DEFECT_NULL_NAME)
    return nullptr;
#elif defined(DEFECT_DANGLING_NAME)
    return name_.c_str();
#else
    return "Test Game";
#endif
  }
  const char* GetAuthor() override {
    return "Flintmoor tests";
  }
  const char* GetDescription() override {
#ifdef DEFECT_PRINTS
    return "A square that follows the mouse, caf\xe9 style.";
#else
    return "A square that follows the mouse.";
#endif
  }
  const char* GetVersion() override {
    return "1.0";
  }

#ifdef DEFECT_NULL_PATH
  void SetPath(const char* filePath) override {
    std::string folder(filePath);  // the defect: no check for null
    folder.erase(folder.find_last_of('/') + 1);
    std::free(path);
    path = strdup(folder.c_str());
  }
#endif

  bool Init() override {
    frames_ = 0;
#ifdef DEFECT_TIMER_LEFT
    install_timer();
    install_int(LeftBehindTick, 2);
#endif
#ifdef DEFECT_THREAD_LEFT
    std::thread([] {
      for (;;) {
        leftBehindTicks = leftBehindTicks + 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    }).detach();
#endif
#ifdef DEFECT_CHANGES_DEPTH
    set_color_depth(16);
#endif
#ifdef DEFECT_SLOW_INIT
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
#endif
#ifdef DEFECT_PRINTS
    std::printf("Test Game starting\n");
    std::fprintf(stderr, "loading caf\xe9 \x01 assets\n");
#endif
#ifdef DEFECT_LEAK_CYCLE
    kept_ = static_cast<char*>(std::malloc(kKeptBytes));
    if (kept_ != nullptr) std::memset(kept_, 1, kKeptBytes);
#endif
    if (best_ == nullptr) best_ = new int32_t(0);
    return LoadColour();
  }

  void Shutdown() override {
#ifdef DEFECT_SCORE_AFTER_SHUTDOWN
    delete best_;
    best_ = nullptr;
#endif
#ifdef DEFECT_LEAK_CYCLE
    kept_ = nullptr;  // forgotten, not freed
#endif
#ifdef DEFECT_WRITES_FILE
    if (FILE* file = std::fopen("score.txt", "w")) {
      std::fprintf(file, "%d\n", frames_);
      std::fclose(file);
    }
#endif
#ifdef DEFECT_REMOVES_TIMER
    remove_timer();
#endif
  }

  int32_t Update(int32_t, MouseInput* mouse) override {
#ifdef DEFECT_CRASH
    if (frames_ == 500) Crash();
#endif
#ifdef DEFECT_EDGE_CRASH
    if (mouse->x == 639 && mouse->y == 479) Crash();
#endif
#ifdef DEFECT_HANG
    while (frames_ >= 1000) std::this_thread::sleep_for(std::chrono::milliseconds(10));
#endif
#ifdef DEFECT_EXITS
    if (frames_ == 50) std::exit(3);
#endif
#ifdef DEFECT_LEAK_FRAME
    lost_ = static_cast<char*>(std::malloc(1024));  // the last one's pointer is lost
    if (lost_ != nullptr) std::memset(lost_, frames_ & 0xff, 1024);
#endif
    ++frames_;
    if (frames_ > *best_) *best_ = frames_;
#ifdef DEFECT_WRITES_MOUSE
    if (mouse->x < 0) mouse->x = 0;
    if (mouse->y < 0) mouse->y = 0;
#endif
    // The square stays whole inside the picture, wherever the mouse is.
    x_ = mouse->x < 8 ? 8 : mouse->x > 631 ? 631 : mouse->x;
    y_ = mouse->y < 8 ? 8 : mouse->y > 471 ? 471 : mouse->y;
    return 0;
  }

  void Draw(BITMAP* destination) override {
#ifdef DEFECT_DRAW_ELSEWHERE
    destination = screen;
#endif
#ifdef DEFECT_SLOW_DRAW
    if (frames_ > 400) BusyFor(std::chrono::milliseconds(18));
#endif
    rectfill(destination, 0, 0, 639, 479, makecol(90, 150, 250));
    rectfill(destination, x_ - 8, y_ - 8, x_ + 8, y_ + 8, colour_);
#ifdef DEFECT_DRAW_OUTSIDE
    rectfill(destination, 600, 400, 700, 520, makecol(0, 0, 0));
#endif
  }

  int32_t GetScore() override {
#ifdef DEFECT_SCORE_AFTER_SHUTDOWN
    return *best_;
#else
    return best_ != nullptr ? *best_ : 0;
#endif
  }

  ~TestGame() override {
    delete best_;
  }
  TestGame() = default;
  TestGame(const TestGame&) = delete;
  TestGame& operator=(const TestGame&) = delete;

 private:
  // The square's colour: red, or with NEEDS_RESOURCES what the resource file says.
  bool LoadColour() {
    int red = 200, green = 40, blue = 40;
#ifdef NEEDS_RESOURCES
    FILE* file = std::fopen("games/test_good/colour.txt", "r");
    if (file == nullptr) return false;
    bool read = std::fscanf(file, "%d %d %d", &red, &green, &blue) == 3;
    std::fclose(file);
    if (!read) return false;
#endif
    colour_ = makecol(red, green, blue);
    return true;
  }

  int32_t frames_ = 0;
  int32_t* best_ = nullptr;
  int x_ = 8, y_ = 8;
  int colour_ = 0;
  [[maybe_unused]] char* kept_ = nullptr;
  [[maybe_unused]] char* lost_ = nullptr;
  [[maybe_unused]] std::string name_ = "Test Game, named at run time";
};

}  // namespace

// The interface as released had no GAME_PLUGIN_EXPORT yet.
#ifndef GAME_PLUGIN_EXPORT
#define GAME_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

GAME_PLUGIN_EXPORT IGame* GetPlugin() {
#ifdef DEFECT_SAME_OBJECT
  static IGame* const only = new TestGame();
  return only;
#else
  return new TestGame();
#endif
}
