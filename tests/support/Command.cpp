#include "Command.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

std::string ReadAll(FILE* pipe) {
  std::string output;
  char chunk[4096];
  while (size_t n = fread(chunk, 1, sizeof chunk, pipe)) output.append(chunk, n);
  return output;
}

}  // namespace

#ifdef _WIN32

Outcome RunCommand(const std::string& command) {
  // cmd.exe takes the whole line as given when it is quoted once more.
  FILE* pipe = _popen(("\"" + command + " 2>&1\"").c_str(), "rb");
  if (pipe == nullptr)
    return {-1, "_popen failed: Windows error " + std::to_string(GetLastError())};
  std::string output = ReadAll(pipe);
  // Programs end their lines as Windows does; the tests read \n.
  output.erase(std::remove(output.begin(), output.end(), '\r'), output.end());
  return {_pclose(pipe), output};
}

std::string Quoted(const std::string& word) {
  return "\"" + word + "\"";
}

std::string InFolder(const std::string& folder) {
  return "cd /d " + Quoted(folder) + " && ";
}

std::string WithoutDisplay() {
  return "";
}

#else

Outcome RunCommand(const std::string& command) {
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return {-1, "popen failed"};
  std::string output = ReadAll(pipe);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

std::string Quoted(const std::string& word) {
  return "'" + word + "'";
}

std::string InFolder(const std::string& folder) {
  return "cd " + Quoted(folder) + " && ";
}

std::string WithoutDisplay() {
  return "env -u DISPLAY ";
}

void EndWithParent(pid_t test) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != test) _exit(1);  // the test ended before the line above
}

#endif
