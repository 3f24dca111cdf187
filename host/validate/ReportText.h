// Text for the validator's report, which quotes what modules answer and
// print: always valid UTF-8, and as JSON strings.
#ifndef FLINTMOOR_HOST_REPORTTEXT_H
#define FLINTMOOR_HOST_REPORTTEXT_H

#include <string>

// The text with each byte that is not part of a well-formed UTF-8 sequence
// replaced by U+FFFD.
std::string ValidUtf8(const std::string& text);

// A JSON string literal (quotes included) of ValidUtf8(text).
std::string JsonString(const std::string& text);

// A time for the report: "16.67 ms" (or with other decimals).
std::string Milliseconds(double ms, int decimals = 2);

#endif
