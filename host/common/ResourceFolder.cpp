#include "ResourceFolder.h"

#include <filesystem>

namespace fs = std::filesystem;

// Paths are kept as UTF-8 text: fs::u8path and u8string convert, so that a
// folder named in any letters works on Windows too.

std::string ModuleName(const std::string& modulePath) {
  return fs::u8path(modulePath).stem().u8string();
}

std::string ResourceFolder(const std::string& modulePath) {
  fs::path moduleFolder = fs::absolute(fs::u8path(modulePath)).parent_path();
  std::error_code error;
  if (fs::is_directory(moduleFolder / "games" / fs::u8path(ModuleName(modulePath)), error)) {
    return moduleFolder.u8string();
  }
  return fs::current_path().u8string();
}

NotStarted WhyNotStarted(const std::string& modulePath) {
  const std::string name = ModuleName(modulePath);
  const fs::path here = fs::current_path();
  const fs::path own = fs::path("games") / fs::u8path(name);
  const std::string ownText = own.generic_u8string() + "/";
  const std::string validate =
      "gamehost --validate " + fs::u8path(modulePath).filename().u8string();
  std::error_code error;
  if (!fs::is_directory(here / own, error)) {
    const fs::path moduleFolder = fs::absolute(fs::u8path(modulePath)).parent_path();
    std::string where = "beside the module (in " + moduleFolder.u8string() + ")";
    if (moduleFolder != here) where += " nor in the working folder " + here.u8string();
    return {"its Init answered false, and there is no " + ownText + " folder " + where +
                ", where a game keeps its files",
            "put the module beside its " + ownText +
                " folder, as it was installed, or run "
                "gamehost from the folder that holds " +
                ownText};
  }
  const fs::path datafile = own / fs::u8path(name + ".dat");
  if (fs::exists(here / datafile, error)) {
    return {datafile.generic_u8string() + " in " + here.u8string() +
                " was not accepted: it is damaged, or made for another version of the game",
            "install the game again; " + validate + " says more"};
  }
  return {"it did not start, though its " + ownText + " folder is in " + here.u8string() +
              ": a file in it may be missing or damaged",
          "install the game again; " + validate + " says more"};
}

std::string IconPath(IGame& game, const std::string& modulePath) {
  std::string folder = game.path != nullptr ? game.path : "";
  const char* answer = game.GetIcon();
  const fs::path icon = fs::u8path(answer != nullptr ? answer : "");
  fs::path beside = fs::u8path(folder) / icon;
  fs::path withResources = fs::u8path(folder) / "games" / fs::u8path(ModuleName(modulePath)) / icon;
  std::error_code error;
  if (!fs::exists(beside, error) && fs::exists(withResources, error)) {
    return withResources.u8string();
  }
  return beside.u8string();
}
