#include "PrivateDisplay.h"

// Windows always has its desktop: there is nothing to start or stop.
PrivateDisplay::PrivateDisplay() = default;

PrivateDisplay::~PrivateDisplay() = default;
