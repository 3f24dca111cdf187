// The system's own words for the last failed call on this thread.
#ifndef FLINTMOOR_HOST_WINDOWS_LASTERROR_H
#define FLINTMOOR_HOST_WINDOWS_LASTERROR_H

#include <string>

std::string LastErrorText();

#endif
