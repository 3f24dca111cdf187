#include "Session.h"

#include <allegro.h>
#include <loadpng.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "AutoPlayer.h"
#include "HostError.h"
#include "MousePlayer.h"
#include "ResourceFolder.h"
#include "Screen.h"
#include "StopSignals.h"
#include "System.h"

namespace fs = std::filesystem;

namespace {

// How long the results stay before a click may end them: a player clicking
// on at the end of a round must see them first.
constexpr std::chrono::milliseconds kResultsSettle(1000);
// How long the built-in player's results stay.
constexpr std::chrono::milliseconds kDemoResults(3000);

Bitmap NewPicture() {
  Bitmap picture(create_bitmap(kGamePictureWidth, kGamePictureHeight));
  if (picture == nullptr) throw HostError(kExitNoGraphics, "no memory for a 640x480 picture");
  clear_bitmap(picture.get());  // what a screenshot shows if no frame was drawn
  return picture;
}

void SaveScreenshot(BITMAP* picture, const std::string& file) {
  // At 24 bits: a 32-bit picture would be saved with Allegro's unused alpha
  // byte as the PNG's alpha channel, fully transparent.
  Bitmap opaque(create_bitmap_ex(24, kGamePictureWidth, kGamePictureHeight));
  blit(picture, opaque.get(), 0, 0, 0, 0, kGamePictureWidth, kGamePictureHeight);
  PALETTE palette;
  get_palette(palette);
  if (save_bitmap(file.c_str(), opaque.get(), palette) != 0) {
    throw HostError(kExitScreenshot, "can't save the screenshot to '" + file + "'");
  }
  std::printf("screenshot: %s\n", file.c_str());
}

// How a round goes, for the start screen: the host's rule, whatever the
// game (its own are its description's).
std::string Rules(int escapes) {
  if (escapes == 0) return "Rounds go on until Esc.";
  return "Each time something gets away is an escape: " + std::to_string(escapes) +
         (escapes == 1 ? " escape ends" : " escapes end") + " the round.";
}

// Time played as the results and the round's line both say it: 1:05.
std::string PlayTime(double seconds) {
  char text[32];
  const long whole = long(seconds);
  std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

}  // namespace

Records::Keeping RecordKeeping(const SessionSettings& settings) {
  // The built-in player's scores are not the person's.
  if (settings.autoplay) return Records::Keeping::kDemo;
  return settings.noSave ? Records::Keeping::kNotKept : Records::Keeping::kKept;
}

class GameSession::Watched {
 public:
  Watched(Progress* progress, const std::string& call) : progress_(progress) {
    if (progress_ != nullptr) progress_->Call(call);
  }
  ~Watched() {
    if (progress_ != nullptr) progress_->Returned();
  }
  Watched(const Watched&) = delete;
  Watched& operator=(const Watched&) = delete;

 private:
  Progress* progress_;
};

GameSession::Watched GameSession::Watch(const char* call) const {
  return Watched(progress_, name_ + "'s " + call);
}

struct GameSession::Round {
  int32_t best = 0;     // the round's best score: the game's GetScore at its end
  long escapes = 0;     // frames in which Update reported an escape
  long frames = 0;      // Update calls
  double seconds = 0;   // time played, pauses left out
  bool record = false;  // its best is a new record, and was kept
};

GameSession::GameSession(const GameModule& module, const SessionSettings& settings, Stage& stage,
                         Player& player, Records& records, bool back, Progress* progress)
    : module_(module),
      settings_(settings),
      stage_(stage),
      player_(player),
      records_(records),
      back_(back),
      progress_(progress),
      modulePath_(fs::absolute(fs::u8path(module.Path())).u8string()),
      scripted_(settings.autoplay || settings.frames > 0),
      name_(fs::u8path(module.Path()).filename().u8string()),  // until it names itself
      frame_(NewPicture()) {
  GameIdentity identity;
  {
    const Watched call = Watch("identity");
    identity = ReadIdentity(module);
  }
  name_ = identity.name;
  description_ = identity.description;
  version_ = identity.version;
  title_ = name_ + " " + version_;
  icon_.reset(load_bitmap(identity.icon.c_str(), nullptr));
  // Games find their resources under games/ in the working folder:
  // gamehost moves to the folder that holds this module's.
  const fs::path folder = fs::u8path(ResourceFolder(module.Path()));
  if (folder != fs::current_path()) {
    fs::current_path(folder);
    if (settings.verbose) std::printf("working folder: %s\n", folder.u8string().c_str());
  }
}

GameSession::~GameSession() {
  if (game_ != nullptr) Finish();
}

bool GameSession::Prepare() {
  {
    const Watched call = Watch("GetPlugin");
    game_ = module_.NewGame();
  }
  {
    const Watched call = Watch("SetPath");
    game_->SetPath(modulePath_.c_str());
  }
  bool started = false;
  {
    const Watched call = Watch("Init");
    started = game_->Init();
  }
  if (started) return true;
  Finish();
  notStarted_ = WhyNotStarted(modulePath_);
  return false;
}

void GameSession::Finish() {
  {
    const Watched call = Watch("Shutdown");
    game_->Shutdown();
  }
  const Watched call = Watch("destructor");
  game_.reset();
}

bool GameSession::Start(std::string& why) {
  if (game_ == nullptr && !Prepare()) {
    why = notStarted_.why;
    return false;
  }
  return true;
}

SessionEnd GameSession::Run() {
  // Found out before the start screen: a click never meets a game that
  // can't start.
  if (game_ == nullptr && !Prepare()) {
    if (scripted_) {
      throw HostError(kExitGameDidNotStart,
                      name_ + " did not start: " + notStarted_.why + "; " + notStarted_.advice);
    }
    return CantStartScreen();
  }
  Next next = scripted_ ? Next::kPlay : StartScreen();
  while (next == Next::kPlay) {
    Round round;
    next = PlayRound(round);
    std::printf("round %d: best score %d, %ld escapes, %s played%s\n", rounds_, round.best,
                round.escapes, PlayTime(round.seconds).c_str(),
                round.record ? ", a new record" : "");
    std::fflush(stdout);
    if (next != Next::kPlay) break;
    if (!Prepare()) {
      if (scripted_) {
        throw HostError(kExitGameDidNotStart,
                        name_ + " did not start: " + notStarted_.why + "; " + notStarted_.advice);
      }
      Summary();
      return CantStartScreen();
    }
    next = ResultsScreen(round);
  }
  Summary();
  return SessionEnd{next == Next::kBack && back_, kExitOk};
}

bool GameSession::Ending() const {
  return StopRequested() != 0 || stage_.CloseClicked() ||
         (settings_.frames > 0 && shownFrames_ >= settings_.frames) || (stop_ && stop_());
}

void GameSession::Show(const Card& card, const StatusLine& status) {
  stage_.Show(card, status);
  ++shownFrames_;
}

bool GameSession::Clicked() {
  const bool pressed = player_.Next(nullptr).buttons != 0;
  const bool click = pressed && !wasPressed_;
  wasPressed_ = pressed;
  return click;
}

std::string GameSession::RecordValue(int32_t roundBest) const {
  const std::optional<int32_t> record = records_.Of(name_);
  if (!record) return "unknown";
  // The record as it stands, rising while a round beats it, where that
  // round's best will be kept.
  return std::to_string(records_.Keeps() ? std::max(*record, roundBest) : *record);
}

std::string GameSession::Leaving() const {
  return back_ ? "goes back to the games" : "quits";
}

GameSession::Next GameSession::StartScreen() {
  Card card;
  card.icon = icon_.get();
  card.lines = {{name_, 5, Tone::kLight, 12},
                {"version " + version_, 1, Tone::kDim, 12},
                {description_, 2, Tone::kLight, 12},
                {"Record: " + RecordValue(0), 2, Tone::kGold, 16},
                {Rules(settings_.escapes), 1, Tone::kLight, 6}};
  if (!records_.Note().empty()) card.lines.push_back({records_.Note(), 1, Tone::kWarning});
  if (!told_.empty()) card.lines.push_back({told_, 1, Tone::kWarning});
  card.footer = "Click to start a round. P pauses, Esc " + Leaving() + ".";
  const StatusLine status{"", "", "Esc " + Leaving()};
  stage_.ForgetKeys();
  for (;;) {
    Show(card, status);
    if (Ending()) return Next::kQuit;
    for (Key key; (key = stage_.NextKey()) != Key::kNone;) {
      if (key == Key::kEscape) return Next::kBack;
    }
    if (Clicked()) {
      heldOver_ = true;
      return Next::kPlay;
    }
  }
}

MouseInput GameSession::GameMouse(BITMAP* lastFrame) {
  MouseInput mouse = player_.Next(lastFrame);
  if (mouse.buttons == 0) heldOver_ = false;
  if (heldOver_) mouse.buttons = 0;
  return mouse;
}

StatusLine GameSession::RoundStatus(long escapes, int32_t best, bool paused, bool alarm) const {
  std::string escaped = "Escapes " + std::to_string(escapes);
  if (settings_.escapes > 0) escaped += " of " + std::to_string(settings_.escapes);
  // The built-in player's rounds are a demo: no record stands for them.
  return StatusLine{settings_.autoplay ? "Demo" : "Record " + RecordValue(best),
                    paused ? "Paused" : escaped,
                    paused ? "Click or P resumes" : "P pauses, Esc ends the round", alarm};
}

int32_t GameSession::Score() const {
  const Watched call = Watch("GetScore");
  return game_->GetScore();
}

GameSession::Next GameSession::PlayRound(Round& round) {
  ++rounds_;
  // Another gamehost may have kept a record since the last round.
  records_.Reread();
  const int alarmFrames = std::max(1, settings_.fps / 3);
  bool paused = false, ended = false;
  int alarm = 0;
  Next next = Next::kPlay;
  auto last = stage_.Now();
  stage_.ForgetKeys();
  stage_.TakeFocusLost();  // from the screens before: this round has not been left yet
  bool leftWindow = false;
  while (!ended && next == Next::kPlay) {
    bool resumed = false;
    for (Key key; (key = stage_.NextKey()) != Key::kNone;) {
      if (key == Key::kPause) (paused ? resumed : paused) = true;
      if (key == Key::kEscape) ended = true;
    }
    // Paused once the round has shown a picture of its own to dim.
    leftWindow = stage_.TakeFocusLost() || leftWindow;
    if (leftWindow && round.frames > 0) {
      paused = true;
      leftWindow = false;
    }
    if (paused && !resumed) {
      // The game is not updated; its clock runs on (see the README). What
      // the player does meanwhile is not for the game: a click resumes.
      resumed = Clicked();
      if (!resumed) {
        Card card;
        card.dimmedFrame = frame_.get();
        card.top = kGamePictureHeight / 2 - 24;
        card.lines = {{"Paused", 6, Tone::kLight, 16}, {"Click or press P to resume", 2}};
        Show(card, RoundStatus(round.escapes, Score(), true, false));
        if (Ending()) next = Next::kQuit;
        last = stage_.Now();
        continue;
      }
    }
    if (resumed) {
      paused = false;
      heldOver_ = true;
    }
    const auto now = stage_.Now();
    round.seconds += std::chrono::duration<double>(now - last).count();
    last = now;
    MouseInput mouse = GameMouse(round.frames > 0 ? frame_.get() : nullptr);
    const bool pressed = mouse.buttons != 0;
    if (settings_.verbose && pressed && !wasPressed_) {
      std::printf("press at (%d, %d) in frame %ld\n", mouse.x, mouse.y, gameFrames_ + 1);
      std::fflush(stdout);
    }
    wasPressed_ = pressed;
    bool escaped = false;
    {
      const Watched call = Watch("Update");
      escaped = game_->Update(0, &mouse) != 0;
    }
    if (escaped) {
      ++round.escapes;
      alarm = alarmFrames;
    }
    {
      const Watched call = Watch("Draw");
      game_->Draw(frame_.get());
    }
    ++round.frames;
    ++gameFrames_;
    stage_.Show(frame_.get(), RoundStatus(round.escapes, Score(), false, alarm > 0), player_.Aim());
    ++shownFrames_;
    if (Ending()) next = Next::kQuit;
    alarm = std::max(0, alarm - 1);
    if (settings_.escapes > 0 && round.escapes >= settings_.escapes) ended = true;
  }
  round.best = Score();
  Finish();
  round.record = records_.Offer(name_, round.best);
  best_ = std::max(best_, round.best);
  escapes_ += round.escapes;
  return next;
}

GameSession::Next GameSession::ResultsScreen(const Round& round) {
  Card card;
  card.top = 60;
  const bool demo = settings_.autoplay;
  card.lines = {{demo ? "Demo round over" : "Round over", 4, Tone::kLight, 16},
                {"Best score: " + std::to_string(round.best), 3, Tone::kGold, 12}};
  if (round.record) {
    card.lines.push_back({"A new record!", 2, Tone::kGold, 20});
  } else if (!demo) {
    card.lines.push_back({"Record: " + RecordValue(0), 2, Tone::kDim, 20});
  }
  card.lines.push_back({"Escapes: " + std::to_string(round.escapes), 2});
  card.lines.push_back({"Time played: " + PlayTime(round.seconds), 2, Tone::kLight, 20});
  if (!records_.Note().empty()) card.lines.push_back({records_.Note(), 1, Tone::kWarning});
  card.footer = "Click for another round. Esc " + Leaving() + ".";
  const StatusLine status{demo ? "Demo" : "Record " + RecordValue(0), "", "Esc " + Leaving()};
  stage_.ForgetKeys();
  const auto shown = stage_.Now();
  for (;;) {
    Show(card, status);
    if (Ending()) return Next::kQuit;
    for (Key key; (key = stage_.NextKey()) != Key::kNone;) {
      if (key == Key::kEscape) return Next::kBack;
    }
    // Only a press that begins once the results have been seen a moment.
    const bool click = Clicked();
    const auto waited = stage_.Now() - shown;
    if (demo && waited >= kDemoResults) return Next::kPlay;
    if (click && waited >= kResultsSettle) {
      heldOver_ = true;
      return Next::kPlay;
    }
  }
}

SessionEnd GameSession::CantStartScreen() {
  std::fprintf(stderr, "gamehost: %s did not start: %s; %s\n", name_.c_str(),
               notStarted_.why.c_str(), notStarted_.advice.c_str());
  Card card;
  card.top = 96;
  card.lines = {{name_ + " can't start", 3, Tone::kWarning, 24},
                {notStarted_.why, 2, Tone::kLight, 16},
                {"What to do: " + notStarted_.advice, 1, Tone::kDim}};
  card.footer =
      std::string("Press a key or click to ") + (back_ ? "go back to the games." : "close.");
  stage_.ForgetKeys();
  for (;;) {
    Show(card, StatusLine{});
    if (StopRequested() != 0 || stage_.CloseClicked()) return {false, kExitGameDidNotStart};
    if (stage_.NextKey() != Key::kNone || Clicked()) return {back_, kExitGameDidNotStart};
  }
}

void GameSession::Summary() const {
  std::string record;
  if (settings_.autoplay) {
    record = "; a demo: its scores are not kept";
  } else {
    const std::optional<int32_t> kept = records_.Of(name_);
    record = "; record " + (kept ? std::to_string(*kept) : std::string("unknown"));
    if (!records_.Note().empty()) record += " (" + records_.Note() + ")";
  }
  if (rounds_ == 0) {
    std::printf("no round played%s\n", record.c_str());
  } else {
    std::printf("best score %d, %ld escapes in %ld frames%s\n", best_, escapes_, gameFrames_,
                record.c_str());
  }
  std::fflush(stdout);
}

int PlaySession(const GameModule& module, const SessionSettings& settings) {
  SessionSettings resolved = settings;
  if (!settings.screenshot.empty()) {
    // Named before gamehost moves to the game's folder, and found writable
    // before the run rather than after it.
    resolved.screenshot = fs::absolute(fs::u8path(settings.screenshot)).u8string();
    const std::string why = WhyNotWritable(resolved.screenshot);
    if (!why.empty()) {
      throw HostError(kExitScreenshot,
                      "can't save the screenshot to '" + settings.screenshot + "': " + why);
    }
  }
  const GameIdentity identity = ReadIdentity(module);
  Screen screen(identity.name + " " + identity.version, identity.icon, settings.fullscreen,
                settings.scale, settings.fps, settings.verbose);
  register_png_file_type();
  Records records(RecordKeeping(settings));
  std::unique_ptr<Player> player;
  if (settings.autoplay) {
    player = std::make_unique<AutoPlayer>(settings.seed);
  } else {
    player = std::make_unique<MousePlayer>(screen.GetView());
  }
  GameSession session(module, resolved, screen, *player, records, false);
  const SessionEnd end = session.Run();
  if (!resolved.screenshot.empty()) SaveScreenshot(session.LastFrame(), resolved.screenshot);
  // The session ends with Allegro (the screen), and so with its timer,
  // which runs the game's clock: that is gone before the caller unloads
  // the module.
  return end.status;
}
