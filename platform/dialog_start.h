#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace inkpane {

// Where the open-file dialog starts, and the name it shows there.
struct DialogStart {
  std::string folder;
  std::string fileName;

  bool operator==(const DialogStart&) const = default;
};

// How long the folder the dialog would start in is given to answer.
inline constexpr std::chrono::milliseconds kFolderPatience{1000};

// A dialog looks at the folder it starts in on the window thread, and a
// share that stopped answering would freeze the window there. So the folder
// of the file chosen last (the current folder the first time) is looked at
// first off the window thread, with the window live; if it fails or has not
// answered within kFolderPatience, the user's home is tried the same way,
// and then the root of the system's own disk, with the last name alone.
DialogStart ChooseDialogStart(std::string_view lastChosen);

}  // namespace inkpane
