// gamehost --validate against the project's module, a small well-behaved
// module of another kind, and modules broken on purpose.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Command.h"

namespace {

namespace fs = std::filesystem;

const std::string kGamehost = FLINTMOOR_GAMEHOST_PATH;

// Validates from the build folder, where the modules' games/ folder is.
Outcome Validate(const std::string& module, const std::string& options = "") {
  return RunCommand("cd " + fs::path(kGamehost).parent_path().string() + " && " + kGamehost +
                    " --validate --seed 7 " + options + " " + module);
}

std::string TestModule(const std::string& name) {
  return std::string(TEST_MODULES_DIR) + "/test_" + name + ".so";
}

TEST(ValidatorTest, FlintmoorPassesEveryCheck) {
  Outcome result = Validate(FLINTMOOR_MODULE_PATH);
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_TRUE(Says(result, "10 passed, 0 failed")) << result.output;
  EXPECT_FALSE(Says(result, "FAIL")) << result.output;
}

TEST(ValidatorTest, AnotherWellBehavedGamePassesToo) {
  Outcome result = Validate(TestModule("good"));
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_TRUE(Says(result, "10 passed, 0 failed")) << result.output;
}

// Each broken module is caught by the check for its defect, and the
// validator, whose checks run in child processes, lives to report them all.
TEST(ValidatorTest, BrokenModulesAreCaughtByTheRightCheck) {
  struct Case {
    const char* module;
    std::vector<std::string> failures;
  };
  const Case cases[] = {
      {"draw_outside",
       {"FAIL  frames at 32 bpp: Draw wrote at", "FAIL  frames at 16 bpp: Draw wrote at"}},
      {"null_name", {"FAIL  identity: GetName answered null"}},
      {"crash", {"FAIL  frames at 32 bpp: crashed with signal 11", "in Update or Draw"}},
      {"timer_left", {"FAIL  unload: crashed with signal 11", "timer callback left behind"}},
  };
  for (const Case& c : cases) {
    Outcome result = Validate(TestModule(c.module));
    EXPECT_EQ(result.status, 8) << c.module << ":\n" << result.output;
    for (const std::string& failure : c.failures) {
      EXPECT_TRUE(Says(result, failure)) << c.module << " lacks '" << failure << "':\n"
                                         << result.output;
    }
    EXPECT_TRUE(Says(result, " passed, ")) << c.module << ": no summary\n" << result.output;
    EXPECT_TRUE(Says(result, "PASS  exports GetPlugin")) << c.module << ":\n" << result.output;
  }
}

TEST(ValidatorTest, JsonReportsEachCheck) {
  Outcome result = Validate(TestModule("null_name"), "--json");
  EXPECT_EQ(result.status, 8) << result.output;
  EXPECT_TRUE(Says(result,
                   "{\"name\": \"identity\", \"passed\": false, \"detail\": "
                   "\"GetName answered null\"}"))
      << result.output;
  EXPECT_TRUE(Says(result, "\"failed\": 1\n}")) << result.output;
  EXPECT_FALSE(Says(result, "PASS  ")) << "JSON only:\n" << result.output;
}

TEST(ValidatorTest, MissingModuleIsAUsageFailure) {
  Outcome result = Validate("no-such-module.so");
  EXPECT_EQ(result.status, 3) << result.output;
  EXPECT_TRUE(Says(result, "no game module at 'no-such-module.so'")) << result.output;
}

}  // namespace
