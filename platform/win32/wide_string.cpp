#include "platform/win32/wide_string.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

namespace inkpane {
namespace {

// The API counts characters in an int.
int Length(std::size_t size) {
  if (size > INT_MAX) throw std::length_error("text too long for the Win32 API");
  return static_cast<int>(size);
}

}  // namespace

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int length = Length(utf8.size());
  std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int length = Length(utf16.size());
  std::string narrow(
      static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr)),
      '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, narrow.data(), static_cast<int>(narrow.size()), nullptr,
                      nullptr);
  return narrow;
}

}  // namespace inkpane
