#include "platform/posix/close_sockets.h"

#include <dirent.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <string>
#include <string_view>

namespace inkpane {

void CloseEverySocket() {
  // Both ends stay open, so that neither ever reports an end.
  int silent[2] = {-1, -1};
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, silent) != 0) silent[0] = silent[1] = -1;
  DIR* descriptors = ::opendir("/proc/self/fd");
  if (descriptors == nullptr) return;
  const int listing = ::dirfd(descriptors);
  while (const dirent* entry = ::readdir(descriptors)) {
    const std::string_view name = entry->d_name;
    int fd = -1;
    if (std::from_chars(name.data(), name.data() + name.size(), fd).ec != std::errc{} || fd == listing ||
        fd == silent[0] || fd == silent[1]) {
      continue;
    }
    // The link names what the descriptor is without asking its file system.
    std::array<char, 64> target{};
    const std::string path = "/proc/self/fd/" + std::string(name);
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length > 0 && std::string_view(target.data(), static_cast<std::size_t>(length)).starts_with("socket:")) {
      // In place, so that a thread still watching the descriptor finds a
      // socket with nothing to say rather than none.
      if (silent[0] < 0 || ::dup2(silent[0], fd) < 0) ::close(fd);
    }
  }
  ::closedir(descriptors);
}

}  // namespace inkpane
