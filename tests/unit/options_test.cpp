// gamehost's command line: parsed from its one table, listed by --help, and
// the same options the README's table names.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "HostError.h"
#include "Options.h"

namespace {

Options Parse(std::vector<std::string> words) {
  words.insert(words.begin(), "gamehost");
  std::vector<char*> argv;
  argv.reserve(words.size());
  for (std::string& word : words) argv.push_back(word.data());
  return ParseOptions(int(argv.size()), argv.data());
}

// The status and message of a command line that is refused.
std::pair<int, std::string> Refusal(const std::vector<std::string>& words) {
  try {
    Parse(words);
  } catch (const HostError& error) {
    return {error.status, error.what()};
  }
  return {-1, "accepted"};
}

TEST(OptionsTest, EachOptionSetsWhatItNames) {
  const Options options = Parse({"--autoplay", "--frames", "90", "--fps", "120", "--escapes", "0",
                                 "--scale", "2", "--seed", "4294967295", "--screenshot", "Shot.PNG",
                                 "--fullscreen", "--no-save", "--verbose", "game.so"});
  EXPECT_EQ(options.module, "game.so");
  EXPECT_TRUE(options.play.autoplay && options.play.fullscreen && options.play.noSave &&
              options.play.verbose);
  EXPECT_EQ(options.play.frames, 90);
  EXPECT_EQ(options.play.fps, 120);
  EXPECT_EQ(options.play.escapes, 0);
  EXPECT_EQ(options.play.scale, 2);
  EXPECT_EQ(options.play.seed, 4294967295u) << "a seed is 32 bits even where a long is";
  EXPECT_EQ(options.check.seed, 4294967295u) << "the validator's input follows it too";
  EXPECT_EQ(options.play.screenshot, "Shot.PNG");
  EXPECT_FALSE(options.validate || options.info);

  const Options check = Parse({"--validate", "--json", "mine.so"});
  EXPECT_TRUE(check.validate && check.check.json);
  EXPECT_EQ(check.check.module, "mine.so");
}

TEST(OptionsTest, DefaultsAreAPersonsSession) {
  const Options options = Parse({});
  EXPECT_EQ(options.module, "");
  EXPECT_EQ(options.play.fps, 60);
  EXPECT_EQ(options.play.escapes, 10);
  EXPECT_EQ(options.play.frames, 0);
  EXPECT_EQ(options.play.scale, 0);
  EXPECT_EQ(options.play.seed, 1u);
}

TEST(OptionsTest, BadCommandLinesAreRefusedSayingWhy) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--frames"}, "--frames needs a value"},
      {{"--frames", "0"}, "--frames takes a whole number from 1 to "},
      {{"--fps", "1001"}, "--fps takes a whole number from 1 to 1000, not '1001'"},
      {{"--fps", "6O"}, "not '6O'"},
      {{"--scale", ""}, "--scale takes a whole number from 1 to 16, not ''"},
      {{"--seed", "-1"}, "--seed takes a whole number from 0 to 4294967295"},
      {{"--escapes", "99999999999999999999"}, "--escapes takes a whole number"},
      {{"--fps", " 60"}, "not ' 60'"},
      {{"--fps", "60 "}, "not '60 '"},
      {{"--frames", "+5"}, "not '+5'"},
      {{"--screenshot", "shot.jpg"}, "--screenshot saves .png, .bmp, .pcx or .tga pictures"},
      {{"--screenshot", "shot"}, "not 'shot'"},
      {{"--bogus"}, "unexpected '--bogus' (see gamehost --help)"},
      {{"one.so", "two.so"}, "unexpected 'two.so'"},
  };
  for (const auto& [words, says] : cases) {
    const auto [status, message] = Refusal(words);
    EXPECT_EQ(status, kExitUsage) << words[0];
    EXPECT_NE(message.find(says), std::string::npos) << message;
  }
}

TEST(OptionsTest, HelpListsEveryOptionGamehostDoesNotKeepToItself) {
  for (const char* asked : {"--help", "-h"}) {
    const auto [status, usage] = Refusal({asked});
    EXPECT_EQ(status, kExitOk);
    for (const OptionName& option : OptionNames()) {
      const std::string shown = option.name + (option.value.empty() ? "" : " " + option.value);
      EXPECT_EQ(usage.find("  " + shown + " ") != std::string::npos, !option.help.empty())
          << shown << "\n"
          << usage;
    }
  }
}

// The README's table of options, row by row: `--frames N` | what it does.
TEST(OptionsTest, TheReadmesTableNamesExactlyTheOptions) {
  std::ifstream readme(std::string(FLINTMOOR_SOURCE_DIR) + "/README.md");
  ASSERT_TRUE(readme) << "no README.md";
  const std::regex row("^\\| `(--[a-z-]+)( [A-Z]+)?` \\|");
  std::set<std::string> documented, table;
  for (std::string line; std::getline(readme, line);) {
    std::smatch match;
    if (std::regex_search(line, match, row)) documented.insert(match[1].str() + match[2].str());
  }
  for (const OptionName& option : OptionNames()) {
    if (!option.help.empty()) {
      table.insert(option.name + (option.value.empty() ? "" : " " + option.value));
    }
  }
  EXPECT_EQ(documented, table);
}

// The README's sentence "... exits with 2 (bad command line), 3 (...) ..."
// names the same failures the manual page lists from kExitStatuses.
TEST(OptionsTest, TheReadmeNamesEveryExitStatus) {
  std::ifstream readme(std::string(FLINTMOOR_SOURCE_DIR) + "/README.md");
  const std::string text{std::istreambuf_iterator<char>(readme), std::istreambuf_iterator<char>()};
  const size_t from = text.find("exits with");
  ASSERT_NE(from, std::string::npos) << "no README sentence on the exit statuses";
  const std::string sentence = text.substr(from, text.find(".\n", from) - from);
  const std::regex named("\\b([0-9]+) \\(");
  std::set<int> documented, table;
  for (std::sregex_iterator it(sentence.begin(), sentence.end(), named), end; it != end; ++it) {
    documented.insert(std::stoi((*it)[1].str()));
  }
  for (const ExitStatusMeaning& status : kExitStatuses) {
    if (status.status != kExitOk) table.insert(status.status);
  }
  EXPECT_EQ(documented, table) << sentence;
}

}  // namespace
