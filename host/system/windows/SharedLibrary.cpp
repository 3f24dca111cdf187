#include "SharedLibrary.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>

#include "LastError.h"

const char* const SharedLibrary::kLoadedWith = "LoadLibraryEx";
const char* const SharedLibrary::kUnloadCall = "FreeLibrary";
const char* const SharedLibrary::kKeptBy =
    "a library that pins it, a reference it took to itself (GetModuleHandleEx with "
    "GET_MODULE_HANDLE_EX_FLAG_PIN, LoadLibrary of itself), or a thread_local object with a "
    "destructor";
const char* const SharedLibrary::kKeepsAtEachLoad =
    " (likely the C++ runtime linked into the module, -static-libstdc++ -static-libgcc: link it "
    "with libstdc++-6.dll, as gamehost is)";

namespace {

HMODULE Handle(void* handle) {
  return static_cast<HMODULE>(handle);
}

// The whole path, in the system's own letters: any folder name works.
std::wstring AbsoluteWide(const std::string& path) {
  return std::filesystem::absolute(std::filesystem::u8path(path)).wstring();
}

}  // namespace

SharedLibrary::SharedLibrary(const std::string& path) : path_(path) {
  // The module's own folder is searched for the libraries it needs, as the
  // dynamic linker would search a run path.
  handle_ = LoadLibraryExW(AbsoluteWide(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (handle_ == nullptr) {
    // The loader catches what the module's start-up code throws or
    // crashes with, and answers this.
    const bool startupFailed =
        GetLastError() == ERROR_NOACCESS || GetLastError() == ERROR_DLL_INIT_FAILED;
    error_ = LastErrorText("'" + path + "'");
    if (startupFailed) {
      error_ += ": its static constructors or DllMain failed or crashed as it loaded";
    }
  }
}

SharedLibrary::~SharedLibrary() {
  Close();
}

void* SharedLibrary::Symbol(const char* name) const {
  if (handle_ == nullptr) return nullptr;
  void* symbol = reinterpret_cast<void*>(GetProcAddress(Handle(handle_), name));
  // A name forwarded to another library is not this one's.
  return Holds(symbol) ? symbol : nullptr;
}

bool SharedLibrary::Holds(const void* address) const {
  HMODULE holder = nullptr;
  const DWORD flags =
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  return handle_ != nullptr && address != nullptr &&
         GetModuleHandleExW(flags, static_cast<const wchar_t*>(address), &holder) &&
         holder == Handle(handle_);
}

bool SharedLibrary::Close() {
  if (handle_ != nullptr) {
    FreeLibrary(Handle(handle_));
    handle_ = nullptr;
  }
  return !InProcess(path_);
}

bool SharedLibrary::InProcess(const std::string& path) {
  HMODULE handle = nullptr;
  return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            AbsoluteWide(path).c_str(), &handle) != 0;
}

std::string SharedLibrary::CodeAt(const void* address) {
  char hex[32];
  std::snprintf(hex, sizeof hex, "%p", address);
  HMODULE holder = nullptr;
  const DWORD flags =
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  wchar_t file[MAX_PATH];
  if (address == nullptr ||
      !GetModuleHandleExW(flags, static_cast<const wchar_t*>(address), &holder) ||
      GetModuleFileNameW(holder, file, MAX_PATH) == 0) {
    return hex;
  }
  return std::string("code at ") + hex + " in " + std::filesystem::path(file).filename().u8string();
}

// Windows unloads a library whatever symbols it has.
std::vector<std::string> SharedLibrary::PinningSymbols(const std::string&) {
  return {};
}
