#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform_hooks.h"

namespace inkpane {

// The fields of `text` between separators, in order; an empty field at the
// end is dropped.
std::vector<std::string_view> SplitFields(std::string_view text, char separator);

// Splits a filter string of the classic form "Description|patterns|..." into
// its entries. A description left without patterns at the end is dropped.
std::vector<FileFilter> ParseFilter(std::string_view filter);

// An open-file dialog that keeps its settings between uses: a title, a filter
// string, and the name of the file last chosen.
class CommonDialog {
 public:
  void SetDialogTitle(std::string title) { dialogTitle_ = std::move(title); }
  void SetFilter(std::string filter) { filter_ = std::move(filter); }
  const std::string& FileName() const { return fileName_; }

  // Shows the dialog and waits until it closes. Cancelling raises
  // ErrorNumber::CancelError and leaves FileName as it was.
  void ShowOpen();

 private:
  std::string dialogTitle_;
  std::string filter_;
  std::string fileName_;
};

}  // namespace inkpane
