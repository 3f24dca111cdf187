// The validator's report quotes what modules answer and print: always valid
// UTF-8, in lines and in well-formed JSON.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <vector>

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

// What modules print and answer goes into the JSON report whole: quotes,
// backslashes and control characters come back as they were, bytes that
// are not UTF-8 as U+FFFD; output only where a check failed.
TEST(ReportTextTest, JsonReportKeepsEveryCheckAndWhatTheModulePrinted) {
  const std::string printed = "say \"hi\"\\\nnext\t\x01\x7f caf\xe9";
  const std::vector<CheckOutcome> outcomes = {
      {"identity", {false, "GetName answered \"caf\xe9\"", printed}},
      {"unload", {true, "nothing ran on", "ignored when passed"}}};
  const auto report = nlohmann::ordered_json::parse(JsonReport("/m/caf\xe9.so", 7, outcomes));
  EXPECT_EQ(report["module"], "/m/caf" + kReplacement + ".so");
  EXPECT_EQ(report["seed"], 7);
  ASSERT_EQ(report["checks"].size(), 2u);
  EXPECT_EQ(report["checks"][0]["name"], "identity");
  EXPECT_EQ(report["checks"][0]["passed"], false);
  EXPECT_EQ(report["checks"][0]["detail"], "GetName answered \"caf" + kReplacement + "\"");
  EXPECT_EQ(report["checks"][0]["output"], "say \"hi\"\\\nnext\t\x01\x7f caf" + kReplacement);
  EXPECT_FALSE(report["checks"][1].contains("output"));
  EXPECT_EQ(report["passed"], 1);
  EXPECT_EQ(report["failed"], 1);
  // The keys in the order a reader meets them.
  EXPECT_EQ(report.dump().rfind("{\"module\":", 0), 0u);
  EXPECT_LT(report.dump().find("\"name\""), report.dump().find("\"detail\""));

  const auto list = nlohmann::json::parse(JsonCheckList({{"unload", "nothing runs on"}}));
  EXPECT_EQ(list, nlohmann::json::parse(R"([{"name": "unload", "promise": "nothing runs on"}])"));
}

TEST(ReportTextTest, ReportLinesShowOutputOnlyUnderAFailure) {
  EXPECT_EQ(ReportLine({"unload", {true, "quiet", "printed"}}), "PASS  unload: quiet\n");
  EXPECT_EQ(ReportLine({"identity", {false, "GetName answered null", "one\ntwo\xe9\n"}}),
            "FAIL  identity: GetName answered null\n      module output:\n      | one\n"
            "      | two" +
                kReplacement + "\n");
}

TEST(ReportTextTest, MillisecondsHaveTheDecimalsAsked) {
  EXPECT_EQ(Milliseconds(16.666), "16.67 ms");
  EXPECT_EQ(Milliseconds(100, 1), "100.0 ms");
}

}  // namespace
