// The interface between a game module and the program that hosts it.
//
// A module exports one function, GetPlugin, that creates its game and hands
// the host an IGame. The host drives the game only through the virtual
// operations below; their order is the layout of the table of virtual
// operations shared by separately built hosts and modules, so it never changes.
//
// Threads: every operation is called on the host's thread.
//
// Calling order a module may rely on:
//   - any time: the identity operations, SetPath, QueryA..QueryD, NotifyA/B;
//   - Init on a created or stopped game, never on a started one;
//   - Update and Draw only between an Init that answered true and the
//     following Shutdown;
//   - GetScore only after the first Init that answered true;
//   - Shutdown after every Init (true or false), before the next Init and
//     before the object is destroyed.
//
// The host must have initialised Allegro and set the colour depth and
// graphics mode before Init.
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
  // Any time. Releases path.
  virtual ~IGame();
  // Any time. The strings live as long as the module.
  virtual const char* GetName() = 0;
  virtual const char* GetAuthor() = 0;
  virtual const char* GetDescription() = 0;
  virtual const char* GetVersion() = 0;
  // Any time. File name of the game's icon picture; default "game_icon.bmp".
  virtual const char* GetIcon();
  // Any time. Keeps the folder part of a path; a null path is ignored.
  virtual void SetPath(const char* filePath);
  // On a created or stopped game. True when the game is ready to play.
  virtual bool Init();
  // After every Init. Releases what Init acquired.
  virtual void Shutdown();
  // Started game only. Paints a 640x480 picture at destination's top left.
  virtual void Draw(BITMAP* destination) = 0;
  // Started game only. Runs one frame; answers its escape report: 1 when a
  // target escaped unhit in it, else 0.
  // The first argument is reserved for the host; mouse is never null.
  virtual int32_t Update(int32_t reserved, MouseInput* mouse) = 0;
  // After the first Init that answered true. Best score of the game.
  virtual int32_t GetScore() = 0;
  // Any time. Optional queries and notifications: defaults 1, -, -, 0, 0, 0.
  // QueryA: a value the host may ask for; by default 1.
  virtual int32_t QueryA();
  // NotifyA: an event the host may report; by default ignored.
  virtual void NotifyA();
  // NotifyB: another event the host may report; by default ignored.
  virtual void NotifyB();
  // QueryB: a value the host may ask for; by default 0.
  virtual int32_t QueryB();
  // QueryC: a value the host may ask for; by default 0.
  virtual int32_t QueryC();
  // QueryD: a value the host may ask for; by default 0.
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
