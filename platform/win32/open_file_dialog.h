#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string>

#include "platform/platform_hooks.h"

namespace inkpane {

// Shows the system's open-file dialog, modal to `owner`, and returns the
// chosen file in UTF-8, or nothing when the user cancels it.
std::optional<std::string> AskForFileToOpen(HWND owner, const OpenFileRequest& request);

// The filter as the dialog takes it: each entry's description and patterns,
// each ended by a NUL, and one more NUL after the last entry.
std::wstring DialogFilter(std::span<const FileFilter> filters);

}  // namespace inkpane
