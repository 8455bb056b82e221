#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system_file.h"

namespace inkpane {

// One numbered file slot, open for reading one byte at a time from a shared
// current position. Bytes come from a buffer refilled in large blocks, so a
// byte costs a comparison and an increment, not a system call.
class FileSlot {
 public:
  // Returns the byte at the current position and advances past it. Past the end
  // of the file it returns 0 and sets EndOfFile(): a truncated raster then reads
  // as white instead of failing, and callers that care test EndOfFile().
  std::uint8_t ReadByte() {
    if (next_ < end_) [[likely]] {
      return *next_++;
    }
    return Refill();
  }

  // The byte ReadByte would return, without moving past it.
  std::uint8_t PeekByte() {
    if (next_ < end_) [[likely]] {
      return *next_;
    }
    const std::uint8_t byte = Refill();
    if (!pastEnd_) --next_;
    return byte;
  }

  // True once a read has gone past the last byte of the file.
  bool EndOfFile() const { return pastEnd_; }

  // The bytes already read from the file and not yet consumed, for a reader
  // that scans a stretch at a time; empty when ReadByte would have to refill.
  std::span<const std::uint8_t> Buffered() const { return {next_, end_}; }
  // Moves the current position past `count` of the buffered bytes; `count`
  // is at most Buffered().size().
  void Consume(std::size_t count) { next_ += count; }

  // Calls `pace` each time another `bytes` have been read and used since it
  // was last called or RestartPace() was: a reader going through a long
  // stretch of the file with nothing else to mark its progress can let the
  // program do other work now and then. Until the slot is closed.
  void PaceReads(std::size_t bytes, void (*pace)());
  void RestartPace() { bytesUntilPace_ = paceBytes_; }

 private:
  friend void OpenForInput(int slot, std::string_view fileName);
  friend void CloseFile(int slot);
  friend void CloseAllFiles();

  std::uint8_t Refill();
  // Drops what the slot knew of its file, once the file is closed.
  void Forget();

  SystemFile file_;
  std::string fileName_;
  std::vector<std::uint8_t> buffer_;
  const std::uint8_t* next_ = nullptr;
  const std::uint8_t* end_ = nullptr;
  bool pastEnd_ = false;
  void (*pace_)() = nullptr;
  std::size_t paceBytes_ = 0;
  std::size_t bytesUntilPace_ = 0;
};

inline constexpr int kFileSlotCount = 255;

// A slot reads its file in blocks of this many bytes.
inline constexpr std::size_t kReadBlockSize = std::size_t{64} * 1024;

namespace file_slots_detail {

inline std::array<FileSlot, kFileSlotCount> table;

[[noreturn]] void RaiseNoSuchSlot(int slot);

}  // namespace file_slots_detail

// The slot with this number (1 to kFileSlotCount), open or not. The token
// reader looks its slot up once per token, so the lookup stays inline.
inline FileSlot& FileSlotAt(int slot) {
  if (slot < 1 || slot > kFileSlotCount) [[unlikely]] {
    file_slots_detail::RaiseNoSuchSlot(slot);
  }
  return file_slots_detail::table[static_cast<std::size_t>(slot - 1)];
}

// Opens the named file for reading as the given slot. Only regular files are
// accepted: a FIFO or a device could feed the reader forever.
void OpenForInput(int slot, std::string_view fileName);

// Closing a slot that is not open does nothing.
void CloseFile(int slot);
void CloseAllFiles();

}  // namespace inkpane
