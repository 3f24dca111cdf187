// The best score of each game, kept between runs in a small text file in
// the user's data folder (UserDataFolder()):
// gamehost/best-scores.txt, one "name<TAB>score" line a game.
#ifndef FLINTMOOR_HOST_BESTSCORES_H
#define FLINTMOOR_HOST_BESTSCORES_H

#include <cstdint>
#include <map>
#include <string>

class BestScores {
 public:
  // Reads the file. A file that can't be read or is damaged is reported in
  // one line and never written over; nothing is saved then.
  explicit BestScores(bool saving);

  int32_t Best(const std::string& game) const;
  // Keeps score when it beats the game's best, saving it at once (to a
  // temporary file renamed into place, so the file is whole at any moment).
  // Answers true for a new record.
  bool Offer(const std::string& game, int32_t score);

  // The file used, for messages and tests.
  const std::string& File() const { return file_; }

 private:
  // Reads file_ into scores; false (with a one-line report) when damaged.
  bool Read(std::map<std::string, int32_t>& scores) const;
  void Save();
  void StopSaving(const std::string& why);

  std::string file_;
  bool saving_;
  std::map<std::string, int32_t> scores_;
};

#endif
