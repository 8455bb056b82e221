#include "platform/win32/file_path.h"

#include <windows.h>

#include <algorithm>
#include <array>

namespace inkpane {
namespace {

constexpr std::size_t kLongestComponent = 255;

bool StartsWith(std::wstring_view text, std::wstring_view prefix, bool ignoreCase = false) {
  return text.size() >= prefix.size() &&
         CompareStringOrdinal(text.data(), static_cast<int>(prefix.size()), prefix.data(),
                              static_cast<int>(prefix.size()), ignoreCase) == CSTR_EQUAL;
}

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && StartsWith(a, b, true);
}

// The devices every Windows has always had under these names in any folder.
bool IsDosDeviceName(std::wstring_view name) {
  constexpr std::array<std::wstring_view, 6> kFixed = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  if (std::ranges::any_of(kFixed, [&](std::wstring_view fixed) { return EqualIgnoringCase(name, fixed); })) {
    return true;
  }
  return name.size() == 4 && (StartsWith(name, L"COM", true) || StartsWith(name, L"LPT", true)) && name[3] >= L'1' &&
         name[3] <= L'9';
}

}  // namespace

std::optional<std::wstring> FullPath(const std::wstring& name) {
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return std::nullopt;
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);
  }
}

std::optional<FileFailure> DeviceKind(std::wstring_view fullPath) {
  if (!StartsWith(fullPath, L"\\\\.\\") && !StartsWith(fullPath, L"\\\\?\\")) return std::nullopt;
  const std::wstring_view rest = fullPath.substr(4);
  if (StartsWith(rest, L"pipe\\", true)) return FileFailure::Pipe;
  if (rest.find(L'\\') != std::wstring_view::npos) return std::nullopt;
  return IsDosDeviceName(rest) ? FileFailure::CharacterDevice : FileFailure::SpecialFile;
}

std::wstring ApiPath(std::wstring_view fullPath) {
  if (StartsWith(fullPath, L"\\\\?\\") || StartsWith(fullPath, L"\\\\.\\")) return std::wstring(fullPath);
  if (StartsWith(fullPath, L"\\\\")) return L"\\\\?\\UNC\\" + std::wstring(fullPath.substr(2));
  return L"\\\\?\\" + std::wstring(fullPath);
}

bool HasOverlongComponent(std::wstring_view path) {
  for (std::size_t start = 0; start < path.size();) {
    const std::size_t end = std::min(path.find(L'\\', start), path.size());
    if (end - start > kLongestComponent) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace inkpane
