#include "System.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "LastError.h"
#include "NearestFolder.h"
#include "Wide.h"

namespace fs = std::filesystem;

std::string ModuleFileName(const std::string& name) {
  return name + ".dll";
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return {argv, argv + argc};
  std::vector<std::string> arguments;
  arguments.reserve(size_t(count));
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8(wide[i]));
  LocalFree(wide);
  return arguments;
}

std::string MissingModuleAdvice() {
  return "keep gamehost.exe with everything unpacked beside it from the ZIP, or name a module "
         "file";
}

std::string UnloadableModuleAdvice() {
  return "is it a game module built for Windows with MinGW-w64, with the DLLs it needs "
         "(alleg44.dll, libstdc++-6.dll, libgcc_s_*.dll, libwinpthread-1.dll) beside it or "
         "beside gamehost.exe?";
}

std::string GraphicsAdvice() {
  return "is this a desktop session with DirectX?";
}

const char* NullDevice() {
  return "NUL";
}

namespace {

// A folder the environment names, else the working folder.
std::string FolderNamed(const wchar_t* variable) {
  const wchar_t* folder = _wgetenv(variable);
  return folder != nullptr && *folder != L'\0' ? Utf8(folder) : fs::current_path().u8string();
}

}  // namespace

std::string UserDataFolder() {
  return FolderNamed(L"APPDATA");
}

std::string UserCacheFolder() {
  return FolderNamed(L"LOCALAPPDATA");
}

// DirectSound and WaveOut answer for themselves: every Windows has a mixer.
bool SoundDeviceExpected() {
  return true;
}

// Every Windows has a mixer: DirectSound or WaveOut opens.
void UseSilentSoundDeviceWhereNone(const std::string&) {}

std::string MakeTemporaryFolder(const std::string& prefix) {
  std::error_code error;
  const fs::path folder = fs::temp_directory_path(error);
  if (error) return "";
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = folder / (prefix + std::to_string(GetCurrentProcessId()) + "-" +
                                   std::to_string(random() % 1000000));
    if (CreateDirectoryW(candidate.c_str(), nullptr)) return candidate.u8string();
    if (GetLastError() != ERROR_ALREADY_EXISTS) return "";
  }
  return "";
}

// Links need a privilege ordinary Windows users lack: a copy does.
bool ShowFolder(const std::string& target, const std::string& place) {
  std::error_code error;
  fs::copy(fs::u8path(target), fs::u8path(place), fs::copy_options::recursive, error);
  return !error;
}

bool WriteWholeFile(const std::string& file, const std::string& bytes, std::string& why,
                    Flushed flushed) {
  const std::string temporary = file + ".new-" + std::to_string(GetCurrentProcessId());
  HANDLE handle = CreateFileW(Wide(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    why = LastErrorText();
    return false;
  }
  DWORD wrote = 0;
  bool written = WriteFile(handle, bytes.data(), DWORD(bytes.size()), &wrote, nullptr) &&
                 wrote == bytes.size();
  if (flushed == Flushed::kToDisk) written = FlushFileBuffers(handle) && written;
  written = CloseHandle(handle) && written;
  // Unlike rename on POSIX, MoveFileEx must be told to replace the old file.
  if (!written || !MoveFileExW(Wide(temporary).c_str(), Wide(file).c_str(),
                               MOVEFILE_REPLACE_EXISTING |
                                   (flushed == Flushed::kToDisk ? MOVEFILE_WRITE_THROUGH : 0))) {
    why = LastErrorText();
    DeleteFileW(Wide(temporary).c_str());
    return false;
  }
  return true;
}

std::string WhyNotWritable(const std::string& file) {
  const DWORD attributes = GetFileAttributesW(Wide(file).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return file + " is read-only";
  }
  // The file is replaced by a new one made in its folder, or in the nearest
  // folder there is: a file made there and gone at once tells (Windows's
  // permissions can't be read as simply as POSIX's).
  std::error_code error;
  const fs::path folder = NearestFolder(fs::u8path(file));
  if (!fs::is_directory(folder, error)) return folder.u8string() + " is not a folder";
  const fs::path probe = folder / ("gamehost-probe-" + std::to_string(GetCurrentProcessId()));
  HANDLE handle = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return folder.u8string() + " can't be written: " + LastErrorText();
  }
  CloseHandle(handle);
  return "";
}

SmallFile ReadSmallFile(const std::string& file, size_t most) {
  const fs::path path = fs::u8path(file);
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) return {SmallFile::Status::kMissing, "", ""};
  if (error) return {SmallFile::Status::kUnreadable, "", error.message()};
  if (!fs::is_regular_file(status)) return {SmallFile::Status::kNotAFile, "", ""};
  const uintmax_t size = fs::file_size(path, error);
  if (error) return {SmallFile::Status::kUnreadable, "", error.message()};
  if (size > most) return {SmallFile::Status::kTooLarge, "", ""};
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) return {SmallFile::Status::kUnreadable, "", "can't read it"};
  return {SmallFile::Status::kRead, bytes, ""};
}

// A file nobody else may open while it is held, gone once let go of.
FolderLock::FolderLock(const std::string& folder, int waitMs)
    : handle_(intptr_t(INVALID_HANDLE_VALUE)) {
  const fs::path lock = fs::u8path(folder) / "gamehost.lock";
  for (int waited = 0;; waited += 10) {
    HANDLE handle = CreateFileW(lock.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      handle_ = intptr_t(handle);
      held_ = true;
      return;
    }
    if (GetLastError() != ERROR_SHARING_VIOLATION || waited >= waitMs) return;
    Sleep(10);
  }
}

FolderLock::~FolderLock() {
  if (held_) CloseHandle(HANDLE(handle_));
}

std::string FindProgram(const std::string& name) {
  wchar_t found[MAX_PATH];
  const DWORD length = SearchPathW(nullptr, Wide(name).c_str(), L".exe", MAX_PATH, found, nullptr);
  return length > 0 && length < MAX_PATH ? Utf8(found) : "";
}
