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
//   DEFECT_TIMER_LEFT     Init installs a timer callback that stays behind
//   DEFECT_THREAD_LEFT    Init starts a thread that nothing stops
//   DEFECT_DRAWING_MODE   Draw leaves Allegro drawing translucently
//   DEFECT_REMOVES_KEYBOARD  Shutdown removes the host's keyboard
//   DEFECT_CLOSE_BUTTON   Init takes the window's close button for itself
//   DEFECT_CATCHES_SIGINT Init installs a handler for Ctrl-C
//   DEFECT_REDIRECTS_STDOUT  Init points standard output elsewhere
//   DEFECT_KEEPS_FILES    Init opens a file that Shutdown leaves open
//   DEFECT_LEAVES_PROCESS Init starts a process that nothing ends
//   DEFECT_PLAYS_ON       Init plays a looping sample that Shutdown leaves playing
//   DEFECT_WRITES_OWN_FOLDER  Shutdown saves a file in its own games/ folder
//   DEFECT_IDENTITY_CHANGES  GetName answers otherwise once started
//   DEFECT_SLOW_FIRST_FRAME  the first Update takes 250 ms
//   DEFECT_SIGNALS_GROUP  Update at frame 50 sends SIGTERM to its process group
//   DEFECT_NEEDS_SET_PATH Init answers false when SetPath was never called
//   DEFECT_USES_SCREEN_SIZE  Draw paints the screen's size, not the picture's
//   DEFECT_STATIC_ALLEGRO a static constructor asks Allegro before it is started
//   DEFECT_PINNED         a thread_local object keeps the module loaded
//   DEFECT_UNIQUE_SYMBOL  std::to_string's STB_GNU_UNIQUE symbol keeps it loaded
//                         (built without the kit's flags)
//   DEFECT_BLOCKS_SIGNALS Init blocks Ctrl-C in the signal mask
//   DEFECT_CHANGES_FOLDER Init moves to another working folder
//   DEFECT_SETS_LOCALE    Init sets the C locale
//   DEFECT_SETS_ENV       Init sets an environment variable
//   DEFECT_TEXT_MODE      Init sets Allegro's text mode
//   DEFECT_KEEPS_MOUSE    Update keeps the host's MouseInput, Draw reads it
//   DEFECT_KEEPS_DESTINATION  Draw keeps its destination, Update paints it
//   DEFECT_LATE_LEAK      Update leaks 1 KB a frame from frame 5000 on
//   DEFECT_WRITES_OTHER_FOLDER  Shutdown saves a file in games/ under another
//                         name, as a renamed module does
//   DEFECT_COLOURS_AT_LOAD  the sky's colour is made when the module loads
//   DEFECT_ESCAPE_REPORT  Update answers 2 now and then
//   DEFECT_UNINITIALISED_DRAW  Draw decides by memory never written
// Built with one of these instead, it is a correct module of another kind:
//   OWN_THREAD    a thread of its own, started in Init and joined in Shutdown
//   MANY_DRAWINGS many kinds of Allegro drawing, each setting put back after
//   BIG_MEMORY    64 MB taken in Init and given back in Shutdown
//   PRINTS        Init prints, and the description is not UTF-8
//   PUTS_STATE_BACK  Init changes what the host owns (signal mask, locale,
//                 environment, working folder, text mode, colour
//                 conversion) and puts each back before it returns
//   CHURNS_MEMORY each Update allocates and frees megabytes in many blocks
#include <allegro.h>
#include <fcntl.h>
#include <unistd.h>
#ifndef _WIN32
#include <pthread.h>
#include <signal.h>
#endif

#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "IGame.h"

namespace {

[[maybe_unused]] constexpr size_t kKeptBytes = size_t(256) * 1024;
[[maybe_unused]] constexpr size_t kBigBytes = size_t(64) << 20;
[[maybe_unused]] constexpr size_t kChurnBytes = size_t(1) << 20;

volatile int leftBehindTicks = 0;
[[maybe_unused]] void LeftBehindTick() {
  leftBehindTicks = leftBehindTicks + 1;
}

// The defects under test crash on purpose.
[[maybe_unused]] void Crash() {
  // cppcheck-suppress nullPointer
  *static_cast<volatile int*>(nullptr) = 1;  // NOLINT
}

#ifdef _WIN32
[[maybe_unused]] constexpr const char* kNowhere = "NUL";
#else
[[maybe_unused]] constexpr const char* kNowhere = "/dev/null";
#endif

// A locale other than the one in use: "C", or where that is in use, one
// with UTF-8 (the user's own on Windows, which knows no C.UTF-8).
[[maybe_unused]] const char* OtherLocale() {
#ifdef _WIN32
  constexpr const char* kNotC = "";
#else
  constexpr const char* kNotC = "C.UTF-8";
#endif
  return std::strcmp(std::setlocale(LC_ALL, nullptr), "C") == 0 ? kNotC : "C";
}

[[maybe_unused]] void SetVariable(const char* name, const char* value) {
#ifdef _WIN32
  _putenv((std::string(name) + "=" + (value != nullptr ? value : "")).c_str());
#else
  if (value != nullptr) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
#endif
}

// Allegro's text mode, which its deprecated text functions draw with.
[[maybe_unused]] int SetTextMode(int mode) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return text_mode(mode);
#pragma GCC diagnostic pop
}

[[maybe_unused]] void CloseButtonOfMine() {}
[[maybe_unused]] void OnInterrupt(int) {}

#ifdef DEFECT_STATIC_ALLEGRO
// Asks Allegro's system driver, which only exists once Allegro has started.
const int kDesktopDepth = desktop_color_depth();
#endif
#ifdef DEFECT_PINNED
thread_local std::string framesSeen;  // its destructor pins the module to the thread
#endif
#ifdef DEFECT_COLOURS_AT_LOAD
// Made before the host has set a colour depth: at Allegro's default of 8.
const int kSkyAtLoad = makecol(90, 150, 250);
#endif

[[maybe_unused]] void BusyFor(std::chrono::milliseconds time) {
  const auto until = std::chrono::steady_clock::now() + time;
  while (std::chrono::steady_clock::now() < until) {
  }
}

class TestGame final : public IGame {
 public:
  const char* GetName() override {
#if defined(PRINTS)
    return "Test Game caf\xe9";
#elif defined(DEFECT_NULL_NAME)
    return nullptr;
#elif defined(DEFECT_DANGLING_NAME)
    return name_.c_str();
#elif defined(DEFECT_IDENTITY_CHANGES)
    return started_ ? "Test Game (playing)" : "Test Game";
#else
    return "Test Game";
#endif
  }
  const char* GetAuthor() override {
    return "Flintmoor tests";
  }
  const char* GetDescription() override {
#ifdef PRINTS
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
    started_ = true;
#ifdef DEFECT_NEEDS_SET_PATH
    if (path == nullptr) return false;
#endif
#ifdef DEFECT_CLOSE_BUTTON
    set_close_button_callback(CloseButtonOfMine);
#endif
#if defined(DEFECT_CATCHES_SIGINT) && !defined(_WIN32)
    signal(SIGINT, OnInterrupt);
#endif
#if defined(DEFECT_BLOCKS_SIGNALS) && !defined(_WIN32)
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    pthread_sigmask(SIG_BLOCK, &interrupt, nullptr);
#endif
#ifdef DEFECT_CHANGES_FOLDER
    std::filesystem::current_path(std::filesystem::temp_directory_path());
#endif
#ifdef DEFECT_SETS_LOCALE
    std::setlocale(LC_ALL, OtherLocale());
#endif
#ifdef DEFECT_SETS_ENV
    SetVariable("TEST_GAME_MODE", "fast");
#endif
#ifdef DEFECT_TEXT_MODE
    SetTextMode(-1);
#endif
#ifdef PUTS_STATE_BACK
    BorrowHostState();
#endif
#ifdef DEFECT_UNINITIALISED_DRAW
    shades_.reset(new int[4]);  // the defect: never written
#endif
#ifdef DEFECT_REDIRECTS_STDOUT
    const int elsewhere = open(kNowhere, O_WRONLY);
    dup2(elsewhere, 1);
    close(elsewhere);
#endif
#ifdef DEFECT_KEEPS_FILES
    // cppcheck-suppress leakReturnValNotUsed ; the defect: never closed
    open(kNowhere, O_RDONLY);
#endif
#if defined(DEFECT_LEAVES_PROCESS) && !defined(_WIN32)
    if (fork() == 0) {
      for (;;) pause();
    }
#endif
#ifdef DEFECT_PLAYS_ON
    SAMPLE* hum = create_sample(8, FALSE, 11025, 11025);
    if (hum != nullptr) {
      std::memset(hum->data, 128, 11025);
      play_sample(hum, 255, 128, 1000, TRUE);  // forgotten: never stopped
    }
#endif
#ifdef OWN_THREAD
    running_ = true;
    ticker_ = std::thread([this] {
      while (running_) {
        ++ticks_;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
#endif
#ifdef BIG_MEMORY
    big_.reset(new char[kBigBytes]);
    // An eighth of it resident: a page takes a fault, and Init has 100 ms.
    for (size_t at = 0; at < kBigBytes / 8; at += 4096) big_[at] = 7;
#endif
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
#ifdef PRINTS
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
    started_ = false;
#ifdef DEFECT_REMOVES_KEYBOARD
    remove_keyboard();
#endif
#ifdef DEFECT_WRITES_OWN_FOLDER
    SaveFrames("games/test_writes_own_folder");
#endif
#ifdef DEFECT_WRITES_OTHER_FOLDER
    SaveFrames("games/renamed_game");
#endif
#ifdef DEFECT_UNINITIALISED_DRAW
    shades_.reset();
#endif
#ifdef OWN_THREAD
    running_ = false;
    if (ticker_.joinable()) ticker_.join();
#endif
#ifdef BIG_MEMORY
    big_.reset();
#endif
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
#if defined(DEFECT_SIGNALS_GROUP) && !defined(_WIN32)
    if (frames_ == 50) kill(0, SIGTERM);
#endif
#ifdef DEFECT_SLOW_FIRST_FRAME
    if (frames_ == 0) std::this_thread::sleep_for(std::chrono::milliseconds(250));
#endif
#ifdef DEFECT_PINNED
    framesSeen = std::to_string(frames_);
#endif
#ifdef DEFECT_UNIQUE_SYMBOL
    label_ = std::to_string(frames_);
#endif
#ifdef DEFECT_KEEPS_MOUSE
    keptMouse_ = mouse;
#endif
#ifdef DEFECT_KEEPS_DESTINATION
    if (keptDestination_ != nullptr) rectfill(keptDestination_, 0, 0, 15, 15, makecol(0, 0, 0));
#endif
#ifdef DEFECT_LATE_LEAK
    if (frames_ >= 5000) {
      lost_ = static_cast<char*>(std::malloc(1024));  // the last one's pointer is lost
      if (lost_ != nullptr) std::memset(lost_, frames_ & 0xff, 1024);
    }
#endif
#ifdef CHURNS_MEMORY
    Churn();
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
#ifdef DEFECT_ESCAPE_REPORT
    if (frames_ % 50 == 0) return 2;  // the defect: an escape counted twice
#endif
    return 0;
  }

  void Draw(BITMAP* destination) override {
#ifdef DEFECT_DRAW_ELSEWHERE
    destination = screen;
#endif
#ifdef DEFECT_SLOW_DRAW
    if (frames_ > 400) BusyFor(std::chrono::milliseconds(18));
#endif
#ifdef DEFECT_KEEPS_DESTINATION
    keptDestination_ = destination;
#endif
#ifdef DEFECT_COLOURS_AT_LOAD
    const int sky = kSkyAtLoad;
#else
    const int sky = makecol(90, 150, 250);
#endif
#ifdef DEFECT_USES_SCREEN_SIZE
    rectfill(destination, 0, 0, SCREEN_W - 1, SCREEN_H - 1, sky);
#else
    rectfill(destination, 0, 0, 639, 479, sky);
#endif
#ifdef DEFECT_KEEPS_MOUSE
    if (keptMouse_->buttons != 0) rectfill(destination, x_ - 4, y_ - 4, x_ + 4, y_ + 4, 0);
#endif
#ifdef DEFECT_UNINITIALISED_DRAW
    if (shades_[1] > 100) rectfill(destination, x_ - 4, y_ - 4, x_ + 4, y_ + 4, 0);
#endif
    rectfill(destination, x_ - 8, y_ - 8, x_ + 8, y_ + 8, colour_);
#ifdef DEFECT_DRAWING_MODE
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
#endif
#ifdef MANY_DRAWINGS
    DrawMany(destination);
#endif
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
  // The defect of modules that save: saved.txt in a folder of games/.
  [[maybe_unused]] void SaveFrames(const std::string& folder) const {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    if (FILE* file = std::fopen((folder + "/saved.txt").c_str(), "w")) {
      std::fprintf(file, "%d\n", frames_);
      std::fclose(file);
    }
  }
#ifdef PUTS_STATE_BACK
  // Uses for a moment what the host owns, as a module may, and puts each
  // back as it found it before returning.
  static void BorrowHostState() {
#ifndef _WIN32
    sigset_t interrupt, mask;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    pthread_sigmask(SIG_BLOCK, &interrupt, &mask);
    pthread_sigmask(SIG_SETMASK, &mask, nullptr);
#endif
    const char* mode = std::getenv("TEST_GAME_MODE");
    const std::string modeWas = mode != nullptr ? mode : "";
    SetVariable("TEST_GAME_MODE", "borrowed");
    SetVariable("TEST_GAME_MODE", mode != nullptr ? modeWas.c_str() : nullptr);
    const std::string locale = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_NUMERIC, OtherLocale());
    std::setlocale(LC_ALL, locale.c_str());
    const std::filesystem::path folder = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::current_path(folder);
    SetTextMode(SetTextMode(-1));
    const int conversion = get_color_conversion();
    set_color_conversion(COLORCONV_NONE);
    set_color_conversion(conversion);
  }
#endif
#ifdef CHURNS_MEMORY
  // Many blocks and a large one, all given back before the frame ends.
  void Churn() {
    std::vector<std::unique_ptr<char[]>> blocks;
    for (int i = 0; i < 200; ++i) {
      blocks.emplace_back(new char[size_t(64 + i * 97)]);
      blocks.back()[0] = char(frames_);
    }
    std::unique_ptr<char[]> large(new char[kChurnBytes]);
    std::memset(large.get(), frames_ & 0xff, kChurnBytes);
  }
#endif
#ifdef MANY_DRAWINGS
  // A little of everything Allegro draws with, each setting changed for it
  // put back afterwards.
  void DrawMany(BITMAP* destination) {
    set_clip_rect(destination, 0, 0, 639, 479);  // the picture, not all the destination
    set_trans_blender(0, 0, 0, 96);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    circlefill(destination, x_, y_, 20, makecol(255, 255, 255));
    solid_mode();
    set_clip_rect(destination, 100, 100, 300, 200);
    for (int i = 0; i < 10; ++i)
      line(destination, 0, i * 30, 639, 479 - i * 30, makecol(0, 0, i * 20));
    set_clip_rect(destination, 0, 0, 639, 479);
    textprintf_ex(destination, font, 10, 10, makecol(0, 0, 0), -1, "frame %d", frames_);
    triangle(destination, 320, 10, 300, 40, 340, 40, makecol(200, 200, 0));
    ellipse(destination, 500, 400, 30, 10, makecol(0, 100, 0));
    const int conversion = get_color_conversion();
    set_color_conversion(COLORCONV_NONE);
    set_color_conversion(conversion);
    set_clip_rect(destination, 0, 0, destination->w - 1, destination->h - 1);
  }
#endif
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
  bool started_ = false;
  [[maybe_unused]] std::atomic<bool> running_{false};
  [[maybe_unused]] std::atomic<long> ticks_{0};
  std::thread ticker_;
  std::unique_ptr<char[]> big_;
  int32_t* best_ = nullptr;
  int x_ = 8, y_ = 8;
  int colour_ = 0;
  [[maybe_unused]] char* kept_ = nullptr;
  [[maybe_unused]] char* lost_ = nullptr;
  [[maybe_unused]] std::string name_ = "Test Game, named at run time";
  [[maybe_unused]] std::string label_;
  [[maybe_unused]] MouseInput* keptMouse_ = nullptr;
  [[maybe_unused]] BITMAP* keptDestination_ = nullptr;
  std::unique_ptr<int[]> shades_;
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
