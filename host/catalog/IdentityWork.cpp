// What a child process does to ask one module what it is: the module loaded,
// its identity read and a game started and stopped, as a host would, each
// call noted so that a crash or a hang names it. Its answers go back as JSON.
#include <allegro.h>

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "Catalog.h"
#include "HostError.h"
#include "ResourceFolder.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kLongestDescription = 4000;

// Allegro as a host has it before Init: the library, the timer and a colour
// depth. False without a display, where Allegro's timer can't be had.
bool StartAllegroForInit() {
  if (allegro_init() != 0) return false;
  install_timer();
  const int depth = desktop_color_depth();
  set_color_depth(depth >= 15 ? depth : 32);
  return true;
}

Verdict AskModule(const std::string& modulePath, Progress& progress) {
  const std::string path = fs::absolute(fs::u8path(modulePath)).u8string();
  progress.Step("while loading the module");
  std::unique_ptr<GameModule> module;
  try {
    module = std::make_unique<GameModule>(path);
  } catch (const HostError& error) {
    // The list names the file already.
    return {false, WhyNotLoaded(error.what(), modulePath), ""};
  }
  progress.Call("GetPlugin");
  std::unique_ptr<IGame> game = module->NewGame();
  progress.Returned();
  if (game == nullptr) return {false, "its GetPlugin answered null", ""};
  auto ask = [&](const char* call, const char* (IGame::*question)()) {
    progress.Call(call);
    const char* answer = (game.get()->*question)();
    progress.Returned();
    if (answer == nullptr) throw std::runtime_error(std::string("its ") + call + " answered null");
    return std::string(answer);
  };
  nlohmann::json answers;
  // Games name themselves in any bytes: what is no UTF-8 is replaced.
  const auto answered = [&answers]() -> Verdict {
    return {true, answers.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), ""};
  };
  try {
    answers["name"] = ask("GetName", &IGame::GetName);
    answers["author"] = ask("GetAuthor", &IGame::GetAuthor);
    // Room for the answers in what a child hands back: a description far
    // longer than any screen shows is cut.
    std::string description = ask("GetDescription", &IGame::GetDescription);
    if (description.size() > kLongestDescription) description.resize(kLongestDescription);
    answers["description"] = description;
    answers["version"] = ask("GetVersion", &IGame::GetVersion);
    ask("GetIcon", &IGame::GetIcon);
  } catch (const std::runtime_error& error) {
    return {false, error.what(), ""};
  }
  progress.Call("SetPath");
  game->SetPath(path.c_str());
  progress.Returned();
  answers["icon"] = IconPath(*game, path);

  progress.Step("while starting Allegro");
  if (!StartAllegroForInit()) {
    // (--list in a terminal without one): what it says of itself, untried.
    answers["unstarted"] = true;
    return answered();
  }
  fs::current_path(fs::u8path(ResourceFolder(path)));
  progress.Call("Init");
  const bool started = game->Init();
  progress.Call("Shutdown");
  game->Shutdown();
  progress.Call("the game's destructor");
  game.reset();
  progress.Returned();
  if (!started) answers["problem"] = "it can't start: " + WhyNotStarted(path).why;
  return answered();
}

}  // namespace

ChildWork IdentityWork(const std::string& modulePath) {
  return {kIdentityWork + modulePath,
          [modulePath](Progress& progress) { return AskModule(modulePath, progress); }};
}
