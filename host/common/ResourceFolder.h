// Where a game module's resources are found from: the folder that holds its
// games/<name>/ (name: the module's file name without extension).
#ifndef FLINTMOOR_HOST_RESOURCEFOLDER_H
#define FLINTMOOR_HOST_RESOURCEFOLDER_H

#include <string>

#include "IGame.h"

// The module's own folder when its games/<name>/ is there (so an installed
// or built module finds what was made for it, wherever gamehost is started),
// else the working folder. Answers an absolute path.
std::string ResourceFolder(const std::string& modulePath);

// The module's file name without folder and extension: "flintmoor".
std::string ModuleName(const std::string& modulePath);

// Why a module's game did not start (its Init answered false), as far as its
// resource folder tells, and what to do about it. Asked after gamehost has
// moved to ResourceFolder(modulePath).
struct NotStarted {
  std::string why, advice;
};
NotStarted WhyNotStarted(const std::string& modulePath);

// Where the game's icon is: the folder SetPath stored joined with GetIcon,
// or, where the module keeps its pictures with its resources, that file.
std::string IconPath(IGame& game, const std::string& modulePath);

#endif
