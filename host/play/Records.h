// The record of each game (its best score ever, as kept), kept between runs
// in a small text file in the user's data folder (UserDataFolder()):
// gamehost/best-scores.txt, one "name<TAB>score" line a game. Where that
// file is a link, the file it links to is kept.
#ifndef FLINTMOOR_HOST_RECORDS_H
#define FLINTMOOR_HOST_RECORDS_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>

class Records {
 public:
  // kKept: the player's rounds, whose records are saved; kNotKept: none
  // saved (--no-save); kDemo: the built-in player's, which are never the
  // player's.
  enum class Keeping { kKept, kNotKept, kDemo };

  // Reads the file, whatever the keeping, and where records are kept finds
  // out at once whether they can be: a file that can't be read, is damaged
  // or can't be written is reported on stderr, never written over, and
  // nothing is saved then.
  explicit Records(Keeping keeping);

  // The game's record as kept; empty while it can't be known (the file
  // can't be read or is damaged).
  std::optional<int32_t> Of(const std::string& game) const;
  // Reads the file again: another gamehost may have kept a record since.
  void Reread();
  // Whether a round's best can become a record now: records are kept and
  // the file can be read and written.
  bool Keeps() const { return keeping_ == Keeping::kKept && note_.empty(); }
  // Keeps score as the game's record when it beats the record on disk,
  // saving it at once: locked against other gamehosts, merged with what
  // they saved, the file replaced whole. True only when this score was
  // kept as a new record.
  bool Offer(const std::string& game, int32_t score);

  // One short line for the screens while records are not being kept (and
  // why); empty while they are.
  const std::string& Note() const { return note_; }
  // The file used, for messages and tests.
  const std::string& File() const { return file_; }

 private:
  // Reads the kept file into records; false (with a report) when it can't.
  bool Read(std::map<std::string, int32_t>& records);
  void StopKeeping(const std::string& note, const std::string& report);

  std::string file_;
  Keeping keeping_;
  bool known_ = true;
  std::string note_;
  std::string reported_;  // the last note said on stderr
  std::map<std::string, int32_t> records_;
};

#endif
