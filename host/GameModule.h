// A game module loaded into gamehost: the library and its GetPlugin.
#ifndef FLINTMOOR_HOST_GAMEMODULE_H
#define FLINTMOOR_HOST_GAMEMODULE_H

#include <memory>
#include <string>

#include "IGame.h"

class GameModule {
 public:
  // dlopen with RTLD_NOW | RTLD_LOCAL and GetPlugin by name. Throws HostError.
  explicit GameModule(const std::string& path);
  // Unloads the module. Every game must be destroyed, and Allegro's timer
  // removed, before this runs.
  ~GameModule();
  GameModule(const GameModule&) = delete;
  GameModule& operator=(const GameModule&) = delete;

  std::unique_ptr<IGame> NewGame() const { return std::unique_ptr<IGame>(getPlugin_()); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  void* handle_ = nullptr;
  GetPluginFunction getPlugin_ = nullptr;
};

// The module gamehost loads when none is named: flintmoor.so beside the
// executable, or in the installed game folder next to its bin folder.
std::string DefaultModulePath();

#endif
