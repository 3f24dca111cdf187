// The collection as `gamehost --list` prints it: a line a game, or JSON for
// scripts.
#ifndef FLINTMOOR_HOST_CATALOGTEXT_H
#define FLINTMOOR_HOST_CATALOGTEXT_H

#include <string>
#include <vector>

#include "Catalog.h"

// "Flintmoor 0.4 by The Flintmoor developers: /path/flintmoor.so", and for a
// game that can't be played, "x.so: /path/x.so: can't be played: why".
std::string CatalogLines(const std::vector<CatalogEntry>& games);

// A JSON list of objects: module, name, author, description, version, icon,
// playable, and reason for a game that can't be played.
std::string CatalogJson(const std::vector<CatalogEntry>& games);

#endif
