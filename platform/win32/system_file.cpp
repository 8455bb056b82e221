#include "platform/system_file.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "platform/file_failure.h"
#include "platform/platform_hooks.h"
#include "platform/win32/file_path.h"
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
  const std::optional<std::wstring> madeFull = FullPath(Widen(fileName));
  if (!madeFull) RaiseOpenFailure(GetLastError());
  const std::wstring& fullPath = *madeFull;
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
