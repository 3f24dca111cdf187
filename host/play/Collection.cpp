#include "Collection.h"

#include <allegro.h>
#include <loadpng.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

#include "GameFolders.h"
#include "HostError.h"
#include "LetGo.h"
#include "MousePlayer.h"
#include "Screen.h"
#include "StopSignals.h"
#include "System.h"
#include "WindowSystem.h"

namespace fs = std::filesystem;

namespace {

// What the collection keeps between runs: the game last played, selected
// at the next start, and where the window was when it started.
struct LastPlayed {
  std::string module;
  std::optional<ScreenPoint> window;
};

std::string LastPlayedFile() {
  return (fs::u8path(UserDataFolder()) / "gamehost" / "last-played.txt").u8string();
}

LastPlayed ReadLastPlayed() {
  LastPlayed last;
  const SmallFile file = ReadSmallFile(LastPlayedFile(), size_t(64) * 1024);
  if (file.status != SmallFile::Status::kRead) return last;
  std::istringstream lines(file.bytes);
  std::getline(lines, last.module);
  ScreenPoint window{};
  std::string word;
  if (lines >> word >> window.x >> window.y && word == "window") last.window = window;
  return last;
}

void KeepLastPlayed(const LastPlayed& last) {
  std::string text = last.module + "\n";
  if (last.window) {
    text +=
        "window " + std::to_string(last.window->x) + " " + std::to_string(last.window->y) + "\n";
  }
  std::error_code error;
  fs::create_directories(fs::u8path(LastPlayedFile()).parent_path(), error);
  std::string why;
  // Not kept, or lost as the system crashes: only the selection is lost.
  WriteWholeFile(LastPlayedFile(), text, why, Flushed::kNot);
}

// Where the last game played is in the list: the one selected at the start
// (else Flintmoor, else the first).
size_t FirstSelected(const std::vector<CatalogEntry>& games) {
  const std::string last = ReadLastPlayed().module;
  for (size_t game = 0; game < games.size(); ++game) {
    if (games[game].module == last) return game;
  }
  for (size_t game = 0; game < games.size(); ++game) {
    if (fs::u8path(games[game].module).stem() == "flintmoor") return game;
  }
  return 0;
}

}  // namespace

Collection::Collection(std::vector<CatalogEntry> games, const SessionSettings& settings,
                       Stage& stage, Player& player, Records& records, Progress* progress)
    : games_(std::move(games)),
      settings_(settings),
      stage_(stage),
      player_(player),
      records_(records),
      progress_(progress),
      list_(games_.size(), kCollectionRows),
      picture_(create_bitmap(kGamePictureWidth, kGamePictureHeight)) {
  if (picture_ == nullptr) throw HostError(kExitNoGraphics, "no memory for a 640x480 picture");
  for (const CatalogEntry& game : games_) {
    icons_.emplace_back(load_bitmap(game.identity.icon.c_str(), nullptr));
  }
  list_.Select(FirstSelected(games_));
}

CollectionView Collection::View() const {
  CollectionView view;
  view.list = &list_;
  view.note = note_;
  view.empty = "No games here yet. A game is a module file (" + ModuleFileName("x") +
               ") with its games/x/ folder beside it: put them in " + PlayersGamesFolder() +
               ", or name a folder of games: gamehost FOLDER.";
  for (size_t game = 0; game < games_.size(); ++game) {
    const CatalogEntry& entry = games_[game];
    CollectionRow row;
    row.title = entry.Title();
    row.byline = "version " + entry.identity.version + "  by " + entry.identity.author;
    const std::optional<int32_t> record = records_.Of(entry.identity.name);
    row.record = "Record " + (record ? std::to_string(*record) : std::string("unknown"));
    row.problem = entry.problem;
    row.icon = icons_[game].get();
    view.rows.push_back(row);
  }
  if (!games_.empty()) {
    const CatalogEntry& selected = games_[list_.Selected()];
    view.description = selected.Playable() ? selected.identity.description
                                           : "It can't be played: " + selected.problem;
  }
  return view;
}

StatusLine Collection::Status() const {
  const std::string count =
      std::to_string(games_.size()) + (games_.size() == 1 ? " game" : " games");
  const std::string selected = games_.empty() ? "" : games_[list_.Selected()].Title();
  return StatusLine{count, selected, "Enter plays, Esc quits"};
}

int Collection::Run(const std::string& note) {
  note_ = note;
  stage_.Name(kCollectionTitle);
  stage_.ForgetKeys();
  bool wasPressed = true;  // a button already down is no click
  // Where the pointer was when the list showed: it selects once it moves.
  MouseInput lastMouse = player_.Next(nullptr);
  const long page = long(list_.Rows());
  for (;;) {
    DrawCollection(picture_.get(), View());
    stage_.Show(picture_.get(), Status(), Pointer{});
    if (StopRequested() != 0 || stage_.CloseClicked()) return kExitOk;
    bool play = false;
    for (Key key; (key = stage_.NextKey()) != Key::kNone;) {
      switch (key) {
        case Key::kEscape:
          return kExitOk;
        case Key::kUp:
          list_.Move(-1);
          break;
        case Key::kDown:
          list_.Move(1);
          break;
        case Key::kPageUp:
          list_.Move(-page);
          break;
        case Key::kPageDown:
          list_.Move(page);
          break;
        case Key::kHome:
          list_.First();
          break;
        case Key::kEnd:
          list_.Last();
          break;
        case Key::kEnter:
          play = true;
          break;
        default:
          break;
      }
    }
    list_.Scroll(-stage_.TakeWheel());
    // Pointing selects; a click plays what it is on.
    const MouseInput mouse = player_.Next(nullptr);
    size_t row = 0, game = 0;
    const bool over = RowUnder(mouse.x, mouse.y, row) && list_.GameInRow(row, game);
    const bool moved = mouse.x != lastMouse.x || mouse.y != lastMouse.y;
    if (over && moved) list_.Select(game);
    const bool pressed = mouse.buttons != 0, click = pressed && !wasPressed;
    wasPressed = pressed;
    lastMouse = mouse;
    if (click && over) {
      list_.Select(game);
      play = true;
    }
    if (!play || games_.empty()) continue;
    const CatalogEntry& chosen = games_[list_.Selected()];
    if (!chosen.Playable()) {
      note_ = chosen.Title() + " can't be played: " + chosen.problem;
      continue;
    }
    if (Play(list_.Selected()) == After::kQuit) return kExitOk;
    wasPressed = true;
    lastMouse = player_.Next(nullptr);
  }
}

Collection::After Collection::Play(size_t game) {
  const CatalogEntry& entry = games_[game];
  KeepLastPlayed({entry.module, WindowPlace()});
  note_.clear();
  const fs::path folder = fs::current_path();
  std::unique_ptr<GameModule> module;
  try {
    module = std::make_unique<GameModule>(entry.module);
  } catch (const HostError& error) {
    note_ = error.what();
    return After::kStay;
  }
  SessionEnd end;
  {
    GameSession session(*module, settings_, stage_, player_, records_, true, progress_);
    stage_.Name(session.Title());
    end = session.Run();
  }
  // The game is gone: what it changed of the host's is put back before its
  // module goes, and the next game is loaded fresh.
  LetGoOf(std::move(module), stage_, player_);
  fs::current_path(folder);
  stage_.Name(kCollectionTitle);
  stage_.ForgetKeys();
  records_.Reread();
  return end.back ? After::kStay : After::kQuit;
}

int PlayCollection(const std::vector<std::string>& folders, const SessionSettings& settings,
                   const std::string& note, Progress* progress) {
  // Asked before Allegro starts: each game is asked in a child process.
  std::vector<CatalogEntry> games = ReadCatalog(folders);
  std::string icon;
  for (const CatalogEntry& game : games) {
    if (icon.empty() || fs::u8path(game.module).stem() == "flintmoor") icon = game.identity.icon;
  }
  Screen screen(kCollectionTitle, icon, settings.fullscreen, settings.scale, settings.fps,
                settings.verbose);
  // In place of Allegro's crash handler, which turns a game's crash into an
  // abort when it comes as the display is locked: the player is told the crash.
  if (progress != nullptr) progress->WatchCrashes();
  if (!note.empty()) {
    // Back after a game failed: the window where the player had it.
    if (const std::optional<ScreenPoint> place = ReadLastPlayed().window) PlaceWindow(*place);
  }
  register_png_file_type();
  Records records(RecordKeeping(settings));
  MousePlayer player(screen.GetView());
  Collection collection(std::move(games), settings, screen, player, records, progress);
  return collection.Run(note);
}
