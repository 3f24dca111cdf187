// The validator's report quotes what modules answer and print: always valid
// UTF-8, and well-formed JSON strings.
#include <gtest/gtest.h>

#include "ReportText.h"

namespace {

const std::string kReplacement = "\xef\xbf\xbd";

TEST(ReportTextTest, WellFormedUtf8IsKeptAsItIs) {
  const std::string texts[] = {"",
                               "plain",
                               "caf\xc3\xa9",
                               "\xe2\x82\xac 5",
                               "\xf0\x9f\x90\xa6",
                               std::string("nul\0inside", 10)};
  for (const std::string& text : texts) {
    EXPECT_EQ(ValidUtf8(text), text);
  }
}

// Each byte that is not part of a well-formed sequence becomes U+FFFD: a
// Latin-1 letter, a lone continuation, a cut sequence, an overlong form, a
// surrogate, a code point past U+10FFFF.
TEST(ReportTextTest, EachBadByteBecomesOneReplacementCharacter) {
  EXPECT_EQ(ValidUtf8("caf\xe9"), "caf" + kReplacement);
  EXPECT_EQ(ValidUtf8("\x80x"), kReplacement + "x");
  EXPECT_EQ(ValidUtf8("\xe2\x82"), kReplacement + kReplacement);
  EXPECT_EQ(ValidUtf8("\xc0\xaf"), kReplacement + kReplacement);
  EXPECT_EQ(ValidUtf8("\xed\xa0\x80"), kReplacement + kReplacement + kReplacement);
  EXPECT_EQ(ValidUtf8("\xf4\x90\x80\x80"),
            kReplacement + kReplacement + kReplacement + kReplacement);
  EXPECT_EQ(ValidUtf8("\xe9\xc3\xa9"), kReplacement + "\xc3\xa9")
      << "a good letter after a bad one";
}

TEST(ReportTextTest, JsonStringsEscapeQuotesBackslashesAndControls) {
  EXPECT_EQ(JsonString(""), "\"\"");
  EXPECT_EQ(JsonString("say \"hi\"\\"), "\"say \\\"hi\\\"\\\\\"");
  EXPECT_EQ(JsonString("a\nb\t\x01\x7f"), "\"a\\u000ab\\u0009\\u0001\\u007f\"");
  EXPECT_EQ(JsonString("caf\xe9"), "\"caf" + kReplacement + "\"");
}

TEST(ReportTextTest, MillisecondsHaveTheDecimalsAsked) {
  EXPECT_EQ(Milliseconds(16.666), "16.67 ms");
  EXPECT_EQ(Milliseconds(100, 1), "100.0 ms");
}

}  // namespace
