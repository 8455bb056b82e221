#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_failure.h"

namespace inkpane {

// What Windows makes of a file name before a file is opened, kept apart from
// the opening so that it can be tested on its own.

// The name made absolute, with "/" as "\", "." and ".." resolved, and the
// legacy device names (CON, NUL, COM1...) turned into \\.\ names; nothing
// when the system cannot, with the reason in GetLastError().
std::optional<std::wstring> FullPath(const std::wstring& name);

// What a name in the device namespace (\\.\ or \\?\) opens, told from the
// name alone: opening a named pipe connects to its server, taking the place
// of the client it waits for, and opening a port can act on what is plugged
// into it. The console under Wine cannot even be opened. A name with a folder
// in it (\\?\C:\..., \\?\UNC\...) is an ordinary file, as far as its name
// shows, and any other name is not in the device namespace: nothing.
std::optional<FileFailure> DeviceKind(std::wstring_view fullPath);

// The form of a full path that the file calls take past 260 characters
// without a manifest that asks for long paths: \\?\, which takes what it
// names as it is, so it is applied to a full path alone.
std::wstring ApiPath(std::wstring_view fullPath);

// Windows' file systems hold at most 255 characters in one name, which Wine,
// on a system with longer names, does not check.
bool HasOverlongComponent(std::wstring_view path);

}  // namespace inkpane
