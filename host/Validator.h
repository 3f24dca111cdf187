// gamehost --validate: checks that a game module keeps the IGame contract.
#ifndef FLINTMOOR_HOST_VALIDATOR_H
#define FLINTMOOR_HOST_VALIDATOR_H

#include "Options.h"

// Runs every check, each in a child process with a time limit, prints one
// line a check and a summary (or JSON), and answers the exit status: 0 when
// all passed, kExitValidationFailed otherwise. Must run before Allegro starts.
int RunValidator(const Options& options);

#endif
