#include "platform/win32/system_error_text.h"

#include <windows.h>

#include <array>
#include <string_view>

#include "platform/win32/wide_string.h"

namespace inkpane {

std::string SystemErrorText(unsigned long error) {
  // The longest of the system's descriptions is a few hundred characters.
  std::array<wchar_t, 2048> text{};
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                      text.data(), static_cast<DWORD>(text.size()), nullptr);
  std::wstring_view description(text.data(), length);
  while (!description.empty() && (description.back() == L'\n' || description.back() == L'\r')) {
    description.remove_suffix(1);
  }
  if (description.empty()) return "Error " + std::to_string(error);
  return Narrow(description);
}

}  // namespace inkpane
