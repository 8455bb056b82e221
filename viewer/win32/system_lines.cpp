#include "viewer/win32/system_lines.h"

#include <windows.h>

// ntdll's own answer, which unlike GetVersionEx is not capped at the version
// named in the program's manifest.
extern "C" __declspec(dllimport) LONG WINAPI RtlGetVersion(OSVERSIONINFOW* version);

namespace inkpane {
namespace {

// Windows 11 still calls itself 10.0, and tells itself apart by its build.
constexpr unsigned long kFirstBuildOfWindows11 = 22000;

std::string WindowsVersion() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (RtlGetVersion(&version) != 0) return "Windows";
  return WindowsName(version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber);
}

// Wine says what it is through an export of its ntdll that Windows' has not.
std::string UnderWine() {
  using WineGetVersion = const char*(__cdecl*)();
  const FARPROC found = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
  if (found == nullptr) return {};
  return " under Wine " + std::string(reinterpret_cast<WineGetVersion>(reinterpret_cast<void*>(found))());
}

}  // namespace

std::string WindowsName(unsigned long major, unsigned long minor, unsigned long build) {
  const auto is = [&](unsigned long wantedMajor, unsigned long wantedMinor) {
    return major == wantedMajor && minor == wantedMinor;
  };
  std::string name;
  if (is(10, 0)) {
    name = build >= kFirstBuildOfWindows11 ? "Windows 11" : "Windows 10";
  } else if (is(6, 3)) {
    name = "Windows 8.1";
  } else if (is(6, 2)) {
    name = "Windows 8";
  } else if (is(6, 1)) {
    name = "Windows 7";
  } else {
    // A version with no name we know, older or newer, is given by number.
    name = "Windows " + std::to_string(major) + "." + std::to_string(minor);
  }
  return name + " (build " + std::to_string(build) + ")";
}

std::string SystemLines() {
  return "Built with GCC " __VERSION__ " and MinGW-w64 " __MINGW64_VERSION_STR ", running on " + WindowsVersion() +
         UnderWine() + ".";
}

}  // namespace inkpane
