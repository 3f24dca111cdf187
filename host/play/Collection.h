// gamehost's collection of games: the list in the window, a game chosen
// with the keys or the mouse and played, and back to the list. One game is
// in the process at a time: leaving it stops and destroys it, puts the
// host's Allegro settings back and unloads its module.
#ifndef FLINTMOOR_HOST_COLLECTION_H
#define FLINTMOOR_HOST_COLLECTION_H

#include <string>
#include <vector>

#include "Bitmap.h"
#include "Catalog.h"
#include "ChildProcess.h"
#include "CollectionList.h"
#include "CollectionPicture.h"
#include "Player.h"
#include "Records.h"
#include "Session.h"
#include "Stage.h"

class Collection {
 public:
  // The games, in list order, shown on the stage; the player, records and
  // settings are those of every game played from it. Where a supervisor
  // watches (`progress`), each call of a game's is noted for it.
  Collection(std::vector<CatalogEntry> games, const SessionSettings& settings, Stage& stage,
             Player& player, Records& records, Progress* progress);

  // Shows the list, with `note` (what happened before) at its top, until
  // the player quits; answers the exit status.
  int Run(const std::string& note);

 private:
  enum class After { kStay, kQuit };
  After Play(size_t game);
  CollectionView View() const;
  StatusLine Status() const;

  std::vector<CatalogEntry> games_;
  const SessionSettings& settings_;
  Stage& stage_;
  Player& player_;
  Records& records_;
  Progress* const progress_;
  std::vector<Bitmap> icons_;
  CollectionList list_;
  Bitmap picture_;
  std::string note_;
};

// The window's title while the collection shows.
constexpr const char* kCollectionTitle = "gamehost";

// gamehost [DIR...]: the games in the folders, in a window of their own,
// until the player quits; answers the exit status. `note` says what
// happened before (a game that failed): the window then opens where it was
// when that game started.
int PlayCollection(const std::vector<std::string>& folders, const SessionSettings& settings,
                   const std::string& note, Progress* progress);

#endif
