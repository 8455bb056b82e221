#include "viewer/win32/system_lines.h"

#include <windows.h>

// ntdll's own answer, which unlike GetVersionEx is not capped at the version
// named in the program's manifest.
extern "C" __declspec(dllimport) LONG WINAPI RtlGetVersion(OSVERSIONINFOW* version);

namespace inkpane {
namespace {

std::string WindowsVersion() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (RtlGetVersion(&version) != 0) return "Windows";
  // Windows 11 still calls itself 10.0, and tells itself apart by its build.
  return "Windows " + std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion) +
         " (build " + std::to_string(version.dwBuildNumber) + ")";
}

// Wine says what it is through an export of its ntdll that Windows' has not.
std::string UnderWine() {
  using WineGetVersion = const char*(__cdecl*)();
  const FARPROC found = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
  if (found == nullptr) return {};
  return " under Wine " + std::string(reinterpret_cast<WineGetVersion>(reinterpret_cast<void*>(found))());
}

}  // namespace

std::string SystemLines() {
  return "Built with GCC " __VERSION__ " and MinGW-w64 " __MINGW64_VERSION_STR ", running on " + WindowsVersion() +
         UnderWine() + ".";
}

}  // namespace inkpane
