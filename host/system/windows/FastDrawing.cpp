#include "FastDrawing.h"

#include <windows.h>

#include <string>

#include "ProcessInfo.h"
#include "StandardHandles.h"
#include "Wide.h"

namespace {

constexpr const wchar_t* kConfigVariable = L"WINE_D3D_CONFIG";

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool HasValue(const wchar_t* key, const wchar_t* name) {
  return RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

// A renderer the user chose, for every program or for gamehost alone.
bool RendererChosen() {
  if (GetEnvironmentVariableW(kConfigVariable, nullptr, 0) != 0) return true;
  return HasValue(L"Software\\Wine\\Direct3D", L"renderer") ||
         HasValue(L"Software\\Wine\\AppDefaults\\gamehost.exe\\Direct3D", L"renderer");
}

}  // namespace

std::optional<int> RunAgainWithFastDrawing() {
  if (!UnderWine() || RendererChosen()) return std::nullopt;
  if (!SetEnvironmentVariableW(kConfigVariable, L"renderer=gdi")) return std::nullopt;
  STARTUPINFOW startup = WithOurStandardHandles();
  std::wstring commandLine = GetCommandLineW();
  PROCESS_INFORMATION again{};
  if (!CreateProcessW(Wide(ExecutablePath()).c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                      nullptr, nullptr, &startup, &again)) {
    return std::nullopt;  // then this run goes on, slower
  }
  CloseHandle(again.hThread);
  // Ctrl-C reaches both; the run that plays is the one that stops.
  SetConsoleCtrlHandler(nullptr, TRUE);
  WaitForSingleObject(again.hProcess, INFINITE);
  DWORD status = 1;
  GetExitCodeProcess(again.hProcess, &status);
  CloseHandle(again.hProcess);
  return int(status);
}
