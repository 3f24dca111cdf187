#include "GameFolders.h"

#include <filesystem>

#include "ProcessInfo.h"
#include "System.h"

namespace fs = std::filesystem;

std::string InstalledGamesFolder() {
  // Beside the running program, or the working folder when it is unknown.
  const std::string self = ExecutablePath();
  const fs::path folder = self.empty() ? fs::current_path() : fs::u8path(self).parent_path();
  const fs::path installed = (folder / GAMEHOST_GAMES_DIR_FROM_BIN).lexically_normal();
  std::error_code error;
  return (fs::is_directory(installed, error) ? installed : folder).u8string();
}

std::string PlayersGamesFolder() {
  return (fs::u8path(UserDataFolder()) / "gamehost" / "games").u8string();
}

std::vector<std::string> CollectionFolders() {
  return {InstalledGamesFolder(), PlayersGamesFolder()};
}

std::string DefaultModulePath() {
  return (fs::u8path(InstalledGamesFolder()) / fs::u8path(ModuleFileName("flintmoor"))).u8string();
}
