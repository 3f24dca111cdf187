// gamehost --watch as a module author uses it: the example module built
// for real, again and again, while it plays; each new build in the same
// window, a broken one named while the last good one plays on.
#include <fstream>
#include <regex>
#include <string>

#include "Command.h"
#include "SessionFixture.h"

namespace {

class WatchTest : public SessionTest {
 protected:
  // The example's source with each (pattern, replacement) made, built into
  // balloons.so with the kit's flags, as its author would.
  void Build(const std::vector<std::pair<std::string, std::string>>& changes) {
    std::ifstream in(std::string(FLINTMOOR_SOURCE_DIR) + "/examples/balloons/balloons.cpp");
    std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const auto& [pattern, replacement] : changes) {
      source = std::regex_replace(source, std::regex(pattern), replacement);
    }
    std::ofstream(data_.Path() + "/balloons.cpp") << source;
    const Outcome built =
        RunCommand("cd " + data_.Path() +
                   " && " WATCH_COMPILER
                   " -std=c++17 -shared -fPIC -fvisibility=hidden -fno-gnu-unique " WATCH_SANITIZE
                   " -I" PLUGIN_INCLUDE_DIR " balloons.cpp -o balloons.new " PLUGIN_LIBRARY
                   " $(pkg-config --cflags --libs allegro) && mv balloons.new balloons.so");
    ASSERT_EQ(built.status, 0) << built.output;
  }
  std::string Module() const { return data_.Path() + "/balloons.so"; }
};

TEST_F(WatchTest, EachNewBuildPlaysInTheSameWindowAndABrokenOneIsNamed) {
  ASSERT_NO_FATAL_FAILURE(Build({}));
  HostProcess host("--watch " + Module(), Environment());
  const auto first = FindWindow("Balloons 1.0 (build 1)");
  ASSERT_TRUE(first) << host.Output();

  ASSERT_NO_FATAL_FAILURE(Build({{"\"1\\.0\"", "\"1.1\""}}));
  const auto second = FindWindow("Balloons 1.1 (build 2)", 10);
  ASSERT_TRUE(second) << "the new build did not play\n" << host.Output();
  EXPECT_EQ(second->id, first->id) << "the same window";

  ASSERT_NO_FATAL_FAILURE(Build({{"IGame\\* GetPlugin\\(\\)", "IGame* GetPluginNot()"}}));
  ASSERT_TRUE(host.WaitFor("build 3 can't be loaded: it exports no GetPlugin", 10))
      << host.Output();
  EXPECT_TRUE(FindWindow("Balloons 1.1 (build 2)", 5)) << "the last good build plays on";

  // A build that crashes in its 30th frame (a trap, which no sanitizer of the
  // build takes for its own): played, it leaves build 2 playing.
  ASSERT_NO_FATAL_FAILURE(Build({{"\"1\\.0\"", "\"1.3\""},
                                 {"int32_t Update\\(int32_t, MouseInput\\* mouse\\) override \\{",
                                  "$& if (frames_ == 30) __builtin_trap();"}}));
  const auto crashing = FindWindow("Balloons 1.3 (build 4)", 10);
  ASSERT_TRUE(crashing) << host.Output();
  MoveMouse(*crashing, 320, 240);
  ClickMouse();
  ASSERT_TRUE(host.WaitFor("build 4 crashed with signal 4", 20)) << host.Output();
  EXPECT_TRUE(Says({0, host.Output()}, "; build 2 plays")) << host.Output();
  const auto again = FindWindow("Balloons 1.1 (build 2)", 10);
  ASSERT_TRUE(again) << host.Output();
  EXPECT_EQ(QuitWith(host, *again, "Escape"), 0) << host.Output();
}

}  // namespace
