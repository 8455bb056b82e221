#include "platform/folders.h"

#include <windows.h>

#include <optional>

#include "platform/win32/file_path.h"
#include "platform/win32/wide_string.h"

namespace inkpane {
namespace {

std::size_t LastSeparator(std::string_view path) { return path.find_last_of("\\/"); }

std::string EnvironmentFolder(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
  if (length == 0 || length >= size) return {};
  value.resize(length);
  return Narrow(value);
}

}  // namespace

std::string FolderOf(std::string_view path) {
  const std::size_t separator = LastSeparator(path);
  if (separator == std::string_view::npos) return CurrentFolder();
  std::string folder(path.substr(0, separator));
  // "C:" alone names the drive's current folder, not its root.
  if (folder.empty() || folder.back() == ':') folder += '\\';
  return folder;
}

std::string NameOf(std::string_view path) {
  const std::size_t separator = LastSeparator(path);
  return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string CurrentFolder() {
  const DWORD size = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(size, L'\0');
  const DWORD length = GetCurrentDirectoryW(size, folder.data());
  if (size == 0 || length == 0 || length >= size) return SystemRoot();
  folder.resize(length);
  return Narrow(folder);
}

std::string HomeFolder() {
  const std::string profile = EnvironmentFolder(L"USERPROFILE");
  return profile.empty() ? SystemRoot() : profile;
}

std::string SystemRoot() {
  wchar_t windows[MAX_PATH + 1] = {};
  const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH + 1);
  if (length < 2 || length > MAX_PATH || windows[1] != L':') return "C:\\";
  return Narrow(std::wstring_view(windows, 2)) + '\\';
}

bool FolderAnswers(const std::string& folder) {
  const std::optional<std::wstring> full = FullPath(Widen(folder));
  if (!full) return false;
  const std::wstring path = ApiPath(*full);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return false;
  std::wstring pattern = path;
  if (pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW entry;
  const HANDLE listing = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
  if (listing == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  FindClose(listing);
  return true;
}

}  // namespace inkpane
