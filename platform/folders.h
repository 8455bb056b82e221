#pragma once

#include <string>
#include <string_view>

namespace inkpane {

// Folders as the open dialog meets them, in UTF-8; each system's folder
// implements these. None but FolderAnswers waits on storage: they take
// names apart, or ask what the system already holds.

// The folder that holds the named file, and the file's name without it.
std::string FolderOf(std::string_view path);
std::string NameOf(std::string_view path);

// The process's current folder, the user's home (on Windows, the profile
// folder), and the root of the system's own disk.
std::string CurrentFolder();
std::string HomeFolder();
std::string SystemRoot();

// Looks at `folder` as a file dialog first does, its attributes and its
// list of files, and says whether it is a folder that can be listed. Waits
// as long as the folder's storage does.
bool FolderAnswers(const std::string& folder);

}  // namespace inkpane
