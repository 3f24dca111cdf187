// A game module loaded as every host of ours loads it (gamehost, its
// validator, the tests): the library and its GetPlugin.
#ifndef FLINTMOOR_HOST_GAMEMODULE_H
#define FLINTMOOR_HOST_GAMEMODULE_H

#include <memory>
#include <string>

#include "IGame.h"
#include "SharedLibrary.h"

class GameModule {
 public:
  // Loads the file with every symbol bound now and finds GetPlugin by name.
  // Throws HostError.
  explicit GameModule(const std::string& path);
  // Unloads the module. Every game must be destroyed, and Allegro's timer
  // removed, before this runs.
  ~GameModule() = default;
  GameModule(const GameModule&) = delete;
  GameModule& operator=(const GameModule&) = delete;

  std::unique_ptr<IGame> NewGame() const { return std::unique_ptr<IGame>(getPlugin_()); }
  const std::string& Path() const { return path_; }
  // Whether code or data at an address is the module's.
  bool Holds(const void* address) const { return library_.Holds(address); }
  // Unloads now; true when the module really left the process.
  bool Unload() { return library_.Close(); }

 private:
  std::string path_;
  SharedLibrary library_;
  GetPluginFunction getPlugin_ = nullptr;
};

// What a game says of itself, for lists and screens: its identity answers
// (an empty string where a module answers null) and where its icon is.
struct GameIdentity {
  std::string name, author, description, version;
  std::string icon;  // the icon picture's path, as IconPath finds it
};
// Asks a new game of the module, handed the module's absolute path.
GameIdentity ReadIdentity(const GameModule& module);

// Why a module did not load, from a HostError GameModule threw, without its
// path: for where the file is named already, or was a copy.
std::string WhyNotLoaded(const std::string& message, const std::string& modulePath);

// Why the module file can never load into this program, read from its
// header (32 bits against 64, another system's format), or empty.
std::string KindMismatch(const std::string& modulePath);

#endif
