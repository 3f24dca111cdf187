#include "FontText.h"

#include <allegro.h>

#include <cstdint>

namespace {

// The next character of UTF-8 text at `at`, which moves past it; -1 for
// bytes that are no character (a stray continuation byte, a sequence cut
// short, an overlong or surrogate form), which moves past one byte.
int32_t NextCharacter(const std::string& text, size_t& at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  int length = 0;
  int32_t c = 0;
  if (lead < 0x80) {
    ++at;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2;
    c = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    c = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    c = lead & 0x07;
  } else {
    ++at;
    return -1;
  }
  if (at + size_t(length) > text.size()) {
    ++at;
    return -1;
  }
  for (int i = 1; i < length; ++i) {
    if ((byte(at + size_t(i)) & 0xC0) != 0x80) {
      ++at;
      return -1;
    }
    c = (c << 6) | (byte(at + size_t(i)) & 0x3F);
  }
  constexpr int32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kLeast[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++at;
    return -1;
  }
  at += size_t(length);
  return c;
}

void Append(std::string& text, int32_t c) {
  if (c < 0x80) {
    text += char(c);
  } else if (c < 0x800) {
    text += char(0xC0 | (c >> 6));
    text += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    text += char(0xE0 | (c >> 12));
    text += char(0x80 | ((c >> 6) & 0x3F));
    text += char(0x80 | (c & 0x3F));
  } else {
    text += char(0xF0 | (c >> 18));
    text += char(0x80 | ((c >> 12) & 0x3F));
    text += char(0x80 | ((c >> 6) & 0x3F));
    text += char(0x80 | (c & 0x3F));
  }
}

bool FontHas(int32_t c) {
  if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) return false;  // control characters
  for (int range = 0; range < get_font_ranges(font); ++range) {
    if (c >= get_font_range_begin(font, range) && c <= get_font_range_end(font, range)) {
      return true;
    }
  }
  return false;
}

// Where the character after the first `columns` ones starts.
size_t ByteOfCharacter(const std::string& text, size_t columns) {
  size_t at = 0;
  for (size_t n = 0; n < columns && at < text.size(); ++n) NextCharacter(text, at);
  return at;
}

}  // namespace

std::string Drawable(const std::string& text) {
  std::string drawable;
  drawable.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const int32_t c = NextCharacter(text, at);
    Append(drawable, c >= 0 && FontHas(c) ? c : kStandIn);
  }
  return drawable;
}

size_t Characters(const std::string& text) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); ++count) NextCharacter(text, at);
  return count;
}

std::string Fit(const std::string& text, size_t columns) {
  if (Characters(text) <= columns) return text;
  const std::string ellipsis = "...";
  // Too narrow for an ellipsis and more: as much of the text as fits.
  if (columns <= ellipsis.size()) return text.substr(0, ByteOfCharacter(text, columns));
  return text.substr(0, ByteOfCharacter(text, columns - ellipsis.size())) + ellipsis;
}

std::vector<std::string> Wrap(const std::string& text, size_t columns) {
  std::vector<std::string> lines(1);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    std::string word = text.substr(start, end - start);
    start = end + 1;
    if (word.empty()) continue;
    if (!lines.back().empty() && Characters(lines.back()) + 1 + Characters(word) > columns) {
      lines.emplace_back();
    }
    if (!lines.back().empty()) lines.back() += ' ';
    lines.back() += word;
    // A word longer than a whole line goes on over as many as it needs.
    while (Characters(lines.back()) > columns) {
      const size_t cut = ByteOfCharacter(lines.back(), columns);
      std::string rest = lines.back().substr(cut);
      lines.back().resize(cut);
      lines.push_back(rest);
    }
  }
  return lines;
}
