// The builds of one module that `gamehost --watch` has seen: each a copy of
// the module file, taken once a build has finished writing it, in a folder
// of its own beside a link to the module's games/ folder (so the build may
// write the file again at any time, and each copy is loaded afresh). Which
// builds started and which crashed is kept in the folder too, for the
// process that plays after a crash.
#ifndef FLINTMOOR_HOST_MODULEBUILDS_H
#define FLINTMOOR_HOST_MODULEBUILDS_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ModuleBuilds {
 public:
  // The module file watched, and the folder its builds are kept in (made
  // by the caller, kept while watching).
  ModuleBuilds(std::string module, std::string folder);

  // A copy of a build not seen before, once it has stopped changing (two
  // looks at least `settle` apart see the same file); empty while there is
  // none, or the file is being written. `why` says why one can't be taken.
  std::optional<std::string> NewBuild(std::string& why);
  // Whether the module file is not the build last taken: one is on its way.
  bool Changed() const;

  // The copy of the build last started (its Init answered true) that has
  // not crashed.
  std::optional<std::string> LastGood() const;
  // Notes that the build whose copy this is started.
  void Started(const std::string& copy);
  // Notes that the build last started crashed; answers its copy, or empty.
  std::string CrashedLast();
  // "build 3": how the player is told which build plays.
  static std::string Name(const std::string& copy);

 private:
  struct Stamp {
    uintmax_t size = 0;
    int64_t changed = 0;
    bool operator==(const Stamp& other) const {
      return size == other.size && changed == other.changed;
    }
  };
  // A line of the folder's log: "taken build-2 SIZE TIME", "started
  // build-2", "crashed build-2".
  struct Line {
    std::string what, build, rest;
  };
  std::vector<Line> Log() const;
  void Note(const std::string& what, const std::string& build, const std::string& rest) const;
  std::string Path(const std::string& build) const;
  Stamp Now() const;

  std::string module_, folder_;
  Stamp taken_;                   // the build last taken
  std::optional<Stamp> looking_;  // a new one, seen once
  int64_t lookedAt_ = 0;
  int builds_ = 0;
};

#endif
