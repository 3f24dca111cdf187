// Windows's rule for one argument on a command line, as CommandLineToArgvW
// and the C runtime read it back: kept as plain text so it can be checked
// on any system.
#ifndef FLINTMOOR_HOST_COMMANDLINE_H
#define FLINTMOOR_HOST_COMMANDLINE_H

#include <string>

// Quotes around; a quote inside, and the backslashes before a quote or the
// closing quote, doubled.
std::string QuotedForWindows(const std::string& argument);

#endif
