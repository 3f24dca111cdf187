#include "Session.h"

#include <allegro.h>
#include <loadpng.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "AutoPlayer.h"
#include "BestScores.h"
#include "Bitmap.h"
#include "Cards.h"
#include "FramePacer.h"
#include "HostError.h"
#include "MousePlayer.h"
#include "ResourceFolder.h"
#include "Screen.h"
#include "StopSignals.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

Bitmap NewPicture() {
  Bitmap picture(create_bitmap(View::kWidth, View::kHeight));
  if (picture == nullptr) throw HostError(kExitNoGraphics, "no memory for a 640x480 picture");
  clear_bitmap(picture.get());  // what a screenshot shows if no frame was drawn
  return picture;
}

// Games find their resources under games/ in the working folder: gamehost
// moves to the folder that holds this module's.
void MoveToResources(const GameModule& module, bool verbose) {
  fs::path folder = fs::u8path(ResourceFolder(module.Path()));
  if (folder == fs::current_path()) return;
  fs::current_path(folder);
  if (verbose) std::printf("working folder: %s\n", folder.u8string().c_str());
}

[[noreturn]] void GameDidNotStart(IGame& game, const GameModule& module) {
  std::string name = ModuleName(module.Path());
  std::string datafile = "games/" + name + "/" + name + ".dat";
  std::string folder = fs::current_path().u8string();
  std::string what = fs::exists(fs::u8path(datafile))
                         ? datafile + " in " + folder + " was not accepted (damaged or wrong?)"
                         : "no " + datafile + " in the working folder " + folder;
  throw HostError(kExitGameDidNotStart,
                  std::string(game.GetName()) + " did not start: " + what +
                      "; run gamehost from the folder that holds the game's games/ folder");
}

void SaveScreenshot(BITMAP* picture, const std::string& file) {
  // At 24 bits: a 32-bit picture would be saved with Allegro's unused alpha
  // byte as the PNG's alpha channel, fully transparent.
  Bitmap opaque(create_bitmap_ex(24, View::kWidth, View::kHeight));
  blit(picture, opaque.get(), 0, 0, 0, 0, View::kWidth, View::kHeight);
  PALETTE palette;
  get_palette(palette);
  if (save_bitmap(file.c_str(), opaque.get(), palette) != 0) {
    throw HostError(kExitScreenshot, "can't save the screenshot to '" + file +
                                         "' (use .png, .bmp, .pcx or .tga in a writable folder)");
  }
  std::printf("screenshot: %s\n", file.c_str());
}

std::string Text(const char* text) {
  return text != nullptr ? text : "";
}

// How a round goes, for the start screen.
std::string Rules(int escapes) {
  std::string rules = "Click to shoot. An escape resets the score; ";
  if (escapes == 0) return rules + "rounds go on until Esc.";
  return rules + std::to_string(escapes) + (escapes == 1 ? " escape ends" : " escapes end") +
         " the round.";
}

BestScores::Keeping ScoreKeeping(const SessionSettings& settings) {
  // The built-in player's scores are not the person's.
  if (settings.autoplay) return BestScores::Keeping::kDemo;
  return settings.noSave ? BestScores::Keeping::kNotKept : BestScores::Keeping::kKept;
}

class Session {
 public:
  Session(const GameModule& module, const SessionSettings& settings);
  int Run();

 private:
  enum class Next { kGoOn, kQuit };
  Next StartScreen();
  Next PlayRound(RoundResult& round);
  Next ResultsScreen(const RoundResult& round);
  std::unique_ptr<IGame> StartGame();
  // Shows a picture and waits for the next frame's time; kQuit when the
  // window was closed or the run's frames are done.
  Next Show(BITMAP* picture, const StatusLine& status);
  // A fresh press of a mouse button on one of the host's screens.
  bool Clicked();
  // The mouse for the game's next frame. The click that started or resumed
  // the round is no shot: its button stays up for the game until let go.
  MouseInput GameMouse(BITMAP* lastFrame);
  StatusLine RoundStatus(long escapes, int32_t record, bool paused, bool alarm) const;

  const GameModule& module_;
  const SessionSettings& settings_;
  const std::string modulePath_;
  const bool scripted_;  // autoplay or a set number of frames
  std::unique_ptr<Screen> screen_;
  std::unique_ptr<Player> player_;
  FramePacer pacer_;
  Bitmap frame_;  // the game's picture
  Bitmap card_;   // the host's own
  Bitmap icon_;
  BestScores scores_;
  GameCard game_;
  long shownFrames_ = 0, gameFrames_ = 0, escapes_ = 0;
  int rounds_ = 0;
  int32_t best_ = 0;
  bool wasPressed_ = true;  // a button already down is no click
  bool heldOver_ = false;   // the button down now started or resumed the round
};

Session::Session(const GameModule& module, const SessionSettings& settings)
    : module_(module),
      settings_(settings),
      modulePath_(fs::absolute(fs::u8path(module.Path())).u8string()),
      scripted_(settings.autoplay || settings.frames > 0),
      pacer_(settings.fps),
      scores_(ScoreKeeping(settings)) {
  auto game = module.NewGame();
  game->SetPath(modulePath_.c_str());
  game_.name = Text(game->GetName());
  game_.description = Text(game->GetDescription());
  game_.version = Text(game->GetVersion());
  game_.record = scores_.Best(game_.name);
  game_.rules = Rules(settings.escapes);
  game_.note = scores_.Note();
  const std::string icon = IconPath(*game, modulePath_);
  MoveToResources(module, settings.verbose);
  screen_ = std::make_unique<Screen>(game_.name + " " + game_.version, icon, settings.fullscreen,
                                     settings.scale, settings.verbose);
  register_png_file_type();
  frame_ = NewPicture();
  card_ = NewPicture();
  icon_.reset(load_bitmap(icon.c_str(), nullptr));
  game_.icon = icon_.get();
  if (settings.autoplay) {
    player_ = std::make_unique<AutoPlayer>(settings.seed);
  } else {
    player_ = std::make_unique<MousePlayer>(screen_->GetView());
  }
}

int Session::Run() {
  Next next = scripted_ ? Next::kGoOn : StartScreen();
  while (next == Next::kGoOn) {
    RoundResult result;
    next = PlayRound(result);
    std::printf("round %d: best score %d, %ld escapes, %.1f s played%s\n", rounds_, result.best,
                result.escapes, result.seconds, result.record ? ", a new record" : "");
    std::fflush(stdout);
    if (next == Next::kGoOn) next = ResultsScreen(result);
  }
  std::string screenshot = settings_.screenshot;
  if (!screenshot.empty()) SaveScreenshot(frame_.get(), screenshot);
  const std::string record = "record " + std::to_string(scores_.Best(game_.name));
  const std::string kept = scores_.Note().empty() ? "" : " (" + scores_.Note() + ")";
  if (rounds_ == 0) {
    std::printf("no round played; %s%s\n", record.c_str(), kept.c_str());
  } else {
    std::printf("best score %d, %ld escapes in %ld frames; %s%s\n", best_, escapes_, gameFrames_,
                record.c_str(), kept.c_str());
  }
  return kExitOk;
}

Session::Next Session::Show(BITMAP* picture, const StatusLine& status) {
  screen_->GetView().Present(picture, player_->Aim(), status);
  pacer_.Wait();
  ++shownFrames_;
  if (StopRequested() != 0 || screen_->CloseClicked()) return Next::kQuit;
  if (settings_.frames > 0 && shownFrames_ >= settings_.frames) return Next::kQuit;
  return Next::kGoOn;
}

bool Session::Clicked() {
  const bool pressed = player_->Next(nullptr).buttons != 0;
  const bool click = pressed && !wasPressed_;
  wasPressed_ = pressed;
  return click;
}

Session::Next Session::StartScreen() {
  DrawStartCard(card_.get(), game_);
  const StatusLine status{"", "", "Esc quits"};
  for (;;) {
    if (Show(card_.get(), status) == Next::kQuit) return Next::kQuit;
    for (Screen::Key key; (key = screen_->NextKey()) != Screen::Key::kNone;) {
      if (key == Screen::Key::kEscape) return Next::kQuit;
    }
    if (Clicked()) {
      heldOver_ = true;
      return Next::kGoOn;
    }
  }
}

std::unique_ptr<IGame> Session::StartGame() {
  auto game = module_.NewGame();
  game->SetPath(modulePath_.c_str());
  if (!game->Init()) {
    game->Shutdown();
    GameDidNotStart(*game, module_);
  }
  return game;
}

MouseInput Session::GameMouse(BITMAP* lastFrame) {
  MouseInput mouse = player_->Next(lastFrame);
  if (mouse.buttons == 0) heldOver_ = false;
  if (heldOver_) mouse.buttons = 0;
  return mouse;
}

StatusLine Session::RoundStatus(long escapes, int32_t record, bool paused, bool alarm) const {
  std::string escaped = "Escapes " + std::to_string(escapes);
  if (settings_.escapes > 0) escaped += " of " + std::to_string(settings_.escapes);
  return StatusLine{"Record " + std::to_string(record), paused ? "Paused" : escaped,
                    paused ? "Click or P resumes" : "P pauses, Esc ends the round", alarm};
}

Session::Next Session::PlayRound(RoundResult& round) {
  auto game = StartGame();
  ++rounds_;
  round.demo = settings_.autoplay;
  const int alarmFrames = std::max(1, settings_.fps / 3);
  bool paused = false, ended = false;
  int alarm = 0;
  Next next = Next::kGoOn;
  auto last = Clock::now();
  screen_->TakeFocusLost();  // from the screens before: this round has not been left yet
  bool leftWindow = false;
  while (!ended && next == Next::kGoOn) {
    bool resumed = false;
    for (Screen::Key key; (key = screen_->NextKey()) != Screen::Key::kNone;) {
      if (key == Screen::Key::kPause) (paused ? resumed : paused) = true;
      if (key == Screen::Key::kEscape) ended = true;
    }
    // Paused once the round has shown a picture of its own to dim.
    leftWindow = screen_->TakeFocusLost() || leftWindow;
    if (leftWindow && round.frames > 0) {
      paused = true;
      leftWindow = false;
    }
    const int32_t record = std::max(game_.record, game->GetScore());
    if (paused && !resumed) {
      // The game is not updated; its clock runs on (see the README). What
      // the player does meanwhile is not for the game: a click resumes.
      resumed = Clicked();
      if (!resumed) {
        DrawPausedCard(card_.get(), frame_.get());
        next = Show(card_.get(), RoundStatus(round.escapes, record, true, false));
        last = Clock::now();
        continue;
      }
    }
    if (resumed) {
      paused = false;
      heldOver_ = true;
    }
    const auto now = Clock::now();
    round.seconds += std::chrono::duration<double>(now - last).count();
    last = now;
    MouseInput mouse = GameMouse(round.frames > 0 ? frame_.get() : nullptr);
    const bool pressed = mouse.buttons != 0;
    if (settings_.verbose && pressed && !wasPressed_) {
      std::printf("press at (%d, %d) in frame %ld\n", mouse.x, mouse.y, gameFrames_ + 1);
      std::fflush(stdout);
    }
    wasPressed_ = pressed;
    if (game->Update(0, &mouse) != 0) {
      ++round.escapes;
      alarm = alarmFrames;
    }
    game->Draw(frame_.get());
    ++round.frames;
    ++gameFrames_;
    next = Show(frame_.get(),
                RoundStatus(round.escapes, std::max(record, game->GetScore()), false, alarm > 0));
    alarm = std::max(0, alarm - 1);
    if (settings_.escapes > 0 && round.escapes >= settings_.escapes) ended = true;
  }
  round.best = game->GetScore();
  game->Shutdown();
  game.reset();
  round.record = scores_.Offer(game_.name, round.best);
  best_ = std::max(best_, round.best);
  escapes_ += round.escapes;
  return next;
}

Session::Next Session::ResultsScreen(const RoundResult& round) {
  game_.record = scores_.Best(game_.name);
  game_.note = scores_.Note();
  DrawResultsCard(card_.get(), game_, round);
  const StatusLine status{"Record " + std::to_string(game_.record), "", "Esc quits"};
  // A moment before a click counts: the last shot of the round is no answer.
  // Timed on the clock, not in frames, which a busy machine shows fewer of.
  const auto shown = Clock::now();
  const std::chrono::milliseconds settle(500), autoplayWait(3000);
  for (;;) {
    if (Show(card_.get(), status) == Next::kQuit) return Next::kQuit;
    for (Screen::Key key; (key = screen_->NextKey()) != Screen::Key::kNone;) {
      if (key == Screen::Key::kEscape) return Next::kQuit;
    }
    const bool click = Clicked();
    const auto waited = Clock::now() - shown;
    if (settings_.autoplay && waited >= autoplayWait) return Next::kGoOn;
    if (click && waited >= settle) {
      heldOver_ = true;
      return Next::kGoOn;
    }
  }
}

}  // namespace

int PlaySession(const GameModule& module, const SessionSettings& settings) {
  std::string screenshot =
      settings.screenshot.empty() ? "" : fs::absolute(fs::u8path(settings.screenshot)).u8string();
  SessionSettings resolved = settings;
  resolved.screenshot = screenshot;  // before gamehost moves to the game's folder
  // The session ends with Allegro, and so with its timer, which runs the
  // game's clock: that is gone before the caller unloads the module.
  return Session(module, resolved).Run();
}
