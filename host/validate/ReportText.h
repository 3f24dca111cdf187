// Text for the validator's report, which quotes what modules answer and
// print: always valid UTF-8, in lines or as JSON.
#ifndef FLINTMOOR_HOST_REPORTTEXT_H
#define FLINTMOOR_HOST_REPORTTEXT_H

#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"

// The text with each byte that is not part of a well-formed UTF-8 sequence
// replaced by U+FFFD.
std::string ValidUtf8(const std::string& text);

// One check's outcome as the report gives it: its output only when it
// failed and printed something.
struct CheckOutcome {
  std::string name;
  Verdict verdict;
};

// The report in lines: "PASS  name: detail" or FAIL, the output of a
// failed check indented under it.
std::string ReportLine(const CheckOutcome& outcome);

// The whole report as JSON: the module, the seed, each check's name,
// whether it passed, its detail and any output, then the counts.
std::string JsonReport(const std::string& module, unsigned seed,
                       const std::vector<CheckOutcome>& outcomes);

// Each check's name and promise, as JSON.
std::string JsonCheckList(const std::vector<std::pair<std::string, std::string>>& checks);

// A time for the report: "16.67 ms" (or with other decimals).
std::string Milliseconds(double ms, int decimals = 2);

#endif
