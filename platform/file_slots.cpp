#include "platform/file_slots.h"

#include <algorithm>

#include "platform/file_failure.h"
#include "platform/platform_hooks.h"
#include "platform/run_time_error.h"

namespace inkpane {

void file_slots_detail::RaiseNoSuchSlot(int slot) {
  throw RunTimeError(ErrorNumber::BadFileNameOrNumber, "There is no file slot " + std::to_string(slot) + ".");
}

void OpenForInput(int slot, std::string_view fileName) {
  FileSlot& file = FileSlotAt(slot);
  if (file.file_.IsOpen()) {
    throw RunTimeError(ErrorNumber::FileAlreadyOpen, "File slot " + std::to_string(slot) + " is already open.");
  }
  if (fileName.empty()) {
    throw RunTimeError(ErrorNumber::BadFileNameOrNumber, "No file name was given.");
  }
  // No system takes a NUL inside a name; every one would read the name only
  // up to it, which would open another file than the one named.
  if (fileName.find('\0') != std::string_view::npos) RaiseFileFailure(FileFailure::InvalidName, fileName);

  SystemFile opened(fileName);
  file.buffer_.resize(kReadBlockSize);
  file.file_ = std::move(opened);
  file.fileName_ = std::string(fileName);
  file.next_ = file.end_ = nullptr;
  file.pastEnd_ = false;
}

void FileSlot::PaceReads(std::size_t bytes, void (*pace)()) {
  pace_ = pace;
  paceBytes_ = bytes;
  RestartPace();
}

// Every buffered byte has been used when the buffer is refilled, so that is
// where the pace is kept. The pace comes first: what it runs may close the
// slot, which the test below then reports.
std::uint8_t FileSlot::Refill() {
  if (pace_ && bytesUntilPace_ == 0) {
    RestartPace();
    pace_();
  }
  if (!file_.IsOpen()) {
    throw RunTimeError(ErrorNumber::BadFileNameOrNumber, "The file slot is not open.");
  }
  if (pastEnd_) return 0;

  const std::size_t count = file_.Read(buffer_, fileName_);
  if (count == 0) {
    pastEnd_ = true;
    return 0;
  }
  bytesUntilPace_ -= std::min(bytesUntilPace_, count);
  next_ = buffer_.data();
  end_ = next_ + count;
  return *next_++;
}

void FileSlot::Forget() {
  fileName_.clear();
  next_ = end_ = nullptr;
  pastEnd_ = false;
  pace_ = nullptr;
}

// Closing tells the file's storage, and a share's server may be slow to
// answer, as it may be to a read.
void CloseFile(int slot) {
  FileSlot& file = FileSlotAt(slot);
  if (file.file_.IsOpen()) AwaitStorage([&] { file.file_.Close(); });
  file.Forget();
}

// Exit ends the program at once: it waits on no storage.
void CloseAllFiles() {
  for (FileSlot& file : file_slots_detail::table) {
    file.file_.Close();
    file.Forget();
  }
}

}  // namespace inkpane
