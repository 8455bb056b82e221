#include <cstdint>
#include <string>

#include "decoder/module1.h"
#include "platform/file_slots.h"

namespace inkpane {
namespace {

// Every byte up to and including the space counts as whitespace, control bytes
// such as NUL among them; bytes above 0x7F are ordinary token bytes.
bool IsWhitespace(std::uint8_t byte) { return byte <= 0x20; }

bool EndsComment(std::uint8_t byte) { return byte == '\r' || byte == '\n'; }

}  // namespace

void ReadPbmToken(std::string& token) {
  FileSlot& file = FileSlotAt(kImageFileSlot);
  token.clear();

  std::uint8_t byte = file.ReadByte();
  while (!file.EndOfFile() && IsWhitespace(byte)) byte = file.ReadByte();
  if (file.EndOfFile()) return;

  // The byte that ends a token (a whitespace byte, or the CR or LF after a
  // comment) is consumed with it. After the height of a raw header this is
  // what leaves the file at the first raster byte, whatever its value.
  const bool comment = byte == '#';
  while (!file.EndOfFile() && (comment ? !EndsComment(byte) : !IsWhitespace(byte))) {
    token.push_back(static_cast<char>(byte));
    byte = file.ReadByte();
  }
}

}  // namespace inkpane
