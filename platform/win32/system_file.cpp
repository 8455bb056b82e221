#include "platform/system_file.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "platform/file_failure.h"
#include "platform/platform_hooks.h"
#include "platform/win32/owned_handle.h"
#include "platform/win32/system_error_text.h"
#include "platform/win32/wide_string.h"

namespace inkpane {
namespace {

// A name on an empty card reader or disc drive would otherwise have Windows
// ask for a disk in a box of its own, holding the open up until someone
// answers; failing at once lets the caller report "The device is not ready."
// like any other failure.
class NoAskingForDisks {
 public:
  NoAskingForDisks() { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
  ~NoAskingForDisks() { SetThreadErrorMode(previous_, nullptr); }
  NoAskingForDisks(const NoAskingForDisks&) = delete;
  NoAskingForDisks& operator=(const NoAskingForDisks&) = delete;

 private:
  DWORD previous_ = 0;
};

// The failure as the system describes it, numbered by its kind.
FileFailure KindOfFailure(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      return FileFailure::NotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return FileFailure::PermissionDenied;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
      return FileFailure::InvalidName;
    case ERROR_FILENAME_EXCED_RANGE:
      return FileFailure::NameTooLong;
    case ERROR_TOO_MANY_OPEN_FILES:
      return FileFailure::TooManyFiles;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return FileFailure::OutOfMemory;
    default:
      return FileFailure::OpenFailed;
  }
}

[[noreturn]] void RaiseOpenFailure(DWORD error) { RaiseSystemFailure(KindOfFailure(error), SystemErrorText(error)); }

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

// What a name in the device namespace (\\.\ or \\?\) opens, told from the
// name alone: opening a named pipe connects to its server, taking the place
// of the client it waits for, and opening a port can act on what is plugged
// into it. The console under Wine cannot even be opened. A name with a folder
// in it (\\?\C:\..., \\?\UNC\...) is an ordinary file, as far as its name shows.
std::optional<FileFailure> DeviceKind(std::wstring_view fullPath) {
  if (!StartsWith(fullPath, L"\\\\.\\") && !StartsWith(fullPath, L"\\\\?\\")) return std::nullopt;
  const std::wstring_view rest = fullPath.substr(4);
  if (StartsWith(rest, L"pipe\\", true)) return FileFailure::Pipe;
  if (rest.find(L'\\') != std::wstring_view::npos) return std::nullopt;
  return IsDosDeviceName(rest) ? FileFailure::CharacterDevice : FileFailure::SpecialFile;
}

// The name made absolute, with "/" as "\", "." and ".." resolved, and the
// legacy device names (CON, NUL, COM1...) turned into \\.\ names.
std::wstring FullPath(std::string_view fileName) {
  const std::wstring name = Widen(fileName);
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) RaiseOpenFailure(GetLastError());
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);
  }
}

// Only the \\?\ form reaches past 260 characters without a manifest that
// asks for long paths; what it names is taken as it is, so it is applied to
// the full path alone.
std::wstring ApiPath(const std::wstring& fullPath) {
  if (StartsWith(fullPath, L"\\\\?\\") || StartsWith(fullPath, L"\\\\.\\")) return fullPath;
  if (StartsWith(fullPath, L"\\\\")) return L"\\\\?\\UNC\\" + fullPath.substr(2);
  return L"\\\\?\\" + fullPath;
}

// Windows' file systems hold at most 255 characters in one name, which Wine,
// on a system with longer names, does not check.
constexpr std::size_t kLongestComponent = 255;

bool HasOverlongComponent(std::wstring_view path) {
  for (std::size_t start = 0; start < path.size();) {
    const std::size_t end = std::min(path.find(L'\\', start), path.size());
    if (end - start > kLongestComponent) return true;
    start = end + 1;
  }
  return false;
}

FileFailure KindOfFile(DWORD type) {
  switch (type) {
    case FILE_TYPE_CHAR:
      return FileFailure::CharacterDevice;
    case FILE_TYPE_PIPE:
      return FileFailure::Pipe;
    default:
      return FileFailure::SpecialFile;
  }
}

}  // namespace

SystemFile::SystemFile(std::string_view fileName) {
  const std::wstring fullPath = FullPath(fileName);
  if (const std::optional<FileFailure> device = DeviceKind(fullPath)) RaiseFileFailure(*device, fileName);
  if (HasOverlongComponent(fullPath)) RaiseFileFailure(FileFailure::NameTooLong, fileName);
  const std::wstring path = ApiPath(fullPath);
  // Each of these calls waits on the file's storage, a share's server or a
  // cloud file's download.
  AwaitStorage([&] {
    const NoAskingForDisks noBoxes;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      RaiseFileFailure(FileFailure::Folder, fileName);
    }
    // Sharing everything keeps the file as open to other programs as it was:
    // one may go on writing it, renaming it or deleting it while it is read.
    HANDLE opened = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (opened == INVALID_HANDLE_VALUE) RaiseOpenFailure(GetLastError());
    OwnedHandle file(opened);
    // A pipe or a device that the name did not show may never end.
    if (const DWORD type = GetFileType(file.get()); type != FILE_TYPE_DISK) {
      RaiseFileFailure(KindOfFile(type), fileName);
    }
    handle_ = reinterpret_cast<std::intptr_t>(file.release());
  });
}

std::size_t SystemFile::Read(std::span<std::uint8_t> buffer, std::string_view) {
  const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), MAXDWORD));
  DWORD count = 0;
  DWORD error = ERROR_SUCCESS;
  AwaitStorage([&] {
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer.data(), wanted, &count, nullptr)) error = GetLastError();
  });
  if (error != ERROR_SUCCESS) RaiseSystemFailure(FileFailure::ReadFailed, SystemErrorText(error));
  return count;
}

void SystemFile::Close() {
  if (IsOpen()) CloseHandle(reinterpret_cast<HANDLE>(std::exchange(handle_, kClosed)));
}

}  // namespace inkpane
