// The record of each game (its best score ever), kept between runs in a
// small text file in the user's data folder (UserDataFolder()):
// gamehost/best-scores.txt, one "name<TAB>score" line a game. Where that
// file is a link, the file it links to is kept.
#ifndef FLINTMOOR_HOST_BESTSCORES_H
#define FLINTMOOR_HOST_BESTSCORES_H

#include <cstdint>
#include <map>
#include <string>

class BestScores {
 public:
  // kKept: the player's scores, read and saved; kNotKept: none saved
  // (--no-save); kDemo: the built-in player's, which are never the player's.
  enum class Keeping { kKept, kNotKept, kDemo };

  // Reads the file, whatever the keeping. One that can't be read or is
  // damaged is reported on stderr, never written over, and nothing is saved
  // then.
  explicit BestScores(Keeping keeping);

  int32_t Best(const std::string& game) const;
  // Takes score as the game's record when it beats it (not a demo's),
  // saving it at once where scores are kept: locked against other
  // gamehosts, merged with what they saved, the file replaced whole.
  // Answers true only for a new record that was kept.
  bool Offer(const std::string& game, int32_t score);

  // One short line for the screens when scores are not being kept (and
  // why); empty while they are.
  const std::string& Note() const { return note_; }
  // The file used, for messages and tests.
  const std::string& File() const { return file_; }

 private:
  // Reads the kept file into scores; false (with a report) when it can't.
  bool Read(std::map<std::string, int32_t>& scores);
  bool Save();
  void StopKeeping(const std::string& note);

  std::string file_;
  bool demo_;
  bool saving_;
  std::string note_;
  std::map<std::string, int32_t> scores_;
};

#endif
