#include "ReportText.h"

#include <cstdio>

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

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (char c : ValidUtf8(text)) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string Milliseconds(double ms, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f ms", decimals, ms);
  return text;
}
