#include "System.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

std::string ModuleFileName(const std::string& name) {
  return name + ".so";
}

const char* GraphicsAdvice() {
  return "is there an X display? try tools/with-display";
}

const char* NullDevice() {
  return "/dev/null";
}

std::string UserDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;  // relative values are to be ignored
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : ".") + "/.local/share";
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

bool WriteWholeFile(const std::string& file, const std::string& bytes, std::string& why) {
  const std::string temporary = file + ".new-" + std::to_string(getpid());
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  bool written = write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
  written = fsync(fd) == 0 && written;
  written = close(fd) == 0 && written;
  if (!written || std::rename(temporary.c_str(), file.c_str()) != 0) {
    why = std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}
