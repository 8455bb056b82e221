#include "decoder/read_pbm_token.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_slots.h"

namespace inkpane {
namespace {

bool IsTokenByte(std::uint8_t byte) { return !IsPbmWhitespace(byte); }

bool EndsComment(std::uint8_t byte) { return byte == '\r' || byte == '\n'; }
bool IsCommentByte(std::uint8_t byte) { return !EndsComment(byte); }

std::string_view AsChars(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Consumes bytes while `keep` holds for them, a buffered stretch at a time,
// then consumes the first byte for which it fails and returns it; returns
// nothing when the file ends first. Scanning the buffer directly, rather
// than a byte per call, is what keeps long stretches of whitespace fast.
template <typename Keep>
std::optional<std::uint8_t> SkipWhile(FileSlot& file, Keep keep) {
  for (;;) {
    const std::span<const std::uint8_t> ahead = file.Buffered();
    const auto stop = std::find_if_not(ahead.begin(), ahead.end(), keep);
    const auto kept = static_cast<std::size_t>(stop - ahead.begin());
    if (stop != ahead.end()) {
      file.Consume(kept + 1);
      return *stop;
    }
    file.Consume(kept);
    const std::uint8_t byte = file.ReadByte();
    if (file.EndOfFile()) return std::nullopt;
    if (!keep(byte)) return byte;
  }
}

// Appends the token's bytes to `piece` until the token ends or the piece is
// full. The whitespace byte that ends a token is consumed with it. Returns
// whether the token goes on past the full piece.
bool GatherPiece(FileSlot& file, std::string& piece) {
  for (;;) {
    std::span<const std::uint8_t> ahead = file.Buffered();
    if (ahead.empty()) {
      file.PeekByte();
      if (file.EndOfFile()) return false;
      ahead = file.Buffered();
    }
    if (piece.size() == kLongestTokenPiece) {
      if (IsTokenByte(ahead.front())) return true;
      file.Consume(1);
      return false;
    }
    const std::span<const std::uint8_t> room = ahead.first(std::min(ahead.size(), kLongestTokenPiece - piece.size()));
    const auto stop = std::find_if(room.begin(), room.end(), IsPbmWhitespace);
    const auto kept = static_cast<std::size_t>(stop - room.begin());
    piece.append(AsChars(room.first(kept)));
    if (stop != room.end()) {
      file.Consume(kept + 1);
      return false;
    }
    file.Consume(kept);
  }
}

// Out of line, so that the inlined copy does not make every call of the token
// reader save and restore registers that only the copy needs; called last,
// it is a jump.
[[gnu::noinline]] void Assign(std::string& token, std::span<const std::uint8_t> bytes) { token.assign(AsChars(bytes)); }

// The common case, a whole token and the byte ending it already in the
// buffer, in one pass with no call per byte. Returns false, having consumed
// nothing, when the token may run past the buffer.
bool ReadBufferedToken(FileSlot& file, std::string& token) {
  const std::span<const std::uint8_t> ahead = file.Buffered();
  // Tokens are mostly a few bytes long, too short for the unrolled search of
  // std::find_if to pay off: plain loops do better.
  auto at = ahead.begin();
  while (at != ahead.end() && IsPbmWhitespace(*at)) ++at;
  if (at == ahead.end()) return false;
  const auto start = at++;
  if (*start == '#') {
    while (at != ahead.end() && IsCommentByte(*at)) ++at;
  } else {
    while (at != ahead.end() && IsTokenByte(*at)) ++at;
  }
  if (at == ahead.end() || static_cast<std::size_t>(at - start) > kLongestTokenPiece) return false;
  // Consuming moves the position only; the buffered bytes stay where they
  // are until the next refill, so the token is copied after it, last, when
  // nothing else is left to keep in registers across the copy.
  file.Consume(static_cast<std::size_t>(at - ahead.begin()) + 1);
  Assign(token, std::span(start, *start == '#' ? start + 1 : at));
  return true;
}

// Everything ReadBufferedToken leaves: a token that runs past the buffer or
// to the end of the file, or is longer than a piece. Kept out of line so that
// the common case does not pay for its registers. Returns whether the token
// goes on past the piece read.
[[gnu::noinline]] bool ReadTokenTheLongWay(FileSlot& file, std::string& token) {
  token.clear();
  // A plain raster that ends early asks for a token per remaining pixel.
  if (file.EndOfFile()) return false;

  const std::optional<std::uint8_t> first = SkipWhile(file, IsPbmWhitespace);
  if (!first) return false;
  token.push_back(static_cast<char>(*first));

  // The byte that ends a token (a whitespace byte, or the CR or LF after a
  // comment) is consumed with it. After the height of a raw header this is
  // what leaves the file at the first raster byte, whatever its value.
  if (*first == '#') {
    SkipWhile(file, IsCommentByte);
    return false;
  }
  return GatherPiece(file, token);
}

}  // namespace

bool ReadPbmToken(std::string& token) {
  FileSlot& file = FileSlotAt(kImageFileSlot);
  return !ReadBufferedToken(file, token) && ReadTokenTheLongWay(file, token);
}

bool ReadPbmTokenPiece(std::string& piece) {
  piece.clear();
  return GatherPiece(FileSlotAt(kImageFileSlot), piece);
}

}  // namespace inkpane
