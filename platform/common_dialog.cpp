#include "platform/common_dialog.h"

#include "platform/dialog_start.h"
#include "platform/run_time_error.h"

namespace inkpane {

std::vector<std::string_view> SplitFields(std::string_view text, char separator) {
  std::vector<std::string_view> fields;
  while (!text.empty()) {
    const std::size_t end = text.find(separator);
    fields.push_back(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return fields;
}

std::vector<FileFilter> ParseFilter(std::string_view filter) {
  const std::vector<std::string_view> parts = SplitFields(filter, '|');
  std::vector<FileFilter> filters;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    filters.push_back({.description = std::string(parts[i]), .patterns = std::string(parts[i + 1])});
  }
  return filters;
}

void CommonDialog::ShowOpen() {
  const std::vector<FileFilter> filters = ParseFilter(filter_);
  const DialogStart start = ChooseDialogStart(fileName_);
  std::optional<std::string> chosen = ShowOpenFileDialog(
      {.title = dialogTitle_, .filters = filters, .folder = start.folder, .fileName = start.fileName});
  if (!chosen) throw RunTimeError(ErrorNumber::CancelError, "Cancel was selected.");
  fileName_ = std::move(*chosen);
}

}  // namespace inkpane
