#include "platform/common_dialog.h"

#include "platform/run_time_error.h"

namespace inkpane {

std::vector<FileFilter> ParseFilter(std::string_view filter) {
  std::vector<std::string_view> parts;
  while (!filter.empty()) {
    const std::size_t bar = filter.find('|');
    parts.push_back(filter.substr(0, bar));
    filter = bar == std::string_view::npos ? std::string_view() : filter.substr(bar + 1);
  }
  std::vector<FileFilter> filters;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    filters.push_back({.description = std::string(parts[i]), .patterns = std::string(parts[i + 1])});
  }
  return filters;
}

void CommonDialog::ShowOpen() {
  const std::vector<FileFilter> filters = ParseFilter(filter_);
  std::optional<std::string> chosen =
      ShowOpenFileDialog({.title = dialogTitle_, .filters = filters, .fileName = fileName_});
  if (!chosen) throw RunTimeError(ErrorNumber::CancelError, "Cancel was selected.");
  fileName_ = std::move(*chosen);
}

}  // namespace inkpane
