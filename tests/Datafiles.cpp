#include "Datafiles.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "WorkingFolder.h"

namespace fs = std::filesystem;

std::vector<DatObject> GameObjects() {
  return {{"flying0.bmp", "BMP"},
          {"flying1.bmp", "BMP"},
          {"hit0.bmp", "BMP"},
          {"hit1.bmp", "BMP"},
          {"flush.wav", "SAMP"}};
}

std::string PackDatafile(const std::vector<DatObject>& objects, const std::string& compression) {
  std::string target =
      (fs::temp_directory_path() / ("flintmoor-pack-" + std::to_string(getpid()) + ".dat"))
          .string();
  fs::remove(target);
  for (const DatObject& object : objects) {
    fs::path file = fs::path(FLINTMOOR_PARTS_DIR) / object.file;
    std::string command = FLINTMOOR_DAT_TOOL;
    command += " -a -n0 -s1 " + compression + " -bpp 32 -transparency -t " + object.type;
    command += " '" + target + "' '" + file.string() + "' >/dev/null";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("dat failed: " + command);
  }
  std::string bytes = ReadFile(target);
  fs::remove(target);
  return bytes;
}
