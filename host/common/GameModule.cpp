#include "GameModule.h"

#include <filesystem>

#include "BinaryKind.h"
#include "HostError.h"
#include "ProcessInfo.h"
#include "ResourceFolder.h"
#include "System.h"

namespace fs = std::filesystem;

namespace {

// The system's loader searches its library path for a bare name; a module is
// a file, of this program's kind.
std::string AsFile(const std::string& path) {
  std::error_code error;
  if (!fs::is_regular_file(fs::u8path(path), error)) {
    throw HostError(kExitModuleUnloadable,
                    "no game module at '" + path + "': " + MissingModuleAdvice());
  }
  const std::string mismatch = KindMismatch(path);
  if (!mismatch.empty()) {
    throw HostError(kExitModuleUnloadable, "can't load '" + path + "': it is " + mismatch);
  }
  return fs::u8path(path).has_parent_path() ? path : (fs::path(".") / fs::u8path(path)).u8string();
}

}  // namespace

GameModule::GameModule(const std::string& path) : path_(path), library_(AsFile(path)) {
  if (!library_.Loaded()) {
    throw HostError(kExitModuleUnloadable, "can't load '" + path + "': " + library_.Error() + " (" +
                                               UnloadableModuleAdvice() + ")");
  }
  getPlugin_ = reinterpret_cast<GetPluginFunction>(library_.Symbol("GetPlugin"));
  if (getPlugin_ == nullptr) {
    throw HostError(kExitNoEntryPoint, "'" + path +
                                           "' exports no GetPlugin: it is not a game module "
                                           "(modules export it with extern \"C\")");
  }
}

GameIdentity ReadIdentity(const GameModule& module) {
  auto text = [](const char* answer) { return std::string(answer != nullptr ? answer : ""); };
  const std::string path = fs::absolute(fs::u8path(module.Path())).u8string();
  auto game = module.NewGame();
  game->SetPath(path.c_str());
  return {text(game->GetName()), text(game->GetAuthor()), text(game->GetDescription()),
          text(game->GetVersion()), IconPath(*game, path)};
}

std::string WhyNotLoaded(const std::string& message, const std::string& modulePath) {
  std::string why = message;
  const std::string absolute = fs::absolute(fs::u8path(modulePath)).u8string();
  for (const std::string& path : {modulePath, absolute}) {
    for (const std::string& named : {"'" + path + "'", path + ": "}) {
      for (size_t at; (at = why.find(named)) != std::string::npos;) {
        why.replace(at, named.size(), named[0] == '\'' ? "it" : "");
      }
    }
  }
  return why;
}

std::string KindMismatch(const std::string& modulePath) {
  return KindMismatch(ReadBinaryKind(modulePath), ReadBinaryKind(ExecutablePath()));
}
