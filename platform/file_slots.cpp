#include "platform/file_slots.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/run_time_error.h"

namespace inkpane {
namespace {

constexpr std::size_t kLongestNameShown = 200;

// The file name as shown in an error description: quoted, and shortened when
// it is too long to read in a message box.
std::string Quoted(std::string_view fileName) {
  if (fileName.size() > kLongestNameShown) {
    return '"' + std::string(fileName.substr(0, kLongestNameShown)) + "...\"";
  }
  return '"' + std::string(fileName) + '"';
}

RunTimeError OpenFailure(int error, std::string_view fileName) {
  const std::string name = Quoted(fileName);
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return {ErrorNumber::FileNotFound, "The file " + name + " does not exist."};
    case EACCES:
    case EPERM:
      return {ErrorNumber::PermissionDenied, "Permission to read " + name + " was denied."};
    case ENAMETOOLONG:
      return {ErrorNumber::BadFileNameOrNumber, "The file name " + name + " is too long."};
    case EMFILE:
    case ENFILE:
      return {ErrorNumber::TooManyFiles, "Too many files are open to open " + name + "."};
    case ENOMEM:
      return {ErrorNumber::OutOfMemory, "Out of memory while opening " + name + "."};
    default:
      return {ErrorNumber::PathFileAccessError, name + " could not be opened: " + std::strerror(error) + "."};
  }
}

std::string_view KindOfFile(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a pipe";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "a special file";
}

// A FIFO or a device may never end, and a folder holds no image.
void RefuseIfNotRegular(const struct stat& status, std::string_view fileName) {
  if (!S_ISREG(status.st_mode)) {
    throw RunTimeError(ErrorNumber::PathFileAccessError,
                       Quoted(fileName) + " is " + std::string(KindOfFile(status.st_mode)) + ", not a regular file.");
  }
}

}  // namespace

void file_slots_detail::RaiseNoSuchSlot(int slot) {
  throw RunTimeError(ErrorNumber::BadFileNameOrNumber, "There is no file slot " + std::to_string(slot) + ".");
}

void OpenForInput(int slot, std::string_view fileName) {
  FileSlot& file = FileSlotAt(slot);
  if (file.fd_.valid()) {
    throw RunTimeError(ErrorNumber::FileAlreadyOpen, "File slot " + std::to_string(slot) + " is already open.");
  }
  if (fileName.empty()) {
    throw RunTimeError(ErrorNumber::BadFileNameOrNumber, "No file name was given.");
  }
  if (fileName.find('\0') != std::string_view::npos) {
    throw RunTimeError(ErrorNumber::BadFileNameOrNumber, "The file name " + Quoted(fileName) + " is not valid.");
  }

  std::string name(fileName);
  // Opening a device can act on it (a tape rewinds), so the kind of file is
  // checked before the open, and again on the open file in case it changed.
  struct stat status {};
  if (::stat(name.c_str(), &status) != 0) throw OpenFailure(errno, name);
  RefuseIfNotRegular(status, name);
  // O_NONBLOCK keeps the open from waiting should a FIFO have taken the
  // file's place in the meantime.
  int fd = -1;
  do {
    fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) throw OpenFailure(errno, name);
  UniqueFd owned(fd);
  if (::fstat(owned.get(), &status) != 0) throw OpenFailure(errno, name);
  RefuseIfNotRegular(status, name);

  file.buffer_.resize(kReadBlockSize);
  file.fd_ = std::move(owned);
  file.fileName_ = std::move(name);
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
  if (!fd_.valid()) {
    throw RunTimeError(ErrorNumber::BadFileNameOrNumber, "The file slot is not open.");
  }
  if (pastEnd_) return 0;

  ssize_t count = -1;
  do {
    count = ::read(fd_.get(), buffer_.data(), buffer_.size());
  } while (count < 0 && errno == EINTR);
  if (count < 0) {
    throw RunTimeError(ErrorNumber::DeviceIoError,
                       "Reading " + Quoted(fileName_) + " failed: " + std::strerror(errno) + ".");
  }
  if (count == 0) {
    pastEnd_ = true;
    return 0;
  }
  bytesUntilPace_ -= std::min(bytesUntilPace_, static_cast<std::size_t>(count));
  next_ = buffer_.data();
  end_ = next_ + count;
  return *next_++;
}

void CloseFile(int slot) {
  FileSlot& file = FileSlotAt(slot);
  file.fd_.Reset();
  file.fileName_.clear();
  file.next_ = file.end_ = nullptr;
  file.pastEnd_ = false;
  file.pace_ = nullptr;
}

void CloseAllFiles() {
  for (int slot = 1; slot <= kFileSlotCount; ++slot) CloseFile(slot);
}

}  // namespace inkpane
