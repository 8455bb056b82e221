#include "platform/system_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/file_failure.h"
#include "platform/platform_hooks.h"
#include "platform/posix/unique_fd.h"

namespace inkpane {
namespace {

[[noreturn]] void RaiseOpenFailure(int error, std::string_view fileName) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      RaiseFileFailure(FileFailure::NotFound, fileName);
    case EACCES:
    case EPERM:
      RaiseFileFailure(FileFailure::PermissionDenied, fileName);
    case ENAMETOOLONG:
      RaiseFileFailure(FileFailure::NameTooLong, fileName);
    case EMFILE:
    case ENFILE:
      RaiseFileFailure(FileFailure::TooManyFiles, fileName);
    case ENOMEM:
      RaiseFileFailure(FileFailure::OutOfMemory, fileName);
    default:
      RaiseFileFailure(FileFailure::OpenFailed, fileName, std::strerror(error));
  }
}

FileFailure KindOfFile(mode_t mode) {
  if (S_ISDIR(mode)) return FileFailure::Folder;
  if (S_ISFIFO(mode)) return FileFailure::Pipe;
  if (S_ISCHR(mode)) return FileFailure::CharacterDevice;
  if (S_ISBLK(mode)) return FileFailure::BlockDevice;
  if (S_ISSOCK(mode)) return FileFailure::Socket;
  return FileFailure::SpecialFile;
}

// A FIFO or a device may never end, and a folder holds no image.
void RefuseIfNotRegular(const struct stat& status, std::string_view fileName) {
  if (!S_ISREG(status.st_mode)) RaiseFileFailure(KindOfFile(status.st_mode), fileName);
}

}  // namespace

SystemFile::SystemFile(std::string_view fileName) {
  const std::string name(fileName);
  // Looking a name up and opening it wait on its storage as a read does.
  AwaitStorage([&] {
    // Opening a device can act on it (a tape rewinds), so the kind of file is
    // checked before the open, and again on the open file in case it changed.
    struct stat status {};
    if (::stat(name.c_str(), &status) != 0) RaiseOpenFailure(errno, fileName);
    RefuseIfNotRegular(status, fileName);
    // O_NONBLOCK keeps the open from waiting should a FIFO have taken the
    // file's place in the meantime.
    int fd = -1;
    do {
      fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) RaiseOpenFailure(errno, fileName);
    UniqueFd owned(fd);
    if (::fstat(owned.get(), &status) != 0) RaiseOpenFailure(errno, fileName);
    RefuseIfNotRegular(status, fileName);
    // A regular file, reads block again: a FUSE server may honour O_NONBLOCK
    // and answer a read that would wait with EAGAIN.
    const int flags = ::fcntl(owned.get(), F_GETFL);
    if (flags < 0 || ::fcntl(owned.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) RaiseOpenFailure(errno, fileName);
    handle_ = owned.Release();
  });
}

std::size_t SystemFile::Read(std::span<std::uint8_t> buffer, std::string_view fileName) {
  const int fd = static_cast<int>(handle_);
  iovec into{buffer.data(), buffer.size()};
  // What the system already holds in memory is read at once, with no
  // hand-over; RWF_NOWAIT refuses where that would mean waiting on storage,
  // and a file system that cannot tell (FUSE, NFS) refuses it always. A
  // refused read, and the end of the file, are read the waiting way.
  ssize_t count = ::preadv2(fd, &into, 1, -1, RWF_NOWAIT);
  if (count > 0) return static_cast<std::size_t>(count);
  int error = 0;
  AwaitStorage([&] {
    do {
      count = ::read(fd, buffer.data(), buffer.size());
    } while (count < 0 && errno == EINTR);
    error = errno;
  });
  if (count < 0) RaiseFileFailure(FileFailure::ReadFailed, fileName, std::strerror(error));
  return static_cast<std::size_t>(count);
}

void SystemFile::Close() {
  if (IsOpen()) ::close(static_cast<int>(std::exchange(handle_, kClosed)));
}

}  // namespace inkpane
