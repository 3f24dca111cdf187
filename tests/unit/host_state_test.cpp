// What the validator reads of the host's state, and how it names a change:
// each thing a module may take from the host, changed here as a module
// would change it, shows by name, and the same state read twice is no
// change.
#include <allegro.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "HostState.h"

namespace {

namespace fs = std::filesystem;

bool Says(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

void OnHangUp(int) {}

TEST(HostStateTest, ReadTwiceItIsUnchanged) {
  EXPECT_EQ(HostStateChanges(CurrentHostState(), CurrentHostState()), "");
}

// Each change named with what it was and what it became, numbers by the
// names a programmer wrote them in.
TEST(HostStateTest, EachChangeAModuleCanMakeIsNamed) {
  const HostState before = CurrentHostState();
  const int conversion = get_color_conversion();
  set_color_conversion(COLORCONV_EXPAND_256 | COLORCONV_KEEP_TRANS);
  setenv("HOST_STATE_TEST", "set", 1);
  sigset_t hangUp, mask;
  sigemptyset(&hangUp);
  sigaddset(&hangUp, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &hangUp, &mask);
  struct sigaction handler {
  }, was{};
  handler.sa_handler = OnHangUp;
  sigaction(SIGHUP, &handler, &was);
  const fs::path folder = fs::current_path();
  fs::current_path(fs::temp_directory_path());
  const std::string locale = std::setlocale(LC_ALL, nullptr);
  std::setlocale(LC_ALL, locale == "C" ? "C.UTF-8" : "C");

  const std::string changes = HostStateChanges(before, CurrentHostState());

  std::setlocale(LC_ALL, locale.c_str());
  fs::current_path(folder);
  sigaction(SIGHUP, &was, nullptr);
  pthread_sigmask(SIG_SETMASK, &mask, nullptr);
  unsetenv("HOST_STATE_TEST");
  set_color_conversion(conversion);
  EXPECT_EQ(HostStateChanges(before, CurrentHostState()), "") << "not all put back";

  EXPECT_TRUE(Says(changes, "to COLORCONV_EXPAND_256 | COLORCONV_KEEP_TRANS")) << changes;
  EXPECT_TRUE(Says(changes,
                   "the environment variable HOST_STATE_TEST (setenv) from none to "
                   "\"set\""))
      << changes;
  EXPECT_TRUE(Says(changes, "to 1 (Hangup) blocked")) << changes;
  EXPECT_TRUE(Says(changes,
                   "the handler of signal 1 (Hangup) from default to handled by "
                   "(anonymous namespace)::OnHangUp(int) in "))
      << changes;
  EXPECT_TRUE(Says(changes, "the working folder (chdir) from " + folder.string() + " to " +
                                fs::temp_directory_path().string()))
      << changes;
  EXPECT_TRUE(Says(changes, "the C locale (setlocale) from " + locale + " to ")) << changes;
}

// A variable removed shows as much as one added.
TEST(HostStateTest, WhatIsGoneIsAChangeToNone) {
  const HostState before = {{"the environment variable A (setenv)", "\"1\""}};
  EXPECT_EQ(HostStateChanges(before, {}), "the environment variable A (setenv) from \"1\" to none");
  EXPECT_EQ(HostStateChanges({}, before), "the environment variable A (setenv) from none to \"1\"");
  // As lists, one line a variable, each read as an entry of its own.
  const HostState list = {{"the environment variable {} (setenv)", "A\t\"1\"\nB\t\"2\"\n"}};
  const HostState changed = {{"the environment variable {} (setenv)", "B\t\"3\"\nC\t\"4\"\n"}};
  EXPECT_EQ(HostStateChanges(list, changed),
            "the environment variable A (setenv) from \"1\" to none, the environment variable B "
            "(setenv) from \"2\" to \"3\", the environment variable C (setenv) from none to \"4\"");
}

}  // namespace
