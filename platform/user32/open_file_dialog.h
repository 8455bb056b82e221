#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <span>
#include <string>

#include "platform/platform_hooks.h"

namespace inkpane {

// The system's calls behind the open-file dialog. The tests put stand-ins in
// their place, which fail as the system's dialog can, or move the current
// folder as it does on Windows.
struct OpenFileCalls {
  // Shows the dialog and returns whether a file was chosen.
  std::function<bool(OPENFILENAMEW& dialog)> show = [](OPENFILENAMEW& dialog) {
    return GetOpenFileNameW(&dialog) != 0;
  };
  // Why the last showing chose nothing: 0 for a cancel, else the dialog's
  // own error code (FNERR_..., CDERR_...).
  std::function<DWORD()> failure = [] { return CommDlgExtendedError(); };
};

// Shows the system's open-file dialog, modal to `owner`, and returns the
// chosen file in UTF-8, or nothing when the user cancels it. The process's
// current folder is the same afterwards as before.
std::optional<std::string> AskForFileToOpen(HWND owner, const OpenFileRequest& request,
                                            const OpenFileCalls& calls = {});

// The filter as the dialog takes it: each entry's description and patterns,
// each ended by a NUL, and one more NUL after the last entry.
std::wstring DialogFilter(std::span<const FileFilter> filters);

}  // namespace inkpane
