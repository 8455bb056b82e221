#include "platform/user32/open_file_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/win32/wide_string.h"

namespace inkpane {
namespace {

// Room for the longest path Windows accepts, so that a file deep in a long
// path can be chosen.
constexpr std::size_t kLongestPath = 32768;

// Puts the process's current folder back when it goes. Windows ignores
// OFN_NOCHANGEDIR in the open dialog and leaves the current folder in the
// folder of the file chosen, and a current folder cannot be deleted or
// renamed, nor the stick it lies on ejected, while the program runs.
class CurrentFolderKept {
 public:
  CurrentFolderKept() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    folder_.resize(size);
    const DWORD length = GetCurrentDirectoryW(size, folder_.data());
    // A length of the size or more means another thread moved the folder in
    // between; there is then no one folder to go back to.
    folder_.resize(length < size ? length : 0);
  }
  ~CurrentFolderKept() {
    if (!folder_.empty()) SetCurrentDirectoryW(folder_.c_str());
  }
  CurrentFolderKept(const CurrentFolderKept&) = delete;
  CurrentFolderKept& operator=(const CurrentFolderKept&) = delete;

 private:
  std::wstring folder_;
};

}  // namespace

std::wstring DialogFilter(std::span<const FileFilter> filters) {
  std::wstring filter;
  for (const FileFilter& entry : filters) {
    filter += Widen(entry.description);
    filter += L'\0';
    filter += Widen(entry.patterns);
    filter += L'\0';
  }
  filter += L'\0';
  return filter;
}

std::optional<std::string> AskForFileToOpen(HWND owner, const OpenFileRequest& request, const OpenFileCalls& calls) {
  const CurrentFolderKept currentFolder;
  const std::wstring title = Widen(request.title);
  const std::wstring filter = DialogFilter(request.filters);
  // The dialog starts in the folder it is given, which has answered, with the
  // name chosen last. Given no folder, Windows would start in one it
  // remembers, on a share that may have stopped answering.
  const std::wstring folder = Widen(request.folder);
  std::vector<wchar_t> fileName(kLongestPath, L'\0');
  const std::wstring lastChosen = Widen(request.fileName);
  if (lastChosen.size() < fileName.size()) lastChosen.copy(fileName.data(), lastChosen.size());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = fileName.data();
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.nMaxFile = static_cast<DWORD>(fileName.size());
  dialog.lpstrTitle = title.c_str();
  // The program keeps no history and no settings. OFN_NOCHANGEDIR is kept
  // for the systems that honour it, though the folder is put back anyway.
  dialog.Flags =
      OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
  if (calls.show(dialog)) return Narrow(fileName.data());
  if (calls.failure() == 0) return std::nullopt;

  // The dialog failed without showing, on a remembered name it refuses (a
  // file since renamed to something it cannot parse) or one that does not
  // fit. Left at that, every later Open would fail alike and look like a
  // cancel: it is shown once more, starting from no name.
  std::ranges::fill(fileName, L'\0');
  if (calls.show(dialog)) return Narrow(fileName.data());
  // Failing again from no name, the dialog fails for reasons of its own,
  // which the program cannot change: that ends as a cancel does.
  return std::nullopt;
}

}  // namespace inkpane
