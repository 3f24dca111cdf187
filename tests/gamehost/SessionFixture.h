// What the tests of gamehost as a person plays it share: best scores in a
// folder of the test's own, the game's window and what it shows.
#ifndef FLINTMOOR_TESTS_SESSIONFIXTURE_H
#define FLINTMOOR_TESTS_SESSIONFIXTURE_H

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "HostProcess.h"
#include "Version.h"
#include "WorkingFolder.h"
#include "XDisplay.h"

const std::string kFlintmoorTitle = "Flintmoor " FLINTMOOR_VERSION;
// Flintmoor as built, beside gamehost: a person plays it alone (without a
// module named, gamehost opens the collection).
const std::string kFlintmoor = std::string(FLINTMOOR_MODULE_PATH);
// A test module whose score is the number of frames played, needing no
// resources: "Test Game" 1.0.
const std::string kTestGameTitle = "Test Game 1.0";
const std::string kTestGame = std::string(TEST_MODULES_DIR) + "/test_standalone.so";
// Ending takes a while in the sanitizer build, which checks for leaks then.
constexpr double kExitSeconds = 60;
const Rgb kFirstSkyRow{100, 160, 254};

// A person's pause between looking and acting.
inline void Wait(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// The top right corner: sky in Flintmoor, never under the score line.
Rgb Corner(const XWindowPlace& window);

// Waits until `seen` answers true, up to 15 s: a busy machine answers late,
// but a person would see it.
bool Eventually(const std::function<bool()>& seen);

// Waits until the window's top right corner shows `colour`.
bool CornerShows(const XWindowPlace& window, const Rgb& colour);
// Waits until Flintmoor shows its sky, as a person would before moving.
bool GameShows(const XWindowPlace& window);
// Waits until the sky is gone: paused, or one of the host's screens.
bool GameHidden(const XWindowPlace& window);

// Presses `keys` (xdotool's words) in the window until a window titled
// `title` shows, again every 5 s: a screen takes keys once it is up, which
// a person sees before pressing, and a test sees by what the keys did.
bool PressUntil(const XWindowPlace& window, const std::string& keys, const std::string& title);

// Presses `key` in the window until gamehost ends, again every 2 s: a window
// just opened takes keys once its first screen is up, which a person sees
// before pressing. Answers the status as HostProcess::Wait does.
int QuitWith(HostProcess& host, const XWindowPlace& window, const std::string& key);

class SessionTest : public testing::Test {
 protected:
  // Best scores go to a folder of the test's own.
  std::string Environment() const { return "XDG_DATA_HOME=" + data_.Path(); }
  std::string ScoresFile() const { return data_.Path() + "/gamehost/best-scores.txt"; }
  void WriteScores(const std::string& text) const;
  WorkingFolder data_;
};

#endif
