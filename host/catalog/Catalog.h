// The games of a collection: every module file in its folders, with what
// each game says of itself, or why it can't be played. Each module is asked
// in a child process, where a crash, a hang or an exit can't reach gamehost,
// and its answers are kept in the user's cache until the module (or its
// games/<module>/ folder) changes.
#ifndef FLINTMOOR_HOST_CATALOG_H
#define FLINTMOOR_HOST_CATALOG_H

#include <string>
#include <vector>

#include "ChildProcess.h"
#include "GameModule.h"

struct CatalogEntry {
  std::string module;     // the module file, an absolute path
  GameIdentity identity;  // as the game answered; empty where it could not
  std::string problem;    // why it can't be played; empty when it can
  // False where the game was not asked to the end, for want of a display to
  // start it on or of a process to ask it in: nothing of it is kept, and it
  // is asked again next time.
  bool tried = true;

  bool Playable() const { return problem.empty(); }
  // Its name, or its file's name where it has none.
  std::string Title() const;
};

// The games in the folders, in the order a list shows them: by title, then
// by module file. A folder that is not there holds none. Without a display
// the games are not started, and their answers are not kept.
std::vector<CatalogEntry> ReadCatalog(const std::vector<std::string>& folders);

// The file the answers are kept in.
std::string CatalogCacheFile();

// The piece of work a child does to ask one module: load it, read its
// identity, start a game and stop it, as a host would. Its name, which a
// child started anew on Windows is given, begins with kIdentityWork.
constexpr const char* kIdentityWork = "identity ";
ChildWork IdentityWork(const std::string& modulePath);

#endif
