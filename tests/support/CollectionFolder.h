// A folder of games as a collection meets them, for the tests of the
// collection: Flintmoor (with its games/flintmoor/), the example module
// Balloons, "Tumbler" (crashes at the 100th frame of a round), a module
// whose GetName crashes (crashes_naming.so), one with no GetPlugin
// (no_entry.so), a text file (readme.so) and, where asked, one whose
// GetPlugin never returns (hangs_starting.so), which takes seconds to find.
#ifndef FLINTMOOR_TESTS_COLLECTIONFOLDER_H
#define FLINTMOOR_TESTS_COLLECTIONFOLDER_H

#include <string>

#include "WorkingFolder.h"

class CollectionFolder : public TemporaryFolder {
 public:
  explicit CollectionFolder(bool withHang = false);
  // A game's module file in it: "balloons.so".
  std::string Module(const std::string& file) const { return Path() + "/" + file; }
};

// The games of the folder as the list shows them, in order.
constexpr const char* kCollectionTitles[] = {"Balloons",    "crashes_naming.so", "Flintmoor",
                                             "no_entry.so", "readme.so",         "Tumbler"};

#endif
