#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>

namespace inkpane {

// A regular file open for reading through the operating system's own calls,
// closed when the object goes. The handle is held as an integer wide enough for
// any system's kind, so this header needs none of their headers; each system's
// folder implements the calls.
class SystemFile {
 public:
  SystemFile() = default;
  // Opens the named file, given in UTF-8, for reading. Anything but a regular
  // file is refused, without being read, and every failure is raised through
  // RaiseFileFailure.
  explicit SystemFile(std::string_view fileName);
  ~SystemFile() { Close(); }
  SystemFile(SystemFile&& other) noexcept : handle_(std::exchange(other.handle_, kClosed)) {}
  SystemFile& operator=(SystemFile&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, kClosed);
    }
    return *this;
  }

  bool IsOpen() const { return handle_ != kClosed; }

  // Reads up to buffer.size() bytes at the current position and returns how
  // many it read: 0 only at the end of the file. A failure is raised through
  // RaiseFileFailure, naming `fileName`, or where the system has words of its
  // own for it, RaiseSystemFailure.
  std::size_t Read(std::span<std::uint8_t> buffer, std::string_view fileName);

  void Close();

 private:
  // Both a closed POSIX descriptor and Win32's invalid handle are -1.
  static constexpr std::intptr_t kClosed = -1;

  std::intptr_t handle_ = kClosed;
};

}  // namespace inkpane
