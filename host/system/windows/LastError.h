// The system's own words for the last failed call on this thread, with what
// it was about (`subject`) in place of a "%1" in them.
#ifndef FLINTMOOR_HOST_WINDOWS_LASTERROR_H
#define FLINTMOOR_HOST_WINDOWS_LASTERROR_H

#include <string>

std::string LastErrorText(const std::string& subject = "it");

#endif
