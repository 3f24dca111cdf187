#include "ProcessInfo.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

long ResidentKilobytes() {
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long SettledResidentKilobytes() {
  malloc_trim(0);
  return ResidentKilobytes();
}

int ThreadCount() {
  std::error_code error;
  int threads = 0;
  for (fs::directory_iterator task("/proc/self/task", error), end; !error && task != end;
       task.increment(error)) {
    ++threads;
  }
  return threads;
}

std::string ExecutablePath() {
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? "" : self.string();
}
