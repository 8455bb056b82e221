#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_slots.h"
#include "platform/platform_hooks.h"
#include "platform/run_time_error.h"
#include "tests/system_rows.h"
#include "tests/test_support.h"
#include "viewer/picture_description.h"

namespace inkpane::testing {
namespace {

using namespace std::string_literals;

struct RenderCase {
  std::string name;
  std::string bytes;
  Rows rows;
  std::vector<int> refreshRows;
  std::vector<std::string> messages = {};
};

void ExpectDecodes(const RenderCase& c) {
  SCOPED_TRACE(c.name);
  const Decoded decoded = DecodeBytes(c.bytes);
  EXPECT_EQ(decoded.rows, c.rows);
  EXPECT_EQ(decoded.refreshRows, c.refreshRows);
  EXPECT_EQ(decoded.calls, Refreshes(static_cast<int>(c.refreshRows.size())));
  EXPECT_EQ(decoded.messages, c.messages);
  EXPECT_TRUE(decoded.slotClosed);
}

TEST(RenderPbmFile, ReadsHeaders) {
  const RenderCase cases[] = {
      {"plain 2x2", "P1\n2 2\n1 0\n0 1\n", {"10", "01"}, {0}},
      {"comment after the magic", "P1\n# comment\n2 1\n1 1\n", {"11"}, {0}},
      {"comment between width and height", "P1\n2\n# comment\n1\n1 1\n", {"11"}, {0}},
      {"comments everywhere in the header", "P4\n#a\n#b\n8 #c\n#d\n1\n\xA5", {"10100101"}, {}},
      {"CR LF plain header", "P1\r\n# made by hand\r\n3 1\r\n1 0 1\r\n", {"101"}, {0}},
      {"tab after the magic, raster on the height's line", "P1\t3 1 011", {"011"}, {0}},
      {"LF after a CR LF height is the first raw byte", "P4\r\n10 1\r\n\xFF\x00", {"0000101011"}, {}},
      {"one whitespace byte ends the raw header", "P4\n8 1\n \x01", {"00100000"}, {}},
      {"fractional sizes round halves to even", "P1\n2.5 1.5\n1 1 1 1\n", {"11", "11"}, {0}},
      {"width 0 draws nothing", "P1\n0 5\n1 1\n", {}, {-1}},
      {"height 0 draws nothing", "P4\n8 0\n\xFF", {}, {}},
      {"negative width draws nothing", "P1\n-3 2\n1 1 1\n", {}, {-1}},
      {"magic alone draws nothing", "P4", {}, {}},
      {"a width that is not a number reads as 0", "P1\nabc 2\n1\n", {}, {-1}},
      {"lower-case magic", "p1\n1 1\n1\n", {}, {}, {kNotPbm}},
      {"P2", "P2\n1 1\n255\n0\n", {}, {}, {kNotPbm}},
      {"P3", "P3\n1 1\n255\n0 0 0\n", {}, {}, {kNotPbm}},
      {"P5", "P5\n1 1\n255\n\x00"s, {}, {}, {kNotPbm}},
      {"magic with a suffix", "P1x\n1 1\n1\n", {}, {}, {kNotPbm}},
      {"comment before the magic", "# comment\nP1\n1 1\n1\n", {}, {}, {kNotPbm}},
      {"empty file", "", {}, {}, {kNotPbm}},
      {"only whitespace", " \t\r\n\n", {}, {}, {kNotPbm}},
      {"width out of range", "P4\n40000 2\n", {}, {}, {Overflow("40000")}},
      {"height out of range", "P1\n2 -32769\n", {}, {}, {Overflow("-32769")}},
  };
  for (const RenderCase& c : cases) ExpectDecodes(c);
}

TEST(RenderPbmFile, DrawsRasters) {
  const std::string seventeenPlainRows = "P1\n1 17\n" + std::string(17 * 2, ' ');
  const std::string thirtyTwoRawRows = "P4\n1 32\n" + std::string(32, '\x80');
  const RenderCase cases[] = {
      {"raw rows start on a fresh byte", "P4\n10 2\n\xFF\xC0\x80\x00"s, {"1111111111", "1000000000"}, {}},
      {"raw bytes after the last row are ignored", "P4\n3 1\n\xA0\xFF\xFF", {"101"}, {}},
      {"raw raster cut short draws white", "P4\n8 3\n\xFF", {"11111111", "00000000", "00000000"}, {}},
      {"plain raster cut short draws white", "P1\n3 2\n1 1\n", {"110", "000"}, {0}},
      {"plain digits without separators run across rows", "P1\n3 2\n010110\n", {"010", "110"}, {0}},
      {"plain runs broken anywhere", "P1\n4 2\n01\n101 1\n01", {"0110", "1101"}, {0}},
      {"digits after the last pixel are ignored", "P1\n2 1\n0110110\n", {"01"}, {0}},
      {"other numbers are one pixel each", "P1\n6 1\n0.5 0.4 0.6 1.5 2 7\n", {"001111"}, {0}},
      {"signs, exponents and non-numbers", "P1\n6 1\n-1 +0 1e-3 5e2 abc 12#3\n", {"100101"}, {0}},
      {"a lone 0 and 1 among numbers", "P1\n4 1\n0 2 1 0.0\n", {"0110"}, {0}},
      {"comment lines inside a plain raster", "P1\n2 2\n1 0\n# between rows\n0 1\n", {"10", "01"}, {0}},
      {"a # inside a token starts no comment", "P1\n4 1\n01#x\n10\n", {"1100"}, {0}},
      {"plain refreshes after rows 0 and 16", seventeenPlainRows, Rows(17, "0"), {0, 16}},
      {"raw refreshes after rows 15 and 31", thirtyTwoRawRows, Rows(32, "1"), {15, 31}},
      {"image wider than the surface is cropped", "P4\n70 1\n" + std::string(9, '\xFF'), {std::string(64, '1')}, {}},
      {"plain number out of range keeps the rows drawn", "P1\n2 2\n1 1\n99999 1\n", {"11"}, {0}, {Overflow("99999")}},
  };
  for (const RenderCase& c : cases) ExpectDecodes(c);
}

// Raw bytes are taken from the file's read blocks a stretch at a time; rows
// that start, end or break at a block's edge must come out whole.
TEST(RenderPbmFile, RawRowsAcrossReadBlocksComeWhole) {
  const struct {
    std::string name;
    int width;
    int height;
    bool blockEdgeAtARowStart;
  } cases[] = {
      {"whole bytes, rows broken by the block edges", 2056, 600, false},
      {"a part-used last byte, rows broken by the block edges", 2061, 600, false},
      {"rows of three bytes, a block edge between rows", 24, 30000, true},
      {"rows of 4095 bytes, a block edge between rows", 32760, 40, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t rowBytes = (static_cast<std::size_t>(c.width) + 7) / 8;
    const std::string size = std::to_string(c.width) + " " + std::to_string(c.height) + "\n";
    std::string header = "P4\n" + size;
    if (c.blockEdgeAtARowStart) {
      // A comment long enough to end the header where a row ends at the edge.
      const std::size_t comment = "#\n"s.size() + (kReadBlockSize - header.size() - "#\n"s.size()) % rowBytes;
      header = "P4\n#" + std::string(comment - 2, '-') + "\n" + size;
      ASSERT_EQ((kReadBlockSize - header.size()) % rowBytes, 0u);
    }
    std::string raster(rowBytes * static_cast<std::size_t>(c.height), '\0');
    std::uint32_t state = 12345;
    for (char& byte : raster) {
      state = state * 1103515245u + 12345u;
      byte = static_cast<char>(state >> 24);
    }
    ASSERT_GT(header.size() + raster.size(), kReadBlockSize);

    Rows expected;
    for (int y = 0; y < c.height; ++y) {
      std::string row;
      for (int x = 0; x < c.width; ++x) {
        const auto byte = static_cast<unsigned char>(
            raster[static_cast<std::size_t>(y) * rowBytes + static_cast<std::size_t>(x / 8)]);
        row += (byte >> (7 - x % 8)) & 1 ? '1' : '0';
      }
      expected.push_back(row);
    }
    const TempDir dir;
    const Decoded decoded = DecodeFile(dir.Write("image.pbm", header + raster), c.width, c.height);
    EXPECT_TRUE(decoded.rows == expected) << "the drawn pixels differ from the raster";
    EXPECT_TRUE(decoded.messages.empty());
  }
}

// Plain runs are drawn from the file's 64 KiB read blocks where they lie
// whole; runs of every length and spaced digits, among numbers and comments,
// must come out as the tokens say wherever the blocks break them.
TEST(RenderPbmFile, PlainRunsAcrossReadBlocksComeWhole) {
  constexpr int kWidth = 333;
  constexpr int kHeight = 700;
  std::string raster;
  std::string pixels;
  std::uint32_t state = 54321;
  const auto random = [&state](std::uint32_t below) {
    state = state * 1103515245u + 12345u;
    return (state >> 16) % below;
  };
  while (pixels.size() < std::size_t{kWidth} * kHeight) {
    const std::uint32_t kind = random(10);
    if (kind == 0) {
      const bool black = random(2) == 1;
      raster += black ? "0.6" : "2e-1";
      pixels += black ? '1' : '0';
    } else if (kind == 1) {
      raster += "# 0101\n";
      continue;
    } else {
      const std::uint32_t length = kind < 6 ? 1 : random(20) + 1;
      for (std::uint32_t i = 0; i < length; ++i) raster += static_cast<char>('0' + random(2));
      pixels += raster.substr(raster.size() - length);
    }
    raster += " \n\t"[random(3)];
  }
  ASSERT_GT(raster.size(), 3 * kReadBlockSize);
  Rows expected;
  for (int y = 0; y < kHeight; ++y) expected.push_back(pixels.substr(std::size_t{kWidth} * y, kWidth));
  const TempDir dir;
  const std::string header = "P1\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n";
  const Decoded decoded = DecodeFile(dir.Write("image.pbm", header + raster), kWidth, kHeight);
  EXPECT_TRUE(decoded.rows == expected) << "the drawn pixels differ from the tokens";
  EXPECT_TRUE(decoded.messages.empty());
}

TEST(RenderPbmFile, ReportsFilesThatCannotBeRead) {
  const TempDir dir;
  const std::string missing = (dir.path() / "missing.pbm").string();
  // Ends inside a pixel token, so that every system reads again after the
  // open: into the file, or at its end.
  const std::string cutShort = dir.Write("cut-short.pbm", "P1\n1 1\n1");

  // Storage that is slow to answer, as the window system waits on it: events
  // run, then the call; the failing storage fails the one call after the open.
  int storageCalls = 0;
  using Patience = std::optional<std::chrono::milliseconds>;
  const auto slow = [](const std::function<void()>& call, Patience) {
    DoEvents();
    call();
    return true;
  };
  const auto failing = [&](const std::function<void()>& call, Patience) {
    DoEvents();
    if (++storageCalls == 2) throw RunTimeError(ErrorNumber::DeviceIoError, "The share stopped answering.");
    call();
    return true;
  };
  struct FileCase {
    std::string name;
    std::string path;
    std::string description;
    std::function<bool(const std::function<void()>&, Patience)> storage = {};
  };
  const FileCase cases[] = {
      {"missing file", missing, MissingFileDescription(missing)},
      {"empty name", "", "No file name was given."},
      {"folder", dir.path().string(), "\"" + dir.path().string() + "\" is a folder, not a regular file."},
      {"missing file on slow storage", missing, MissingFileDescription(missing), slow},
      {"a read failing after a wait", cutShort, "The share stopped answering.", failing},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ScopedPlatformHooks storage({.awaitStorage = c.storage});
    const Decoded decoded = DecodeFile(c.path);
    EXPECT_TRUE(decoded.rows.empty());
    EXPECT_EQ(decoded.messages, std::vector<std::string>{kReadError + c.description});
    EXPECT_TRUE(decoded.slotClosed);
    // The events of the wait ran before anything else.
    EXPECT_TRUE(!c.storage || decoded.calls.starts_with('E')) << decoded.calls;
  }
}

// The size and the end the decoder reports, as the window's description of
// its picture gives them to a screen reader.
TEST(RenderPbmFile, ReportsTheSizeAndHowFarTheDrawingGot) {
  const struct {
    std::string bytes;
    std::string description;
  } cases[] = {
      {std::string("P4 8 2 \xFF\x00", 10), "8 \u00D7 2 pixels"},
      {"P4 8 2 \xFF", "8 \u00D7 2 pixels; the file ended early, and the rest is white"},
      {"P1 2 1 0 1", "2 \u00D7 1 pixels"},
      {"P1 2 1 01", "2 \u00D7 1 pixels"},
      {"P1 2 1 0", "2 \u00D7 1 pixels; the file ended early, and the rest is white"},
      {"P1 -3 2 ", "0 \u00D7 2 pixels"},
      {"P1 1 1 99999", "1 \u00D7 1 pixels; the drawing stopped at an error"},
      {"P2 1 1 0", "Nothing drawn: the file could not be read as a PBM picture."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    PictureDescription picture;
    picture.Opening("/scans/page.pbm");
    EXPECT_TRUE(picture.Busy());
    picture.Drawn(DecodeBytes(c.bytes).report);
    picture.Opened();
    EXPECT_EQ(picture.Name(), "page.pbm");
    EXPECT_EQ(picture.Description(), c.description);
    EXPECT_FALSE(picture.Busy());
  }
}

TEST(RenderPbmFile, DecodesAgainAfterAFailure) {
  EXPECT_FALSE(DecodeBytes("P1\n1 1\n99999\n").messages.empty());
  const Decoded next = DecodeBytes("P1\n1 1\n1\n");
  EXPECT_EQ(next.rows, Rows{"1"});
  EXPECT_TRUE(next.messages.empty());
}

}  // namespace
}  // namespace inkpane::testing
