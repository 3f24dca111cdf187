// What differs between the systems gamehost runs on, apart from loading code
// (SharedLibrary), facts about the process (ProcessInfo), child processes
// (ChildProcess), the display and the window (PrivateDisplay, WindowLook,
// WindowSystem) and stop signals (StopSignals). Each system answers in its
// own folder: host/system/linux/, host/system/windows/.
#ifndef FLINTMOOR_HOST_SYSTEM_H
#define FLINTMOOR_HOST_SYSTEM_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The arguments the program was started with, as UTF-8 text (as gamehost
// keeps all its text, paths among it), the program's own name first. On
// Windows, argv holds only what the ANSI code page can write: they are read
// again from the command line as the system keeps it.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The file name of a module called `name` on this system: flintmoor.so,
// flintmoor.dll.
std::string ModuleFileName(const std::string& name);

// What to do when the game module gamehost plays by default is missing, and
// what to look at when a module file does not load: the system's own advice.
std::string MissingModuleAdvice();
std::string UnloadableModuleAdvice();

// What to look at when Allegro can't start at all, for the message: the
// plain reason where the system shows one (no X display named), and what
// to do.
std::string GraphicsAdvice();

// The file of the program called `name` found on the PATH, or empty.
std::string FindProgram(const std::string& name);

// The device that reads as empty and swallows what is written to it.
const char* NullDevice();

// The folder for the user's data: $XDG_DATA_HOME, else ~/.local/share;
// %APPDATA% on Windows.
std::string UserDataFolder();

// The folder for what the user's programs keep to save time, which may go
// at any moment: $XDG_CACHE_HOME, else ~/.cache; %LOCALAPPDATA% on Windows.
std::string UserCacheFolder();

// Whether the system shows a device the sound drivers could open, to tell
// "there is none" from "it failed" when none opened.
bool SoundDeviceExpected();

// Where there is no sound device, gives the sound drivers one that plays
// nothing (ALSA's null device, configured in `folder`), so a program's
// sound runs as it would on a player's machine.
void UseSilentSoundDeviceWhereNone(const std::string& folder);

// A new empty folder in the temporary folder, its name starting with
// `prefix`; empty when none could be made.
std::string MakeTemporaryFolder(const std::string& prefix);

// Makes `place` show the folder `target`: a link where the system allows
// one, else a copy. False when neither worked.
bool ShowFolder(const std::string& target, const std::string& place);

// Writes `bytes` to `file` so that the file is, at any moment and after a
// crash, either the old one or the new one whole: a new file in the same
// folder, flushed to the disk and renamed over the old one. False, with
// `why`, when that failed; the old file is then untouched. A file that is
// only a hint (what to select next time) need not wait for the disk: after
// the system itself crashes it may be empty.
enum class Flushed { kToDisk, kNot };
bool WriteWholeFile(const std::string& file, const std::string& bytes, std::string& why,
                    Flushed flushed = Flushed::kToDisk);

// Why `file` can't be written, whether it exists yet or not, in a few words
// naming what stands in the way ("... is read-only", "... can't be written:
// Permission denied", "... is not a folder"); empty when it can. A file
// that is read-only is left so even where its folder would let it be
// replaced.
std::string WhyNotWritable(const std::string& file);

// A small file read whole. What is not a plain file (a FIFO, a device, a
// folder) is refused without waiting on it, and a file larger than `most`
// bytes without reading it.
struct SmallFile {
  enum class Status { kRead, kMissing, kNotAFile, kTooLarge, kUnreadable } status;
  std::string bytes;  // kRead: the file's bytes
  std::string why;    // kUnreadable: the system's reason
};
SmallFile ReadSmallFile(const std::string& file, size_t most);

// Another process's hold on a folder, for reading, merging and replacing a
// file in it one process at a time. Waits up to `waitMs` for a holder to let
// go; Held() tells whether it got the hold.
class FolderLock {
 public:
  FolderLock(const std::string& folder, int waitMs);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool Held() const { return held_; }

 private:
  intptr_t handle_;
  bool held_ = false;
};

#endif
