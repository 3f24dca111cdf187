// The folder a file would be made in, or, where that folder is still to be
// made, the nearest one above it that is there: whose permissions say
// whether it can be. The same on every system.
#ifndef FLINTMOOR_HOST_NEARESTFOLDER_H
#define FLINTMOOR_HOST_NEARESTFOLDER_H

#include <filesystem>

std::filesystem::path NearestFolder(const std::filesystem::path& file);

#endif
