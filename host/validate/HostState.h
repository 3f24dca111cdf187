// What a host owns that a module must leave as it found it: Allegro's global
// set-up (depth, conversion, mode and screen, drawing mode, font, drivers,
// callbacks) and the process's (signal handlers, standard streams).
#ifndef FLINTMOOR_HOST_HOSTSTATE_H
#define FLINTMOOR_HOST_HOSTSTATE_H

#include <string>
#include <utility>
#include <vector>

// Each thing named in words, with the call that sets it, and its state; a
// name with {} in it is a list of such things (see ProcessInfo.h).
using HostState = std::vector<std::pair<std::string, std::string>>;

HostState CurrentHostState();

// What changed from `before` to `after`, in words; empty when nothing did.
std::string HostStateChanges(const HostState& before, const HostState& after);

// Voices of Allegro's mixer that are playing now.
int PlayingVoices();

#endif
