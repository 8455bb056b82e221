#pragma once

#include <string>
#include <string_view>

namespace inkpane {

// Text is UTF-8 everywhere inside the program and UTF-16 at the Win32 API.
// A sequence that is not valid in its encoding becomes U+FFFD.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace inkpane
