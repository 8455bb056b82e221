#include "platform/win32/open_file_dialog.h"

#include <commdlg.h>

#include <vector>

#include "platform/win32/wide_string.h"

namespace inkpane {
namespace {

// Room for the longest path Windows accepts, so that a file deep in a long
// path can be chosen.
constexpr std::size_t kLongestPath = 32768;

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

std::optional<std::string> AskForFileToOpen(HWND owner, const OpenFileRequest& request) {
  const std::wstring title = Widen(request.title);
  const std::wstring filter = DialogFilter(request.filters);
  // The dialog starts from the file chosen last, in its folder.
  std::vector<wchar_t> fileName(kLongestPath, L'\0');
  const std::wstring lastChosen = Widen(request.fileName);
  if (lastChosen.size() < fileName.size()) lastChosen.copy(fileName.data(), lastChosen.size());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = fileName.data();
  dialog.nMaxFile = static_cast<DWORD>(fileName.size());
  dialog.lpstrTitle = title.c_str();
  // The program keeps no history and no settings, and leaves its current
  // folder alone, so that it holds no folder the user may want to delete.
  dialog.Flags =
      OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
  // A cancel and a failure of the dialog itself alike leave nothing chosen.
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  return Narrow(fileName.data());
}

}  // namespace inkpane
