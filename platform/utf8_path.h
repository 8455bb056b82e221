#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace inkpane {

// Names are UTF-8 inside the program. std::filesystem takes a char string in
// the system's narrow encoding, which on Windows is a code page that cannot
// hold every name, so names pass through char8_t, which is UTF-8 everywhere.
inline std::filesystem::path PathFromUtf8(std::string_view name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

}  // namespace inkpane
