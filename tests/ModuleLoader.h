// Loads the built module the way a host does: dlopen, then GetPlugin by name.
#ifndef FLINTMOOR_TESTS_MODULELOADER_H
#define FLINTMOOR_TESTS_MODULELOADER_H

#include <memory>
#include <string>

#include "IGame.h"

class ModuleLoader {
 public:
  explicit ModuleLoader(const std::string& modulePath = FLINTMOOR_MODULE_PATH);
  ~ModuleLoader();
  ModuleLoader(const ModuleLoader&) = delete;
  ModuleLoader& operator=(const ModuleLoader&) = delete;

  // A new game from the module's GetPlugin.
  std::unique_ptr<IGame> NewGame() const { return std::unique_ptr<IGame>(getPlugin_()); }
  // dlclose now; true when the module really left the process.
  bool Unload();

  static bool IsResident(const std::string& modulePath = FLINTMOOR_MODULE_PATH);

 private:
  void* handle_ = nullptr;
  GetPluginFunction getPlugin_ = nullptr;
  std::string path_;
};

#endif
