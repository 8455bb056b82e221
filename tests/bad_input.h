#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/test_support.h"

namespace inkpane::testing {

// Expected messages name the decoded file by this mark.
inline constexpr std::string_view kPathMark = "<path>";

// One bad input the viewer can be handed, with all that its decode does.
struct BadInput {
  std::string name;
  // Makes the input in the folder and returns the name to decode.
  std::function<std::string(const TempDir& dir)> make;
  Rows rows;
  std::string calls;
  std::vector<std::string> messages = {};
  // Runs at each event processing, given the name being decoded.
  std::function<void(const std::string& path)> duringEvents = {};
  int surfaceWidth = 64;
  int surfaceHeight = 64;
  // Calls `decode` with what the row needs around it, such as another user
  // decoding or another program holding the file; may skip the test with
  // GTEST_SKIP where the system cannot provide that.
  std::function<void(const TempDir& dir, const std::string& path, const std::function<void()>& decode)> around = {};
};

// A failure names the case, not the bytes of its row.
inline void PrintTo(const BadInput& c, std::ostream* out) { *out << c.name; }

inline std::function<std::string(const TempDir&)> Bytes(std::string bytes) {
  return [bytes = std::move(bytes)](const TempDir& dir) { return dir.Write("input.pbm", bytes); };
}

inline std::function<std::string(const TempDir&)> Named(std::string path) {
  return [path = std::move(path)](const TempDir&) { return path; };
}

// The message for the decoded file refused as `kind` ("a pipe").
inline std::string NotRegular(std::string_view kind) {
  return kReadError + "\"" + std::string(kPathMark) + "\" is " + std::string(kind) + ", not a regular file.";
}

}  // namespace inkpane::testing
