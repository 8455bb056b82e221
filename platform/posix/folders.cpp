#include "platform/folders.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace inkpane {

std::string FolderOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return CurrentFolder();
  return slash == 0 ? "/" : std::string(path.substr(0, slash));
}

std::string NameOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// The kernel keeps the current folder's name: asking for it waits on no
// storage.
std::string CurrentFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? SystemRoot() : folder.string();
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  std::vector<char> buffer(16 * 1024);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr && found->pw_dir[0] == '/') {
    return found->pw_dir;
  }
  return SystemRoot();
}

std::string SystemRoot() { return "/"; }

bool FolderAnswers(const std::string& folder) {
  struct stat status {};
  if (::stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return false;
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return false;
  errno = 0;
  const bool listed = ::readdir(listing) != nullptr || errno == 0;
  ::closedir(listing);
  return listed;
}

}  // namespace inkpane
