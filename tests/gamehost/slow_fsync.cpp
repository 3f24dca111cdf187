// A slow disk for a program under test: preloaded (LD_PRELOAD), it makes
// every fsync wait SLOW_FSYNC_MS milliseconds first.
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>

extern "C" __attribute__((visibility("default"))) int fsync(int fd) {
  const char* ms = std::getenv("SLOW_FSYNC_MS");
  if (ms != nullptr) usleep(useconds_t(std::atoi(ms)) * 1000);
  return int(syscall(SYS_fsync, fd));
}
