// gamehost --validate against the project's module, small correct modules of
// another kind (with resources of their own, without any, and built against
// the interface as released), and modules broken on purpose, one defect each.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Command.h"

namespace {

namespace fs = std::filesystem;

const std::string kGamehost = FLINTMOOR_GAMEHOST_PATH;

// Validates from FOLDER (by default the build folder, where flintmoor's
// games/ folder is), on a private display the validator starts itself: its
// windows stay off the display other tests click on.
Outcome Validate(const std::string& module, const std::string& options = "--seed 7",
                 const std::string& folder = fs::path(kGamehost).parent_path().string()) {
  return RunCommand("cd " + folder + " && env -u DISPLAY " + kGamehost + " --validate " + options +
                    " " + module);
}

std::string TestModule(const std::string& name) {
  return std::string(TEST_MODULES_DIR) + "/test_" + name + ".so";
}

// The one run of every check on the project's own module in a build. Started
// in the source tree, which has a games/flintmoor/ of its own (art and
// sound, no datafile), gamehost still finds the built module's.
TEST(ValidatorTest, FlintmoorPassesEveryCheckFromTheSourceTree) {
  Outcome result = Validate(FLINTMOOR_MODULE_PATH, "--seed 7", FLINTMOOR_SOURCE_DIR);
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_TRUE(Says(result, "11 passed, 0 failed")) << result.output;
  EXPECT_FALSE(Says(result, "FAIL")) << result.output;
}

// Correct modules pass whatever the input: with resources of their own (found
// beside the module), needing none, or built against the frozen interface.
class CorrectModule : public testing::TestWithParam<const char*> {};

TEST_P(CorrectModule, PassesEveryCheckAtSeveralSeeds) {
  for (const char* seed : {"1", "7", "20260"}) {
    Outcome result = Validate(TestModule(GetParam()), std::string("--seed ") + seed);
    EXPECT_EQ(result.status, 0) << "seed " << seed << ":\n" << result.output;
    EXPECT_TRUE(Says(result, "11 passed, 0 failed")) << "seed " << seed << ":\n" << result.output;
  }
}

INSTANTIATE_TEST_SUITE_P(ValidatorTest, CorrectModule,
                         testing::Values("good", "standalone", "frozen"));

TEST(ValidatorTest, ModuleWithoutResourcesIsRunWithoutThem) {
  Outcome standalone = Validate(TestModule("standalone"));
  EXPECT_TRUE(Says(standalone,
                   "PASS  without resources: Init answered true in an empty folder; "
                   "300 frames ran without resources"))
      << standalone.output;
  Outcome good = Validate(TestModule("good"));
  EXPECT_TRUE(Says(good, "PASS  without resources: Init answered false in an empty folder"))
      << good.output;
}

TEST(ValidatorTest, ModuleBuiltAgainstTheFrozenInterfacePlaysInTodaysHost) {
  Outcome result = RunCommand(kGamehost + " --frames 30 " + TestModule("frozen"));
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_TRUE(Says(result, "best score 30, 0 escapes in 30 frames")) << result.output;
}

struct Broken {
  const char* module;
  std::vector<std::string> says;  // each a part of the report
  bool memory = false;            // judged only without AddressSanitizer
  bool hangs = false;             // the one that really does
};

void PrintTo(const Broken& broken, std::ostream* out) {
  *out << broken.module;
}

class BrokenModule : public testing::TestWithParam<Broken> {};

// Each broken module is caught by the check for its defect, which says what
// to fix; the validator, whose checks run in child processes, lives to report
// every check, and never mistakes a slow or stopped clock for a hang.
TEST_P(BrokenModule, IsCaughtByTheRightCheck) {
  const Broken& broken = GetParam();
#ifdef __SANITIZE_ADDRESS__
  if (broken.memory) GTEST_SKIP() << "memory growth is not judged under AddressSanitizer";
#endif
  Outcome result = Validate(TestModule(broken.module));
  EXPECT_EQ(result.status, 8) << result.output;
  for (const std::string& part : broken.says) {
    EXPECT_TRUE(Says(result, part)) << "lacks '" << part << "':\n" << result.output;
  }
  EXPECT_TRUE(Says(result, " passed, ")) << "no summary:\n" << result.output;
  if (!broken.hangs) {
    EXPECT_FALSE(Says(result, "hung")) << result.output;
  }
}

const Broken kBroken[] = {
    {"draw_outside",
     {"FAIL  frames at 32 bpp: Draw wrote at (640, 400), outside the 640x480 "
      "picture, by frame 0",
      "FAIL  frames at 16 bpp: Draw wrote at (640, 400)"}},
    {"draw_elsewhere",
     {"FAIL  frames at 32 bpp: Draw left 307200 of 307200 pixels of the picture unpainted in "
      "frames 0 and 100, first at (0, 0): Draw must paint the whole 640x480 picture into the "
      "destination it is given"}},
    {"null_name", {"FAIL  identity: GetName answered null"}},
    {"dangling_name", {"FAIL  identity: ", "GetName's answer"}},
    {"same_object",
     {"FAIL  exports GetPlugin: two GetPlugin calls answered the same object", "PASS  identity"}},
    {"null_path",
     {"FAIL  SetPath: crashed with signal 6 (Aborted) in SetPath(nullptr)",
      "module output:", "basic_string: construction from null is not valid"}},
    {"crash",
     {"FAIL  frames at 32 bpp: crashed with signal 11 (Segmentation fault) in Update at frame 500, "
      "mouse ("}},
    {"edge_crash",
     {"FAIL  frames at 32 bpp: crashed with signal 11 (Segmentation fault) in Update at frame "
      "80, mouse (639, 479, buttons 1)"}},
    {"writes_mouse",
     {"FAIL  frames at 32 bpp: Update at frame 10 wrote to the MouseInput the host gave it: (0, "
      "-1, buttons 1) became (0, 0, buttons 1)"}},
    {"leak_frame",
     {"FAIL  frames at 32 bpp: resident memory +1.0", "kB a frame over frames 500-2950",
      "Update or Draw keeps memory it allocates"},
     true},
    {"leak_cycle",
     {"FAIL  Init/Shutdown cycles: resident memory +2", "kB a cycle over cycles 10-59",
      "outlives Shutdown", "PASS  frames at 32 bpp"},
     true},
    {"score_after_shutdown",
     {"FAIL  lifecycle: crashed with signal 11 (Segmentation fault) in GetScore after Shutdown"}},
    {"changes_depth",
     {"FAIL  Init in time: Init changed the colour depth (set_color_depth) from 32 to 16"}},
    {"writes_file", {"FAIL  Init in time: the module created score.txt in the working folder"}},
    {"slow_draw",
     {"FAIL  frames at 32 bpp: 31 of the first", "frames took over 16.67 ms (Update+Draw median",
      "too slow for 60 frames a second", "PASS  lifecycle"}},
    {"slow_init",
     {"FAIL  Init in time: Init took ", "ms, over the 100.0 ms a host waits",
      "PASS  Init/Shutdown cycles", "PASS  load cycles"}},
    {"hang",
     {"FAIL  frames at 32 bpp: did not return within 5 s: hung in Update at frame 1000, mouse ("},
     false,
     true},
    {"exits",
     {"FAIL  frames at 32 bpp: ended the process with exit status ", " in Update at frame 50"}},
    {"removes_timer",
     {"FAIL  Init in time: Shutdown changed the timer (remove_timer) from installed to removed"}},
    {"timer_left",
     {"FAIL  unload: ", "timer callback", "of the module's", "PASS  frames at 32 bpp",
      "PASS  frames at 16 bpp", "PASS  lifecycle"}},
    {"thread_left",
     {"FAIL  unload: 1 thread(s) started by Init or a frame still run after Shutdown and delete",
      "PASS  frames at 32 bpp", "PASS  frames at 16 bpp", "PASS  lifecycle"}},
};

INSTANTIATE_TEST_SUITE_P(ValidatorTest, BrokenModule, testing::ValuesIn(kBroken),
                         [](const testing::TestParamInfo<Broken>& info) {
                           return std::string(info.param.module);
                         });

TEST(ValidatorTest, JsonReportsEachCheck) {
  Outcome result = Validate(TestModule("null_name"), "--seed 7 --json");
  EXPECT_EQ(result.status, 8) << result.output;
  EXPECT_TRUE(Says(result,
                   "{\"name\": \"identity\", \"passed\": false, \"detail\": "
                   "\"GetName answered null\"}"))
      << result.output;
  EXPECT_TRUE(Says(result, "\"failed\": 1\n}")) << result.output;
  EXPECT_FALSE(Says(result, "PASS  ")) << "JSON only:\n" << result.output;
}

// The module prints on stdout and stderr and names itself in Latin-1: the
// report holds none of its output and is valid UTF-8.
TEST(ValidatorTest, ModuleOutputStaysOutOfTheReport) {
  const std::string module = TestModule("prints");
  const std::string report = std::string(TEST_MODULES_DIR) + "/prints.json";
  Outcome json =
      RunCommand("env -u DISPLAY " + kGamehost + " --validate --json " + module + " 2>/dev/null >" +
                 report + "; iconv -f UTF-8 -t UTF-8 " + report + " >/dev/null && cat " + report);
  EXPECT_EQ(json.status, 0) << "not UTF-8:\n" << json.output;
  EXPECT_EQ(json.output.rfind("{\n  \"module\": ", 0), 0u) << json.output;
  EXPECT_TRUE(Says(json, "Test Game caf\xef\xbf\xbd 1.0 by Flintmoor tests")) << json.output;
  Outcome text = Validate(module);
  EXPECT_EQ(text.status, 0) << text.output;
  EXPECT_FALSE(Says(text, "Test Game starting")) << text.output;
  EXPECT_FALSE(Says(text, "assets")) << text.output;
}

// (Every other test here runs it without a display, on its own Xvfb.)
TEST(ValidatorTest, WithoutADisplayOrXvfbItSaysSoAtOnce) {
  Outcome none = RunCommand("env -u DISPLAY PATH=/nonexistent " + kGamehost + " --validate " +
                            TestModule("good"));
  EXPECT_EQ(none.status, 5) << none.output;
  EXPECT_EQ(none.output,
            "gamehost: no display: DISPLAY is not set and Xvfb is not installed (apt-get install "
            "xvfb, or run under xvfb-run)\n");
}

// What a child process is started with where the system can't fork: one
// check, named, done in this process; a person can run it alone the same way.
TEST(ValidatorTest, OneCheckRunsAloneByName) {
  Outcome unload = Validate(FLINTMOOR_MODULE_PATH, "--isolated-work unload");
  EXPECT_EQ(unload.status, 0) << unload.output;
  EXPECT_TRUE(Says(unload, "PASS  unload: nothing of the module ran on after unloading"))
      << unload.output;
  EXPECT_FALSE(Says(unload, "passed,")) << "ran more than the one check:\n" << unload.output;

  Outcome unknown = Validate(FLINTMOOR_MODULE_PATH, "--isolated-work 'no such check'");
  EXPECT_EQ(unknown.status, 2) << unknown.output;
  EXPECT_TRUE(Says(unknown, "no check named 'no such check'")) << unknown.output;

#ifdef __SANITIZE_ADDRESS__
  // After a failure the module is left loaded on purpose, which LeakSanitizer
  // reports when the check ran in this process rather than a child.
  GTEST_SKIP() << "a failing check run alone is not judged under AddressSanitizer";
#endif
  Outcome same = Validate(TestModule("same_object"), "--isolated-work 'exports GetPlugin'");
  EXPECT_EQ(same.status, 8) << same.output;
  EXPECT_TRUE(Says(same, "FAIL  exports GetPlugin: two GetPlugin calls answered the same object"))
      << same.output;
}

TEST(ValidatorTest, MissingModuleIsAUsageFailure) {
  Outcome result = Validate("no-such-module.so");
  EXPECT_EQ(result.status, 3) << result.output;
  EXPECT_TRUE(Says(result, "no game module at 'no-such-module.so'")) << result.output;
}

}  // namespace
