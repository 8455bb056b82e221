#pragma once

#include <string_view>

namespace inkpane {

// Why a file could not be opened or read, in words every system shares. Each
// system's file access names the reason it recognises; whatever it does not
// recognise comes with the system's own description instead.
enum class FileFailure {
  NotFound,
  PermissionDenied,
  InvalidName,
  NameTooLong,
  TooManyFiles,
  OutOfMemory,
  // Not a regular file, by kind.
  Folder,
  Pipe,
  CharacterDevice,
  BlockDevice,
  Socket,
  SpecialFile,
  // The system's own description says why.
  OpenFailed,
  ReadFailed,
};

// Raises the run-time error the user sees for `failure` on the named file.
// The words are built here alone, so every system says the same where the
// words are ours; `systemText` is the system's description for OpenFailed and
// ReadFailed.
[[noreturn]] void RaiseFileFailure(FileFailure failure, std::string_view fileName, std::string_view systemText = {});

// Raises the run-time error for `failure` described in the system's own
// words, for a system whose users know its descriptions of failures (Windows).
[[noreturn]] void RaiseSystemFailure(FileFailure failure, std::string_view systemText);

}  // namespace inkpane
