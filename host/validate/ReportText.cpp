#include "ReportText.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <sstream>

namespace {

// Length of the well-formed UTF-8 sequence at text[at], or 0.
size_t SequenceLength(const std::string& text, size_t at) {
  auto byte = [&](size_t i) -> unsigned {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : 0U;
  };
  auto continuation = [&](size_t i, unsigned low = 0x80, unsigned high = 0xbf) {
    return byte(i) >= low && byte(i) <= high;
  };
  unsigned lead = byte(at);
  if (lead < 0x80) return 1;
  if (lead >= 0xc2 && lead <= 0xdf) return continuation(at + 1) ? 2 : 0;
  if (lead >= 0xe0 && lead <= 0xef) {
    // No overlong forms, no surrogates.
    unsigned low = lead == 0xe0 ? 0xa0 : 0x80, high = lead == 0xed ? 0x9f : 0xbf;
    return continuation(at + 1, low, high) && continuation(at + 2) ? 3 : 0;
  }
  if (lead >= 0xf0 && lead <= 0xf4) {
    unsigned low = lead == 0xf0 ? 0x90 : 0x80, high = lead == 0xf4 ? 0x8f : 0xbf;
    return continuation(at + 1, low, high) && continuation(at + 2) && continuation(at + 3) ? 4 : 0;
  }
  return 0;
}

}  // namespace

std::string ValidUtf8(const std::string& text) {
  std::string valid;
  valid.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    size_t length = SequenceLength(text, at);
    if (length == 0) {
      valid += "\xef\xbf\xbd";
      ++at;
    } else {
      valid.append(text, at, length);
      at += length;
    }
  }
  return valid;
}

namespace {

using Json = nlohmann::ordered_json;  // keys in the order written

bool ShowsOutput(const Verdict& verdict) {
  return !verdict.passed && !verdict.output.empty();
}

// The module's output, indented under the failure it came with.
std::string Indented(const std::string& output) {
  std::istringstream lines(ValidUtf8(output));
  std::string indented;
  for (std::string line; std::getline(lines, line);) indented += "      | " + line + "\n";
  return indented;
}

}  // namespace

std::string ReportLine(const CheckOutcome& outcome) {
  const Verdict& verdict = outcome.verdict;
  return std::string(verdict.passed ? "PASS" : "FAIL") + "  " + outcome.name + ": " +
         ValidUtf8(verdict.detail) + "\n" +
         (ShowsOutput(verdict) ? "      module output:\n" + Indented(verdict.output) : "");
}

std::string JsonReport(const std::string& module, unsigned seed,
                       const std::vector<CheckOutcome>& outcomes) {
  Json checks = Json::array();
  int passed = 0;
  for (const CheckOutcome& outcome : outcomes) {
    const Verdict& verdict = outcome.verdict;
    Json check = {{"name", ValidUtf8(outcome.name)},
                  {"passed", verdict.passed},
                  {"detail", ValidUtf8(verdict.detail)}};
    if (ShowsOutput(verdict)) check["output"] = ValidUtf8(verdict.output);
    checks.push_back(std::move(check));
    passed += verdict.passed ? 1 : 0;
  }
  const Json report = {{"module", ValidUtf8(module)},
                       {"seed", seed},
                       {"checks", std::move(checks)},
                       {"passed", passed},
                       {"failed", int(outcomes.size()) - passed}};
  return report.dump(2) + "\n";
}

std::string JsonCheckList(const std::vector<std::pair<std::string, std::string>>& checks) {
  Json list = Json::array();
  for (const auto& [name, promise] : checks) {
    list.push_back({{"name", ValidUtf8(name)}, {"promise", ValidUtf8(promise)}});
  }
  return list.dump(2) + "\n";
}

std::string Milliseconds(double ms, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f ms", decimals, ms);
  return text;
}
