// Switching games in the collection, as a player does: from the list into a
// game's start screen and back, between three games, many times, in a real
// window. Reports the time from the Enter key to the next game's first
// frame (median and p95), and whether resident memory or open descriptors
// grow with the switches, judged as the validator judges load cycles.
// Usage: collection_switch GAMES-FOLDER [SWITCHES]
#include <allegro.h>
#include <loadpng.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "Catalog.h"
#include "Collection.h"
#include "GrowthSlope.h"
#include "MousePlayer.h"
#include "ProcessInfo.h"
#include "Screen.h"

namespace {

using Clock = std::chrono::steady_clock;

// Growth as the validator's unload check judges it: over 4 kB a switch and
// 64 kB in all, going on; the first switches warm the caches up.
constexpr double kMostKbASwitch = 4, kLeastGrowthKb = 64;
constexpr int kWarmUpSwitches = 10;

// The window, with the player's keys in a script: in the list, the keys
// that choose the next game and Enter; on a game's start screen, Esc.
class ScriptedKeys final : public Stage {
 public:
  ScriptedKeys(Screen& screen, size_t games, int switches)
      : screen_(screen), games_(games), switches_(switches) {}

  void Show(BITMAP* picture, const StatusLine& status, const Pointer& aim) override {
    screen_.Show(picture, status, aim);
    const bool list = status.right == "Enter plays, Esc quits";
    if (list && !inList_) Listed();
    inList_ = list;
  }
  void Show(const Card& card, const StatusLine& status) override {
    inList_ = false;
    if (!inGame_) {
      // Timed as the game's first frame is handed to the window, before
      // the window waits for the next frame's time.
      inGame_ = true;
      latencies_.push_back(
          std::chrono::duration<double, std::milli>(Clock::now() - pressed_).count());
      keys_.push_back(Key::kEscape);  // back to the list
    }
    screen_.Show(card, status);
  }
  Clock::time_point Now() const override { return screen_.Now(); }
  Key NextKey() override {
    screen_.NextKey();  // the real keys are read, and let go of
    if (keys_.empty()) return Key::kNone;
    const Key key = keys_.front();
    keys_.pop_front();
    if (key == Key::kEnter) pressed_ = Clock::now();
    return key;
  }
  void ForgetKeys() override { screen_.ForgetKeys(); }
  int TakeWheel() override { return screen_.TakeWheel(); }
  bool CloseClicked() const override { return screen_.CloseClicked(); }
  bool TakeFocusLost() override { return screen_.TakeFocusLost(); }
  void Name(const std::string& title) override { screen_.Name(title); }
  void TakeBack() override { screen_.TakeBack(); }

  const std::vector<double>& Latencies() const { return latencies_; }
  const GrowthSlope& Memory() const { return memory_; }
  int DescriptorsAtFirst() const { return descriptorsAtFirst_; }
  int DescriptorsAtLast() const { return descriptorsAtLast_; }

 private:
  // Back in the list: a reading, then the next game, or quitting.
  void Listed() {
    inGame_ = false;
    const int done = int(latencies_.size());
    if (done > kWarmUpSwitches) memory_.Sample(done, double(SettledResidentKilobytes()));
    if (done == kWarmUpSwitches) descriptorsAtFirst_ = OpenDescriptorCount();
    descriptorsAtLast_ = OpenDescriptorCount();
    if (done == switches_) {
      keys_.push_back(Key::kEscape);
      return;
    }
    keys_.push_back(Key::kHome);
    for (size_t down = 0; down < size_t(done) % games_; ++down) keys_.push_back(Key::kDown);
    keys_.push_back(Key::kEnter);
  }

  Screen& screen_;
  size_t games_;
  int switches_;
  std::deque<Key> keys_;
  bool inList_ = false, inGame_ = false;
  Clock::time_point pressed_;
  std::vector<double> latencies_;
  GrowthSlope memory_;
  int descriptorsAtFirst_ = 0, descriptorsAtLast_ = 0;
};

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, size_t(fraction * double(values.size())))];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: collection_switch GAMES-FOLDER [SWITCHES]\n");
    return 2;
  }
  const int switches = argc > 2 ? std::atoi(argv[2]) : 200;
  // Asked before Allegro starts, as gamehost asks them.
  const std::vector<CatalogEntry> games = ReadCatalog({argv[1]});
  SessionSettings settings;
  Screen screen("gamehost", "", false, 1, settings.fps, false);
  register_png_file_type();
  Records records(Records::Keeping::kNotKept);
  MousePlayer player(screen.GetView());
  ScriptedKeys stage(screen, games.size(), switches);
  std::printf("%zu games, %d switches\n", games.size(), switches);
  Collection(games, settings, stage, player, records, nullptr).Run("");

  const std::vector<double>& latencies = stage.Latencies();
  if (latencies.empty()) return 1;
  std::printf("key to the next game's first frame: median %.1f ms, p95 %.1f ms, worst %.1f ms\n",
              Percentile(latencies, 0.5), Percentile(latencies, 0.95),
              *std::max_element(latencies.begin(), latencies.end()));
  const GrowthSlope& memory = stage.Memory();
  const bool grows = memory.Exceeds(kMostKbASwitch, kLeastGrowthKb);
  std::printf("resident memory: %s: %s\n", memory.Describe("switch", "switches").c_str(),
              grows ? "GROWS" : "no growth");
  const int descriptors = stage.DescriptorsAtLast() - stage.DescriptorsAtFirst();
  std::printf("open descriptors: %d after switch %d, %d at the end: %s\n",
              stage.DescriptorsAtFirst(), kWarmUpSwitches, stage.DescriptorsAtLast(),
              descriptors > 0 ? "GROW" : "no growth");
  return grows || descriptors > 0 ? 1 : 0;
}
