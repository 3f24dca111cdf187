#include "GameModule.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>

#include "HostError.h"

namespace fs = std::filesystem;

GameModule::GameModule(const std::string& path) : path_(path) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) {
    throw HostError(kExitModuleUnloadable, "no game module at '" + path +
                                               "': build it with ./play, or name a module file");
  }
  // dlopen searches the library path for a bare name; a module is a file.
  std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    throw HostError(kExitModuleUnloadable,
                    "can't load '" + path + "': " + dlerror() +
                        " (is it a game module built for this system, with Allegro 4 installed?)");
  }
  getPlugin_ = reinterpret_cast<GetPluginFunction>(dlsym(handle_, "GetPlugin"));
  if (getPlugin_ == nullptr) {
    dlclose(handle_);
    throw HostError(kExitNoEntryPoint, "'" + path +
                                           "' exports no GetPlugin: it is not a game module "
                                           "(modules export it with extern \"C\")");
  }
}

GameModule::~GameModule() {
  dlclose(handle_);
}

std::string DefaultModulePath() {
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  fs::path folder = error ? fs::current_path() : self.parent_path();
  fs::path beside = folder / "flintmoor.so";
  fs::path installed = folder / FLINTMOOR_GAME_DIR_FROM_BIN / "flintmoor.so";
  if (!fs::exists(beside) && fs::exists(installed)) return installed.lexically_normal().string();
  return beside.string();
}
