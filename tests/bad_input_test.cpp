// Every kind of bad input the viewer can be handed, one row each, with all
// that the decode does about it: what it draws, how often it refreshes and
// lets events run, the message boxes, the slot left closed, and a good file
// decoding normally straight after.
#include "tests/bad_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/read_pbm_token.h"
#include "decoder/render_pbm_file.h"
#include "platform/utf8_path.h"
#include "tests/system_rows.h"
#include "tests/test_support.h"

namespace inkpane::testing {
namespace {

using namespace std::string_literals;

constexpr std::size_t kHundredMegabytes = std::size_t{100} * 1000 * 1000;

// The event processing that comes while `bytes` are read with no row drawn.
std::string PacedEvents(std::size_t bytes) { return std::string(bytes / kBytesReadBetweenEvents, 'E'); }

// `first` rows of `width` black pixels, then white ones up to `height`.
Rows BlackThenWhite(int width, int first, int height) {
  Rows rows(static_cast<std::size_t>(first), std::string(static_cast<std::size_t>(width), '1'));
  rows.resize(static_cast<std::size_t>(height), std::string(static_cast<std::size_t>(width), '0'));
  return rows;
}

// A file of `head`, then `count` times `filler`, then `tail`, written in
// blocks so the test itself never holds it whole.
std::function<std::string(const TempDir&)> Huge(std::string head, char filler, std::size_t count, std::string tail) {
  return [=](const TempDir& dir) {
    const std::string path = dir.Write("input.pbm", head);
    std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::app);
    const std::string block(std::size_t{1} << 20, filler);
    for (std::size_t left = count; left > 0; left -= std::min(left, block.size())) {
      out.write(block.data(), static_cast<std::streamsize>(std::min(left, block.size())));
    }
    out << tail;
    if (!out) throw std::runtime_error("cannot write " + path);
    return path;
  };
}

// Truncating again to the same length changes nothing, so only the first
// event processing shrinks the file.
std::function<void(const std::string&)> TruncateTo(std::uintmax_t length) {
  return [length](const std::string& path) { std::filesystem::resize_file(PathFromUtf8(path), length); };
}

// The widest and tallest image there is, with only five raster bytes: every
// one of its pixels is drawn, nearly all of them white, and a refresh with
// event processing comes every sixteen rows of 32767 pixels.
BadInput LargestImageOnTwentyBytes() {
  std::string firstRow =
      "11111111"
      "00000000"
      "10101010"
      "01010101"
      "00001111";
  firstRow.resize(64, '0');
  Rows rows(64, std::string(64, '0'));
  rows.front() = firstRow;
  return {"P4Of32767x32767OnTwentyBytes", Bytes("P4\n32767 32767\n\xFF\x00\xAA\x55\x0F"s), rows, Refreshes(32767 / 16)};
}

// The file loses its second half at the first event processing, when the
// reader has buffered only its first block: the rows still in the file come
// out black, those past its new end white, as for any raster that ends early.
// The half kept, a megabyte, is far larger than a read block, so rows read
// ahead before the truncation cannot hide where the file now ends.
BadInput FileShrinkingMidDecode() {
  const std::string header = "P4\n8000 2000\n";
  const std::uintmax_t halfRaster = 1000 * 1000;
  return {.name = "FileShrinkingMidDecode",
          .make = Huge(header, '\xFF', 2 * halfRaster, ""),
          .rows = BlackThenWhite(8, 1000, 2000),
          .calls = Refreshes(2000 / 16),
          .duringEvents = TruncateTo(header.size() + halfRaster),
          .surfaceWidth = 8,
          .surfaceHeight = 2000};
}

std::vector<BadInput> Cases() {
  const std::string nines(32, '9');
  std::vector<BadInput> cases = {
      {"MissingFile",
       [](const TempDir& dir) { return (dir.path() / "missing.pbm").string(); },
       {},
       "",
       {kReadError + MissingFileDescription(std::string(kPathMark))}},
      {"EmptyName", Named(""), {}, "", {kReadError + "No file name was given."}},
      {"Folder", [](const TempDir& dir) { return dir.path().string(); }, {}, "", {NotRegular("a folder")}},
      {"EmptyFile", Bytes(""), {}, "", {kNotPbm}},
      {"EveryWhitespaceByteAndNothingElse",
       Bytes([] {
         std::string bytes;
         for (int byte = 0; byte <= 0x20; ++byte) bytes.push_back(static_cast<char>(byte));
         return bytes;
       }()),
       {},
       "",
       {kNotPbm}},
      {"WidthOf100MB",
       Huge("P4\n", '9', kHundredMegabytes, " 1\n\xFF"),
       {},
       PacedEvents(kHundredMegabytes),
       {Overflow(nines + "...")}},
      {"CommentOf100MB",
       Huge("P1\n#", 'x', kHundredMegabytes, "\n2 1\n1 0\n"),
       {"10"},
       PacedEvents(kHundredMegabytes) + "RE"},
      {"WidthPastAPieceReadWhole", Bytes("P1\n" + std::string(kLongestTokenPiece, '0') + "2 1\n1 1\n"), {"11"}, "RE"},
      {"RunPastAPieceTurningIntoANumber",
       Bytes("P1\n256 257\n" + std::string(kLongestTokenPiece, '1') + "0x\n"),
       Rows(64, std::string(64, '1')),
       Refreshes(16),
       {kReadError + "The raster holds a token of more than 65536 characters that begins as a run of 0 and 1 and "
                     "goes on with other characters: too long to hold."}},
      {"PlainWidth40000", Bytes("P1\n40000 1\n1\n"), {}, "", {Overflow("40000")}},
      {"RawHeightMinus1", Bytes("P4\n8 -1\n\xFF"), {}, ""},
      {"PlainHeightMinus1", Bytes("P1\n1 -1\n1\n"), {}, ""},
      {"RawWidth0", Bytes("P4\n0 20\n\xFF\xFF"), {}, Refreshes(1)},
      // Found by the fuzzer: whole bytes of rows below the surface, which are
      // dropped a run at a time, once pointed at storage the rows lack.
      {"RawWholeBytesBelowTheSurface", Bytes("P4\n16 65\n" + std::string(130, '\xFF')), Rows(64, std::string(16, '1')),
       Refreshes(4)},
      {"NumberOutOfRangeMidRow",
       Bytes("P1\n3 3\n1 0 1\n0 1 0\n1 32768 1\n"),
       {"101", "010", "1.."},
       "RE",
       {Overflow("32768")}},
      {"NulBytesSeparateHeaderTokens", Bytes("P1\0\0002\0\0001\0001 0\0"s), {"10"}, "RE"},
      {"NulInsideTheMagic", Bytes("P\0001\n1 1\n1\n"s), {}, "", {kNotPbm}},
      {"HighBytesAfterTheMagic", Bytes("P4\x80\xFF\n8 1\n\xFF"), {}, "", {kNotPbm}},
      {"HighBytesAsTheWidthReadAs0", Bytes("P4\n\xC3\xA9 1\n\xFF"), {}, ""},
      {"HighBytesAfterWidthDigits", Bytes("P1\n2\xA0 1\n1 1\n"), {"11"}, "RE"},
      {"RawCutBeforeTheHalfUsedByteOfARow", Bytes("P4\n12 2\n\xFF"), {"111111110000", "000000000000"}, ""},
      {"RawCutMidRow", Bytes("P4\n24 2\n\xFF\x0F"), {"111111110000111100000000", std::string(24, '0')}, ""},
      {"PlainCutInADigitRun", Bytes("P1\n4 2\n101"), {"1010", "0000"}, "RE"},
      {"CutInTheMagic", Bytes("P"), {}, "", {kNotPbm}},
      {"CutBeforeTheHeight", Bytes("P4\n8"), {}, ""},
      {"CutRightAfterTheHeight", Bytes("P1\n3 2"), {"000", "000"}, "RE"},
      FileShrinkingMidDecode(),
      LargestImageOnTwentyBytes(),
  };
  std::ranges::move(SystemBadInputs(), std::back_inserter(cases));
  return cases;
}

std::vector<std::string> WithPath(const std::vector<std::string>& messages, const std::string& path) {
  std::vector<std::string> named;
  for (std::string message : messages) {
    if (const std::size_t at = message.find(kPathMark); at != std::string::npos) {
      message.replace(at, kPathMark.size(), path);
    }
    named.push_back(std::move(message));
  }
  return named;
}

class BadInputTest : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputTest, IsReportedAndLeavesTheDecoderReady) {
  const BadInput& c = GetParam();
  const TempDir dir;
  const std::string path = c.make(dir);
  const auto decode = [&] {
    std::function<void()> duringEvents;
    if (c.duringEvents) duringEvents = [&] { c.duringEvents(path); };
    return DecodeFile(path, c.surfaceWidth, c.surfaceHeight, duringEvents);
  };

  Decoded decoded;
  if (c.around) {
    c.around(dir, path, [&] { decoded = decode(); });
    if (IsSkipped()) return;
  } else {
    decoded = decode();
  }

  EXPECT_EQ(decoded.rows, c.rows);
  EXPECT_EQ(decoded.calls, c.calls);
  EXPECT_EQ(decoded.messages, WithPath(c.messages, path));
  EXPECT_TRUE(decoded.slotClosed);

  const Decoded next = DecodeBytes("P1\n2 1\n1 0\n");
  EXPECT_EQ(next.rows, Rows{"10"});
  EXPECT_TRUE(next.messages.empty());
  EXPECT_TRUE(next.slotClosed);
}

INSTANTIATE_TEST_SUITE_P(RenderPbmFile, BadInputTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<BadInput>& info) { return info.param.name; });

}  // namespace
}  // namespace inkpane::testing
