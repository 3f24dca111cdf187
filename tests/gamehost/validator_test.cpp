// gamehost --validate against the project's modules, small correct modules of
// another kind (with resources of their own, without any, and built against
// the interface as released), and modules broken on purpose, one defect each.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "BrokenModules.h"
#include "Command.h"
#include "System.h"

namespace {

namespace fs = std::filesystem;

const std::string kGamehost = FLINTMOOR_GAMEHOST_PATH;

// Validates from FOLDER (by default the build folder, where flintmoor's
// games/ folder is), on a private display the validator starts itself: its
// windows stay off the display other tests click on.
Outcome Validate(const std::string& module, const std::string& options = "--seed 7",
                 const std::string& folder = fs::path(kGamehost).parent_path().string()) {
  return RunCommand(InFolder(folder) + WithoutDisplay() + Quoted(kGamehost) + " --validate " +
                    options + " " + Quoted(module));
}

std::string TestModule(const std::string& name) {
  return std::string(TEST_MODULES_DIR) + "/" + ModuleFileName("test_" + name);
}

// As many as gamehost --list-checks names.
int CheckCount() {
  const Outcome list = RunCommand(Quoted(kGamehost) + " --list-checks");
  return int(std::count(list.output.begin(), list.output.end(), '\n'));
}

std::string AllPassed() {
  return std::to_string(CheckCount()) + " passed, 0 failed";
}

// The one run of every check on the project's own module in a build, started
// in the source tree (which has no games/ folder): gamehost still finds the
// built module's.
TEST(ValidatorTest, FlintmoorPassesEveryCheckFromTheSourceTree) {
  Outcome result = Validate(FLINTMOOR_MODULE_PATH, "--seed 7", FLINTMOOR_SOURCE_DIR);
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_TRUE(Says(result, AllPassed())) << result.output;
  EXPECT_FALSE(Says(result, "FAIL")) << result.output;
}

// Correct modules pass whatever the input: with resources of their own (found
// beside the module), needing none, or built against the frozen interface;
// and the collection's second game, built on the kit alone. A test a seed,
// each within a test's time on a busy machine. A validation takes a minute
// in a sanitized build, half of one under Wine: there one seed (the input a
// seed makes is the same on every system, and the normal Linux build runs
// all three).
#if defined(FLINTMOOR_SANITIZED) || defined(_WIN32)
const std::vector<std::string> kSeeds = {"7"};
#else
const std::vector<std::string> kSeeds = {"1", "7", "20260"};
#endif

class CorrectModule : public testing::TestWithParam<std::tuple<std::string, std::string>> {};

TEST_P(CorrectModule, PassesEveryCheck) {
  const auto [name, seed] = GetParam();
  const std::string module = name == "molehill" ? MOLEHILL_MODULE_PATH : TestModule(name);
  Outcome result = Validate(module, std::string("--seed ") + seed);
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_TRUE(Says(result, AllPassed())) << result.output;
}

INSTANTIATE_TEST_SUITE_P(ValidatorTest, CorrectModule,
                         testing::Combine(testing::ValuesIn(std::vector<std::string>{
                                              "good", "standalone", "frozen", "molehill"}),
                                          testing::ValuesIn(kSeeds)),
                         [](const testing::TestParamInfo<CorrectModule::ParamType>& info) {
                           return std::get<0>(info.param) + "_seed_" + std::get<1>(info.param);
                         });

// Correct modules of other kinds, as authors write them, pass too: no false
// alarm for a thread of their own joined in Shutdown, a game written in C,
// many kinds of drawing with every setting put back, a large allocation,
// the host's state used and put back, megabytes allocated and freed every
// frame.
class CorrectModuleOfAnotherKind : public testing::TestWithParam<const char*> {};

TEST_P(CorrectModuleOfAnotherKind, PassesEveryCheck) {
  Outcome result = Validate(TestModule(GetParam()));
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_TRUE(Says(result, AllPassed())) << result.output;
}

INSTANTIATE_TEST_SUITE_P(ValidatorTest, CorrectModuleOfAnotherKind,
                         testing::Values("own_thread", "c_game", "many_drawings", "big_memory",
                                         "puts_state_back", "churns_memory"));

// (These run the checks they are about: every check of these modules is the
// correct modules' tests'.)
TEST(ValidatorTest, ModuleWithoutResourcesIsRunWithoutThem) {
  const std::string check = "--check " + Quoted("without resources");
  Outcome standalone = Validate(TestModule("standalone"), check);
  EXPECT_TRUE(Says(standalone,
                   "PASS  without resources: Init answered true in an empty folder; "
                   "300 frames ran without resources"))
      << standalone.output;
  Outcome good = Validate(TestModule("good"), check);
  EXPECT_TRUE(Says(good, "PASS  without resources: Init answered false in an empty folder"))
      << good.output;
}

TEST(ValidatorTest, ModuleBuiltAgainstTheFrozenInterfacePlaysInTodaysHost) {
  // Its window on a display of its own: this suite's tests don't take turns
  // on the shared one, where a window test would lose its focus to it.
#ifdef _WIN32
  const std::string onItsOwnDisplay;  // (there they do take turns)
#else
  const std::string onItsOwnDisplay =
      WithoutDisplay() + Quoted(std::string(FLINTMOOR_SOURCE_DIR) + "/tools/with-display") + " ";
#endif
  Outcome result = RunCommand(onItsOwnDisplay + Quoted(kGamehost) + " --frames 30 " +
                              Quoted(TestModule("frozen")));
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_TRUE(Says(result, "best score 30, 0 escapes in 30 frames")) << result.output;
}

class BrokenModuleTest : public testing::TestWithParam<BrokenModule> {};

// Each broken module is caught by the check for its defect, which says what
// to fix; the validator, whose checks run in child processes of their own
// process groups, lives to report every check it runs (whatever the module
// does to its group), and never mistakes a slow or stopped clock for a
// hang. (Flintmoor and the correct modules go through every check.)
TEST_P(BrokenModuleTest, IsCaughtByTheRightCheck) {
  const BrokenModule& broken = GetParam();
#ifdef __SANITIZE_ADDRESS__
  if (broken.memory) GTEST_SKIP() << "memory growth is not judged under AddressSanitizer";
  if (broken.valgrind) GTEST_SKIP() << "valgrind can't run an AddressSanitizer build";
#endif
  // The checks that tell, each in its child process, as in a whole run.
  std::string checks = "--seed 7";
  for (const auto& list :
       {std::vector<std::string>{broken.check}, broken.alsoFails, broken.alsoPasses}) {
    for (const std::string& check : list) checks += " --check " + Quoted(check);
  }
  Outcome result = Validate(TestModule(broken.name), checks);
  EXPECT_EQ(result.status, 8) << result.output;
  EXPECT_TRUE(Says(result, "FAIL  " + broken.check + ": ")) << result.output;
  for (const std::string& part : broken.words) {
    EXPECT_TRUE(Says(result, part)) << "lacks '" << part << "':\n" << result.output;
  }
  for (const std::string& check : broken.alsoFails) {
    EXPECT_TRUE(Says(result, "FAIL  " + check + ": ")) << result.output;
  }
  for (const std::string& check : broken.alsoPasses) {
    EXPECT_TRUE(Says(result, "PASS  " + check + ": ")) << result.output;
  }
  EXPECT_TRUE(Says(result, " passed, ")) << "no summary:\n" << result.output;
  if (!broken.hangs) {
    EXPECT_FALSE(Says(result, "hung")) << result.output;
  }
#ifndef _WIN32  // (a job object ends a Windows check's processes with it)
  // Whatever the module started is gone with its check: looked for by the
  // module's whole path (another build's tests may validate one of the same
  // name), which the pattern, unlike pgrep's own command line, does not hold.
  std::string running = TestModule(broken.name);
  running.replace(running.rfind('.'), 1, "[.]");
  EXPECT_EQ(RunCommand("pgrep -f " + Quoted(running)).output, "");
#endif
}

INSTANTIATE_TEST_SUITE_P(ValidatorTest, BrokenModuleTest,
                         testing::ValuesIn(ReadBrokenModules(BROKEN_MODULES_TABLE)),
                         [](const testing::TestParamInfo<BrokenModule>& info) {
                           return info.param.name;
                         });

TEST(ValidatorTest, JsonReportsEachCheck) {
  Outcome result =
      Validate(TestModule("null_name"), "--seed 7 --json --check identity --check SetPath");
  EXPECT_EQ(result.status, 8) << result.output;
  const auto report = nlohmann::json::parse(result.output);  // JSON alone: no PASS lines
  EXPECT_EQ(report["seed"], 7);
  EXPECT_EQ(report["checks"].size(), 2u);
  const auto identity = std::find_if(report["checks"].begin(), report["checks"].end(),
                                     [](const auto& check) { return check["name"] == "identity"; });
  ASSERT_NE(identity, report["checks"].end()) << result.output;
  EXPECT_EQ(*identity, nlohmann::json::parse(R"({"name": "identity", "passed": false,
                                                 "detail": "GetName answered null"})"));
  EXPECT_EQ(report["failed"], 1);
}

// The module prints on stdout and stderr and names itself in Latin-1: the
// report holds none of its output and is valid UTF-8.
TEST(ValidatorTest, ModuleOutputStaysOutOfTheReport) {
  const std::string module = TestModule("prints");
  // The checks that start the game, where it prints.
  const std::string checks = "--check identity --check " + Quoted("Init in time");
#ifndef _WIN32  // iconv, the judge of UTF-8 here, is Linux's
  const std::string report = std::string(TEST_MODULES_DIR) + "/prints.json";
  Outcome json = RunCommand("env -u DISPLAY " + kGamehost + " --validate --json " + checks + " " +
                            module + " 2>/dev/null >" + report + "; iconv -f UTF-8 -t UTF-8 " +
                            report + " >/dev/null && cat " + report);
  EXPECT_EQ(json.status, 0) << "not UTF-8:\n" << json.output;
  const auto parsed = nlohmann::json::parse(json.output);
  EXPECT_EQ(parsed["module"], module);
  EXPECT_EQ(parsed["failed"], 0);
  EXPECT_TRUE(Says(json, "Test Game caf\xef\xbf\xbd 1.0 by Flintmoor tests")) << json.output;
#endif
  Outcome text = Validate(module, checks);
  EXPECT_EQ(text.status, 0) << text.output;
  EXPECT_FALSE(Says(text, "Test Game starting")) << text.output;
  EXPECT_FALSE(Says(text, "assets")) << text.output;
}

#ifndef _WIN32  // ALSA, valgrind and Xvfb are Linux's
// gamehost's own output (ALSA's complaints as sound starts) is not shown as
// the module's: a module that prints nothing fails with no output under it.
TEST(ValidatorTest, TheHostsOwnOutputIsNotTheModules) {
  Outcome result = Validate(TestModule("plays_on"), "--check 'as gamehost plays at 1x'");
  EXPECT_TRUE(Says(result, "Shutdown left 1 voice(s) playing")) << result.output;
  EXPECT_FALSE(Says(result, "module output")) << result.output;
}

// A timer callback left installed is named where it was left, in the cycle
// that left it, not as a crash of the next load.
TEST(ValidatorTest, ATimerLeftByALoadCycleIsNamedAsSuch) {
  Outcome result = Validate(TestModule("timer_left"), "--check 'load cycles'");
  EXPECT_TRUE(Says(result, "FAIL  load cycles: ")) << result.output;
  EXPECT_TRUE(Says(result, "timer callback")) << result.output;
  EXPECT_TRUE(Says(result, "in load cycle 0")) << result.output;
  EXPECT_FALSE(Says(result, "static constructors")) << result.output;
}

// Where valgrind is missing the memcheck check passes as not run, and says
// why; the rest of the validation goes on.
TEST(ValidatorTest, WithoutValgrindMemcheckSaysItDidNotRun) {
  const fs::path only = fs::path(TEST_MODULES_DIR) / "path-without-valgrind";
  fs::create_directories(only);
  const std::string xvfb = RunCommand("command -v Xvfb").output;
  std::error_code exists;  // (made by an earlier run)
  fs::create_symlink(xvfb.substr(0, xvfb.find('\n')), only / "Xvfb", exists);
  Outcome result = RunCommand("env -u DISPLAY PATH=" + only.string() + " " + kGamehost +
                              " --validate --check memcheck " + TestModule("uninitialised_draw"));
  EXPECT_EQ(result.status, 0) << result.output;
#ifdef __SANITIZE_ADDRESS__  // the reason that comes first there
  EXPECT_TRUE(Says(result, "PASS  memcheck: not run: this gamehost is built with AddressSanitizer"))
      << result.output;
#else
  EXPECT_TRUE(Says(result, "PASS  memcheck: not run: valgrind is not installed here"))
      << result.output;
#endif
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
#endif

// What a child process is started with where the system can't fork: one
// check, named, done in this process; a person can run it alone the same way.
TEST(ValidatorTest, OneCheckRunsAloneByName) {
#ifdef __SANITIZE_ADDRESS__
  // Run in gamehost's own process, which then exits, the check's sound
  // start-up meets the leak of Allegro's ALSA driver (lsan.supp), which only
  // a stack unwound slowly names: the driver is unloaded by then.
  const char* options = std::getenv("ASAN_OPTIONS");
  setenv("ASAN_OPTIONS",
         (std::string(options != nullptr ? options : "") + ":fast_unwind_on_malloc=0").c_str(), 1);
#endif
  Outcome unload = Validate(FLINTMOOR_MODULE_PATH, "--isolated-work unload");
  EXPECT_EQ(unload.status, 0) << unload.output;
  EXPECT_TRUE(Says(unload, "PASS  unload: nothing of the module ran on after unloading"))
      << unload.output;
  EXPECT_FALSE(Says(unload, "passed,")) << "ran more than the one check:\n" << unload.output;

  Outcome unknown = Validate(FLINTMOOR_MODULE_PATH, "--isolated-work " + Quoted("no such check"));
  EXPECT_EQ(unknown.status, 2) << unknown.output;
  EXPECT_TRUE(Says(unknown, "no check named 'no such check'")) << unknown.output;

#ifdef __SANITIZE_ADDRESS__
  // After a failure the module is left loaded on purpose, which LeakSanitizer
  // reports when the check ran in this process rather than a child.
  GTEST_SKIP() << "a failing check run alone is not judged under AddressSanitizer";
#endif
  Outcome same =
      Validate(TestModule("same_object"), "--isolated-work " + Quoted("exports GetPlugin"));
  EXPECT_EQ(same.status, 8) << same.output;
  EXPECT_TRUE(Says(same, "FAIL  exports GetPlugin: two GetPlugin calls answered the same object"))
      << same.output;
}

// The checks are one table: listed with what each holds a module to, one
// run alone by name, and counted in every report.
TEST(ValidatorTest, ChecksAreListedAndOneRunsByName) {
  const Outcome list = RunCommand(Quoted(kGamehost) + " --list-checks");
  EXPECT_EQ(list.status, 0) << list.output;
  EXPECT_TRUE(Says(list, "\nunload: after Shutdown and delete nothing of the module runs on"))
      << list.output;
  EXPECT_TRUE(Says(list, "\nas gamehost plays at 2x: ")) << list.output;
  const auto json =
      nlohmann::json::parse(RunCommand(Quoted(kGamehost) + " --list-checks --json").output);
  ASSERT_EQ(json.size(), size_t(CheckCount()));
  EXPECT_EQ(json[0]["name"], "exports GetPlugin");
  EXPECT_FALSE(json[0]["promise"].get<std::string>().empty());

  const Outcome one = Validate(TestModule("standalone"), "--check lifecycle");
  EXPECT_EQ(one.status, 0) << one.output;
  EXPECT_TRUE(Says(one, "PASS  lifecycle: ")) << one.output;
  EXPECT_TRUE(Says(one, "1 passed, 0 failed")) << one.output;
  const Outcome failing = Validate(TestModule("crash"), "--check " + Quoted("frames at 16 bpp"));
  EXPECT_EQ(failing.status, 8) << failing.output;
  EXPECT_TRUE(Says(failing, "0 passed, 1 failed")) << failing.output;
  const Outcome unknown = Validate(TestModule("standalone"), "--check " + Quoted("no such check"));
  EXPECT_EQ(unknown.status, 2) << unknown.output;
  EXPECT_TRUE(Says(unknown, "no check named 'no such check' (gamehost --list-checks names them)"))
      << unknown.output;
}

TEST(ValidatorTest, MissingModuleIsAUsageFailure) {
  const std::string missing = ModuleFileName("no-such-module");
  Outcome result = Validate(missing);
  EXPECT_EQ(result.status, 3) << result.output;
  EXPECT_TRUE(Says(result, "no game module at '" + missing + "'")) << result.output;
}

}  // namespace
