// An argument quoted for a Windows command line reads back as itself.
#include <gtest/gtest.h>

#include <string>

#include "CommandLine.h"

namespace {

// The C runtime's reading of one quoted argument (the rule
// CommandLineToArgvW follows): 2n backslashes before a quote are n and the
// quote ends the argument; 2n+1 are n and a literal quote; others are
// themselves.
std::string ReadBack(const std::string& line) {
  std::string argument;
  size_t at = 0;
  EXPECT_EQ(line.front(), '"');
  for (at = 1; at < line.size();) {
    size_t backslashes = 0;
    while (at < line.size() && line[at] == '\\') ++backslashes, ++at;
    if (at < line.size() && line[at] == '"') {
      argument.append(backslashes / 2, '\\');
      if (backslashes % 2 == 0) {
        EXPECT_EQ(at, line.size() - 1) << "ends before the end: " << line;
        return argument;
      }
      argument += '"';
      ++at;
    } else {
      argument.append(backslashes, '\\');
      if (at < line.size()) argument += line[at++];
    }
  }
  ADD_FAILURE() << "no closing quote: " << line;
  return argument;
}

TEST(CommandLineTest, QuotedArgumentsReadBackAsThemselves) {
  for (const char* argument :
       {"", "plain", "two words", "C:\\Program Files\\gamehost.exe", "folder\\", "a\\\\",
        "say \"hi\"", "\\\"", "end\\\"s", "tab\there", "caf\xc3\xa9 \xe3\x83\x80"}) {
    EXPECT_EQ(ReadBack(QuotedForWindows(argument)), argument) << QuotedForWindows(argument);
  }
  EXPECT_EQ(QuotedForWindows("folder\\"), "\"folder\\\\\"") << "a backslash before the close";
  EXPECT_EQ(QuotedForWindows("a\\b"), "\"a\\b\"") << "others stay single";
}

}  // namespace
