#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/drawing_target.h"
#include "platform/platform_hooks.h"

namespace inkpane::testing {

// An image as drawn, one string per row: '1' black, '0' white, and whatever
// else a test uses for a pixel that is neither.
using Rows = std::vector<std::string>;

// The message boxes of a failed decode, as MessageAsText shows them.
inline const std::string kNotPbm = "[16] Error: This is not a valid PBM File.";
inline const std::string kReadError = "[16] Error: There was an error reading the file:\r\n";

// The read error for a number outside the range, shown as `shown`.
std::string Overflow(std::string_view shown);

// `count` refreshes, each followed by its event processing, as Decoded::calls
// records them.
std::string Refreshes(int count);

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes `bytes` to a file of that name, in UTF-8, in the folder or in a
  // folder under it, made as needed, and returns its path in UTF-8.
  std::string Write(std::string_view name, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

// What one decode did, as a test can compare it.
struct Decoded {
  // The drawn rectangle from (0, 0), one string per row: '1' black, '0' white,
  // '.' not drawn. Empty when nothing was drawn.
  Rows rows;
  // The last row drawn at each refresh, -1 while no row has a pixel.
  std::vector<int> refreshRows;
  // Refreshes ('R') and event processing ('E') in the order they happened.
  std::string calls;
  // Each message box as "[STYLE] TITLE: TEXT".
  std::vector<std::string> messages;
  // Whether the image file slot was free again at every message box and once
  // the decode returned.
  bool slotClosed = false;
  // What the decoder told its target at the end.
  DrawingReport report;
};

// A message box as a test compares it: "[STYLE] TITLE: TEXT".
std::string MessageAsText(std::string_view text, MessageBoxStyle style, std::string_view title);

// Whether the image file slot is free, found by opening `anyRegularFile` in it.
bool ImageSlotIsFree(const std::string& anyRegularFile);

// Decodes the file at `path` onto an offscreen surface of the given size.
// `duringEvents`, when given, runs at each event processing after it is
// recorded, so that a test can change the file in the middle of a decode.
Decoded DecodeFile(const std::string& path, int surfaceWidth = 64, int surfaceHeight = 64,
                   const std::function<void()>& duringEvents = {});

// Writes `bytes` to a temporary file and decodes it.
Decoded DecodeBytes(std::string_view bytes);

}  // namespace inkpane::testing
