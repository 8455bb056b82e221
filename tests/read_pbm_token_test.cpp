#include "decoder/read_pbm_token.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_slots.h"
#include "tests/test_support.h"

namespace inkpane::testing {
namespace {

using namespace std::string_literals;

// Opens `bytes` as the image file and reads tokens up to and including the
// first empty one, plus one more to show the end stays the end. The pieces of
// a token too long to hold are joined by "|".
std::vector<std::string> TokensOf(const std::string& bytes) {
  const TempDir dir;
  OpenForInput(kImageFileSlot, dir.Write("tokens", bytes));
  std::vector<std::string> tokens;
  std::string token;
  do {
    bool goesOn = ReadPbmToken(token);
    tokens.push_back(token);
    for (std::string piece; goesOn;) {
      goesOn = ReadPbmTokenPiece(piece);
      tokens.back() += "|" + piece;
    }
  } while (!token.empty());
  ReadPbmToken(token);
  tokens.push_back(token);
  CloseFile(kImageFileSlot);
  return tokens;
}

TEST(ReadPbmToken, CutsFilesIntoTokens) {
  const struct {
    std::string name;
    std::string bytes;
    std::vector<std::string> tokens;
  } cases[] = {
      {"header with a comment", "P1\n# made by hand\n3 2\n", {"P1", "#", "3", "2", "", ""}},
      {"CR LF line endings", "P1\r\n# made by hand\r\n3 2\r\n", {"P1", "#", "3", "2", "", ""}},
      {"only whitespace", " \t\n\n  \n", {"", ""}},
      {"empty file", "", {"", ""}},
      {"last token without whitespace", "P4 12", {"P4", "12", "", ""}},
      {"comment running to the end of the file", "P1 #end", {"P1", "#", "", ""}},
      {"comment ended by a lone CR", "#a\rb", {"#", "b", "", ""}},
      {"spaces and tabs belong to a comment", "# a\tb \n1", {"#", "1", "", ""}},
      {"# inside a token", "12#3 #4", {"12#3", "#", "", ""}},
      {"control bytes are whitespace",
       "a\x00\x01\x1F\x7F"s + "b",
       {"a",
        "\x7F"
        "b",
        "", ""}},
      {"high bytes are token bytes", "\x80\xFF \xA0", {"\x80\xFF", "\xA0", "", ""}},
      {"one-byte tokens among longer ones and comments",
       "1 0\n#c\n1 #d\n0 23 4 \x80 5",
       {"1", "0", "#", "1", "#", "0", "23", "4", "\x80", "5", "", ""}},
      {"a comment opening with # and a space after a one-byte token", "1 # x\n0", {"1", "#", "0", "", ""}},
      {"tokens of a piece, a piece and a byte, and a comment longer than a piece",
       std::string(kLongestTokenPiece, '1') + " " + std::string(2 * kLongestTokenPiece + 1, '2') + "\n#" +
           std::string(2 * kLongestTokenPiece, '3') + "\n4",
       {std::string(kLongestTokenPiece, '1'),
        std::string(kLongestTokenPiece, '2') + "|" + std::string(kLongestTokenPiece, '2') + "|2", "#", "4", "", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TokensOf(c.bytes), c.tokens);
  }
}

TEST(ReadPbmToken, LeavesTheRawRasterAfterOneWhitespaceByte) {
  for (const char delimiter : {' ', '\n', '\r', '\0'}) {
    SCOPED_TRACE(static_cast<int>(delimiter));
    const TempDir dir;
    OpenForInput(kImageFileSlot, dir.Write("raw", "P4\n2 2"s + delimiter + "\x20\x0A"));
    std::string token;
    for (int i = 0; i < 3; ++i) ReadPbmToken(token);
    EXPECT_EQ(token, "2");
    FileSlot& file = FileSlotAt(kImageFileSlot);
    EXPECT_EQ(file.ReadByte(), 0x20);
    EXPECT_EQ(file.ReadByte(), 0x0A);
    CloseFile(kImageFileSlot);
  }
}

// The file is read in blocks, and a token is gathered from the block in one
// piece when it can be: one that straddles two blocks must come out the same,
// and leave the file at the same place.
TEST(ReadPbmToken, TokensAcrossReadBlocksComeWhole) {
  for (const std::string token : {"12345", "# a comment"}) {
    for (std::size_t start = kReadBlockSize - token.size() - 2; start <= kReadBlockSize + 1; ++start) {
      SCOPED_TRACE(token + " at " + std::to_string(start));
      const TempDir dir;
      OpenForInput(kImageFileSlot, dir.Write("blocks", std::string(start, ' ') + token + "\n\x01" + "7"));
      std::string read;
      ReadPbmToken(read);
      EXPECT_EQ(read, token.front() == '#' ? "#" : token);
      EXPECT_EQ(FileSlotAt(kImageFileSlot).ReadByte(), 0x01);
      ReadPbmToken(read);
      EXPECT_EQ(read, "7");
      ReadPbmToken(read);
      EXPECT_EQ(read, "");
      CloseFile(kImageFileSlot);
    }
  }
}

}  // namespace
}  // namespace inkpane::testing
