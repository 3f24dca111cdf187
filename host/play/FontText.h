// Text as the host's screens draw it in Allegro's 8x8 font: UTF-8 whose
// every character the font can draw, fitted to a width or wrapped into
// lines. Games name themselves in any bytes; none may reach the screen as
// stray bytes or overflow it.
#ifndef FLINTMOOR_HOST_FONTTEXT_H
#define FLINTMOOR_HOST_FONTTEXT_H

#include <cstddef>
#include <string>
#include <vector>

// The character shown for one the font can't draw, or for bytes that are
// no UTF-8.
constexpr char kStandIn = '?';

// The text with every byte sequence that is not UTF-8, every control
// character and every character the current Allegro font lacks replaced by
// the stand-in. Needs Allegro's font (allegro_init).
std::string Drawable(const std::string& text);

// Characters (not bytes) in UTF-8 text.
size_t Characters(const std::string& text);

// At most `columns` characters: the text itself, or its start ending in
// "..." where it is longer (just its start, where three or fewer fit).
std::string Fit(const std::string& text, size_t columns);

// Words wrapped into lines of at most `columns` characters; a word longer
// than a line is cut there.
std::vector<std::string> Wrap(const std::string& text, size_t columns);

#endif
