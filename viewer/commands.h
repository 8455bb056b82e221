#pragma once

#include <string>
#include <string_view>

#include "platform/common_dialog.h"
#include "viewer/viewer_window.h"

namespace inkpane {

// The window's commands, the same on every system; each window only wires its
// menu entries and its close button to them.

// Open: asks for a file with `dialog` and draws it on `window`, then beeps.
// A cancelled dialog ends the command with nothing changed and no beep.
void OpenCommand(ViewerWindow& window, CommonDialog& dialog);

// Exit, and closing the window: ends the program at once, also in the middle
// of a decode, and leaves the open files to the system to close.
[[noreturn]] void ExitCommand();

// The About box, with `systemLines` (lines joined by CR LF naming what the
// program was built with and runs on) as its last block.
void AboutCommand(std::string_view systemLines);

// The About box's text: the program's name and version, what it is, how it
// draws and its keys, then `systemLines`.
std::string AboutText(std::string_view systemLines);

}  // namespace inkpane
