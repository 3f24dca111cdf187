// The interface between a game module and the program that hosts it: the
// whole contract, both sides of it. `gamehost --validate MODULE` checks a
// module against it (`gamehost --list-checks` names each check).
//
// A module exports one function, GetPlugin, that creates its game and hands
// the host an IGame. The host drives the game only through the virtual
// operations below; their order is the layout of the table of virtual
// operations shared by separately built hosts and modules, so it never changes.
//
// Threads: every operation is called on the host's thread. A module may
// start threads of its own, but must have stopped and joined them by the
// time Shutdown returns (or, for one started when the module was loaded,
// when its static destructors have run).
//
// Calling order a module may rely on:
//   - any time: the identity operations, SetPath, QueryA..QueryD, NotifyA/B;
//   - Init on a created or stopped game, never on a started one;
//   - Update and Draw only between an Init that answered true and the
//     following Shutdown;
//   - GetScore only after the first Init that answered true;
//   - Shutdown after every Init (true or false), before the next Init and
//     before the object is destroyed.
// A host need not call SetPath at all: Init must not depend on it.
//
// What the host provides, before Init: Allegro initialised, its timer, the
// keyboard and mouse installed, a colour depth and graphics mode (a window
// or screen at least the picture's size, which may be larger: gamehost
// opens one with its status line under the picture, at a whole-number
// scale), and sound. The host may load the module before it starts Allegro,
// and ends Allegro (allegro_exit) before it unloads the module.
//
// The resource folder: a module finds what it reads in games/<module>/ under
// the working folder, where <module> is the module file's name without its
// extension (games/flintmoor/ for flintmoor.so or flintmoor.dll). gamehost
// moves to the module's folder when that holds it.
//
// Colour depths: the host chooses the depth, and Draw draws at whichever it
// is, 15, 16, 24 or 32 bits per pixel (gamehost takes the desktop's, else
// 32, then 16; its validator plays at 32 and 16 and at gamehost's). Colours
// (makecol) are made once Init has been called, never when the module is
// loaded: that may be before the host has set a depth.
//
// Sound: where there is no sound device the host has Allegro's silent
// driver installed, so every sound call (load_sample, play_sample,
// stop_sample, destroy_sample and the rest) is safe and plays nothing.
//
// What the host lends for one call: the MouseInput is the module's only
// while Update runs, and the destination bitmap only while Draw runs. Copy
// what is needed of them; the next call may be given others, and the old
// ones may be gone.
//
// What the host owns and a module must leave as it found it, after every
// call (a module may change any of them within a call if it puts it back
// before returning): Allegro's set-up (colour depth, colour conversion,
// graphics mode and screen, drawing mode, text mode, the global font, the
// installed timer, keyboard, mouse, sound and MIDI drivers, the
// close-button, display-switch, mouse and keyboard callbacks); the
// process's signal handlers and signal mask; its locale (setlocale and
// C++'s global locale); its environment; standard input, output and error
// (file descriptors 0 to 2); and the working folder. The C library's random
// numbers (srand, rand) are the module's to use. A module must not:
//   - write files anywhere under the working folder, its own games/<module>/
//     folder included (they may be read-only, another program's, or the
//     same for every player), nor anywhere else the user did not ask for;
//   - end the process (exit, abort, a signal to itself or its group), nor
//     leave child processes running after Shutdown;
//   - keep file descriptors it opened in Init after Shutdown;
//   - stay loaded once it is unloaded: no STB_GNU_UNIQUE symbols (GCC makes
//     them for static variables of inline functions, std::to_string's among
//     them; the kit's CMake target and pkg-config file add -fno-gnu-unique),
//     no thread_local objects with destructors;
//   - leave a timer callback installed (install_int) or a voice playing
//     (play_sample) after Shutdown and the object's destruction, or any
//     code of its own running once it is unloaded;
//   - take longer than 100 ms in Init, or in one Update and Draw together
//     (more than 1% of frames over 16.7 ms, a 60 fps frame, is too slow).
//
// The interface is a C++ class: a host and a module must be built with
// compilers of the same C++ ABI. On Linux that is any GCC or Clang. On
// Windows it is MinGW-w64 GCC or Clang in MinGW mode; Microsoft's ABI lays
// out the table of a class with a virtual destructor differently (one slot
// for the destructor, not two), so an MSVC-built host can't drive a
// MinGW-built module, nor the other way round. There, host and module must
// also share one Allegro (alleg44.dll): two would each have their own screen
// and timer. Sharing the C++ runtime (libstdc++-6.dll) is best too: a module
// with the runtime linked in keeps some memory every time it is unloaded.
#ifndef FLINTMOOR_PLUGIN_IGAME_H
#define FLINTMOOR_PLUGIN_IGAME_H

#include <cstdint>

struct BITMAP;

// Marks the definition of GetPlugin as the module's one export.
#ifdef _WIN32
#define GAME_PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#define GAME_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// The game's picture: Draw paints this many pixels at the destination's top
// left, and MouseInput's x and y are given in a screen of this size.
constexpr int32_t kGamePictureWidth = 640;
constexpr int32_t kGamePictureHeight = 480;

// The host's mouse state for one frame.
struct MouseInput {
  int32_t x;        // column in the 640x480 screen
  int32_t y;        // row in the 640x480 screen
  int32_t buttons;  // zero when no button is pressed, nonzero otherwise
};

class IGame {
 public:
  // Folder part of the latest SetPath, ending in a path separator; null
  // before the first SetPath. Owned by the object (malloc/free).
  char* path = nullptr;

  // ---- Table of virtual operations: never reorder or insert. ----
  // Any time. Releases path. A started game is stopped (Shutdown) first.
  virtual ~IGame();
  // Any time. The strings live as long as the module (string literals or
  // static storage), are never null, and are the same at every call, before
  // Init, while started and after Shutdown.
  virtual const char* GetName() = 0;
  virtual const char* GetAuthor() = 0;
  virtual const char* GetDescription() = 0;
  virtual const char* GetVersion() = 0;
  // Any time. File name of the game's icon picture, which the host looks for
  // beside the module or in games/<module>/; default "game_icon.bmp".
  virtual const char* GetIcon();
  // Any time. Keeps the folder part of a path; a null path is ignored.
  virtual void SetPath(const char* filePath);
  // On a created or stopped game. True when the game is ready to play;
  // false when it can't start (its resources are missing, say), after which
  // the host still calls Shutdown. Within 100 ms.
  virtual bool Init();
  // After every Init. Releases what Init acquired: memory, bitmaps, samples
  // (and the voices playing them), files, threads, child processes.
  virtual void Shutdown();
  // Started game only. Paints the whole 640x480 picture at destination's
  // top left, and nothing outside it; the destination may be larger, and is
  // the game's only until Draw returns.
  virtual void Draw(BITMAP* destination) = 0;
  // Started game only. Runs one frame with the host's mouse (never null,
  // read only, and the game's only until Update returns) and answers the
  // escape report: 1 exactly in a frame in which a target escaped unhit,
  // else 0, and nothing else. The first argument is reserved: hosts pass 0
  // and a module must not read it.
  virtual int32_t Update(int32_t reserved, MouseInput* mouse) = 0;
  // After the first Init that answered true, also after Shutdown. The best
  // score of the game since its latest Init.
  virtual int32_t GetScore() = 0;
  // Any time. Slots kept for hosts to come: no host gives them a meaning
  // yet, gamehost calls none of them in play (only the validator, to see
  // they return), and a module keeps IGame's defaults.
  // QueryA: answers 1 by default.
  virtual int32_t QueryA();
  // NotifyA: does nothing by default.
  virtual void NotifyA();
  // NotifyB: does nothing by default.
  virtual void NotifyB();
  // QueryB: answers 0 by default.
  virtual int32_t QueryB();
  // QueryC: answers 0 by default.
  virtual int32_t QueryC();
  // QueryD: answers 0 by default.
  virtual int32_t QueryD();
  // ---- End of the table. ----

  IGame(const IGame&) = delete;
  IGame& operator=(const IGame&) = delete;

 protected:
  IGame() = default;
};

// The one export of a module: creates a new game, owned by the caller, who
// destroys it with delete after its last Shutdown. A module defines it as
//   GAME_PLUGIN_EXPORT IGame* GetPlugin() { return new MyGame(); }
extern "C" IGame* GetPlugin();
using GetPluginFunction = IGame* (*)();

#endif
