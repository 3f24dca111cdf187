#include "System.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "NearestFolder.h"

namespace fs = std::filesystem;

std::string ModuleFileName(const std::string& name) {
  return name + ".so";
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return {argv, argv + argc};
}

std::string MissingModuleAdvice() {
  return "build it with ./play, or name a module file";
}

std::string UnloadableModuleAdvice() {
  return "is it a game module built for this system, with Allegro 4 installed?";
}

std::string GraphicsAdvice() {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') {
    return "DISPLAY is not set: there is no X display to open a window on; start it from a "
           "desktop, or under tools/with-display";
  }
  return std::string("is the X display ") + display + " there? try tools/with-display";
}

const char* NullDevice() {
  return "/dev/null";
}

namespace {

// An XDG base folder: the variable where it holds an absolute path (relative
// values are to be ignored), else its place under the home folder.
std::string XdgFolder(const char* variable, const char* underHome) {
  const char* xdg = std::getenv(variable);
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : ".") + underHome;
}

}  // namespace

std::string UserDataFolder() {
  return XdgFolder("XDG_DATA_HOME", "/.local/share");
}

std::string UserCacheFolder() {
  return XdgFolder("XDG_CACHE_HOME", "/.cache");
}

// Allegro's only digital driver here is ALSA's. A device is there when the
// kernel shows a playback device or someone configured ALSA to reach one.
bool SoundDeviceExpected() {
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator("/dev/snd", ignored)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("pcm", 0) == 0 && name.back() == 'p') return true;
  }
  const char* home = std::getenv("HOME");
  return std::getenv("ALSA_CONFIG_PATH") != nullptr || fs::exists("/etc/asound.conf") ||
         (home != nullptr && (fs::exists(fs::path(home) / ".asoundrc") ||
                              fs::exists(fs::path(home) / ".config/alsa/asoundrc")));
}

void UseSilentSoundDeviceWhereNone(const std::string& folder) {
  if (SoundDeviceExpected()) return;
  const std::string configuration = (fs::path(folder) / "asound.conf").string();
  if (FILE* file = std::fopen(configuration.c_str(), "w")) {
    std::fputs("pcm.!default { type null }\n", file);
    std::fclose(file);
    setenv("ALSA_CONFIG_PATH", configuration.c_str(), 1);
  }
}

std::string MakeTemporaryFolder(const std::string& prefix) {
  std::error_code error;
  std::string pattern = (fs::temp_directory_path(error) / (prefix + "XXXXXX")).string();
  return !error && mkdtemp(pattern.data()) != nullptr ? pattern : "";
}

bool ShowFolder(const std::string& target, const std::string& place) {
  std::error_code error;
  fs::create_directory_symlink(target, place, error);
  return !error;
}

bool WriteWholeFile(const std::string& file, const std::string& bytes, std::string& why,
                    Flushed flushed) {
  const std::string temporary = file + ".new-" + std::to_string(getpid());
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  bool written = write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
  if (flushed == Flushed::kToDisk) written = fsync(fd) == 0 && written;
  written = close(fd) == 0 && written;
  if (!written || std::rename(temporary.c_str(), file.c_str()) != 0) {
    why = std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  if (flushed == Flushed::kNot) return true;
  // The rename itself reaches the disk with the folder.
  const int folder = open(fs::path(file).parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return true;
}

std::string WhyNotWritable(const std::string& file) {
  if (access(file.c_str(), F_OK) == 0 && access(file.c_str(), W_OK) != 0) {
    return file + (errno == EACCES ? " is read-only"
                                   : std::string(" can't be written: ") + std::strerror(errno));
  }
  // The file is replaced by a new one made in its folder, or in the nearest
  // folder there is, where its folder is still to be made.
  std::error_code error;
  const fs::path folder = NearestFolder(fs::path(file));
  if (!fs::is_directory(folder, error)) return folder.string() + " is not a folder";
  if (access(folder.c_str(), W_OK | X_OK) != 0) {
    return folder.string() + " can't be written: " + std::strerror(errno);
  }
  return "";
}

SmallFile ReadSmallFile(const std::string& file, size_t most) {
  // Looked at before it is opened: opening a FIFO waits for a writer, and
  // opening a device may do something.
  struct stat info {};
  if (stat(file.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return {SmallFile::Status::kMissing, "", ""};
    return {SmallFile::Status::kUnreadable, "", std::strerror(errno)};
  }
  if (!S_ISREG(info.st_mode)) return {SmallFile::Status::kNotAFile, "", ""};
  const int fd = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return {SmallFile::Status::kUnreadable, "", std::strerror(errno)};
  SmallFile read{SmallFile::Status::kRead, "", ""};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    read.status = SmallFile::Status::kNotAFile;  // replaced meanwhile
  } else if (size_t(info.st_size) > most) {
    read.status = SmallFile::Status::kTooLarge;
  } else {
    char chunk[4096];
    ssize_t got = 0;
    while ((got = ::read(fd, chunk, sizeof chunk)) > 0 && read.bytes.size() <= most) {
      read.bytes.append(chunk, size_t(got));
    }
    if (got < 0) read = {SmallFile::Status::kUnreadable, "", std::strerror(errno)};
    if (read.bytes.size() > most) read = {SmallFile::Status::kTooLarge, "", ""};  // it grew
  }
  close(fd);
  return read;
}

FolderLock::FolderLock(const std::string& folder, int waitMs)
    : handle_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (handle_ < 0) return;
  for (int waited = 0;; waited += 10) {
    if (flock(int(handle_), LOCK_EX | LOCK_NB) == 0) {
      held_ = true;
      return;
    }
    if (errno != EWOULDBLOCK || waited >= waitMs) return;
    usleep(10 * 1000);
  }
}

FolderLock::~FolderLock() {
  if (handle_ >= 0) close(int(handle_));  // and with it the hold
}

std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path != nullptr ? path : "");
  std::error_code error;
  for (std::string folder; std::getline(folders, folder, ':');) {
    fs::path candidate = fs::path(folder.empty() ? "." : folder) / name;
    if (fs::is_regular_file(candidate, error) && access(candidate.c_str(), X_OK) == 0) {
      return candidate.string();
    }
  }
  return "";
}
