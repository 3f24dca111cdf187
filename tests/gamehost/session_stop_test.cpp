// Ctrl-C, SIGTERM and SIGHUP (a terminal closed under it) end gamehost as
// they end any program, after it has stopped cleanly: wherever it is, the
// round's record is kept, nothing crashes or hangs, and the validator's
// child processes go with it.
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "Command.h"
#include "SessionFixture.h"

namespace fs = std::filesystem;

namespace {

struct StopSignal {
  int number;
  const char* name;
};
const StopSignal kStopSignals[] = {{SIGINT, "SIGINT"}, {SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}};

// Stopped within a few seconds, by the signal, and said nothing of a crash.
void ExpectStoppedBy(HostProcess& host, const StopSignal& signal, const std::string& where) {
  host.Signal(signal.number);
  EXPECT_EQ(host.Wait(10), 128 + signal.number) << signal.name << " " << where << ":\n"
                                                << host.Output();
  EXPECT_FALSE(Says({0, host.Output()}, "Shutting down Allegro")) << host.Output();
}

// Each signal in play, on the start screen, paused and on the results: the
// round played keeps its record (the test game scores a point a frame).
TEST_F(SessionTest, StopSignalsEndItCleanlyAnywhereKeepingTheRecord) {
  for (const StopSignal& signal : kStopSignals) {
    fs::remove_all(data_.Path() + "/gamehost");
    std::optional<XWindowPlace> window;
    {
      HostProcess host(kTestGame + " --escapes 0", Environment());
      window = FindWindow(kTestGameTitle);
      ASSERT_TRUE(window) << host.Output();
      Wait(300);  // the start screen
      MoveMouse(*window, 320, 240);
      ClickMouse();
      Wait(700);  // some 40 frames played
      ExpectStoppedBy(host, signal, "in play");
    }
    std::ifstream kept(ScoresFile());
    std::string line;
    std::getline(kept, line);  // the header
    std::getline(kept, line);
    EXPECT_EQ(line.rfind("Test Game\t", 0), 0u) << signal.name << ": no record kept";
    EXPECT_GT(std::atoi(line.c_str() + line.find('\t') + 1), 10) << line;

    HostProcess start(kTestGame, Environment());
    ASSERT_TRUE(FindWindow(kTestGameTitle)) << start.Output();
    Wait(300);
    ExpectStoppedBy(start, signal, "on the start screen");

    HostProcess paused(kTestGame + " --frames 900", Environment());
    window = FindWindow(kTestGameTitle);
    ASSERT_TRUE(window) << paused.Output();
    Wait(300);
    PressKey(*window, "p");
    Wait(300);
    ExpectStoppedBy(paused, signal, "paused");

    HostProcess results(kTestGame + " --frames 20000", Environment());
    window = FindWindow(kTestGameTitle);
    ASSERT_TRUE(window) << results.Output();
    Wait(300);
    PressKey(*window, "Escape");  // the round ends; the results show
    ASSERT_TRUE(results.WaitFor("round 1:", 5)) << results.Output();
    ExpectStoppedBy(results, signal, "on the results");
  }
}

// gamehost --validate stops its checks and their child processes too.
TEST_F(SessionTest, StopSignalsEndTheValidatorAndItsChildren) {
  for (const StopSignal& signal : kStopSignals) {
    HostProcess host("--validate " + kTestGame, Environment());
    ASSERT_TRUE(host.WaitFor("PASS  SetPath", 20)) << host.Output();  // into the frame checks
    // A check's process, caught running (not in the moment between two).
    Outcome children{0, ""};
    for (int tries = 0; tries < 50 && children.output.empty(); ++tries) {
      Wait(100);
      children = RunCommand("pgrep -P " + std::to_string(host.Pid()));
    }
    ASSERT_FALSE(children.output.empty()) << "no check running";
    ExpectStoppedBy(host, signal, "during --validate");
    Wait(200);
    for (size_t at = 0; at < children.output.size();) {
      const size_t end = children.output.find('\n', at);
      const std::string pid = children.output.substr(at, end - at);
      at = end == std::string::npos ? children.output.size() : end + 1;
      if (pid.empty()) continue;
      EXPECT_NE(kill(std::stoi(pid), 0), 0) << "check process " << pid << " outlived it";
    }
  }
}

}  // namespace
