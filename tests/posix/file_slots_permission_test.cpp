// Opening a file the user may not read, as a user for whom permission bits
// count: POSIX alone has such users and the means to become one.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/file_slots.h"
#include "platform/run_time_error.h"
#include "tests/posix/nobody.h"
#include "tests/test_support.h"

namespace inkpane::testing {
namespace {

constexpr int kSlot = 3;

// What a process that may not read `file` gets when it opens it, as an exit
// status: 0 for the right error, 1 for no error, 2 for a wrong one.
int OpenAsUnprivilegedUser(const std::string& file) {
  // Root may read any file, so a root process gives up root in a child first.
  if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
    return 3;
  }
  try {
    OpenForInput(kSlot, file);
    return 1;
  } catch (const RunTimeError& error) {
    const bool right = error.number() == ErrorNumber::PermissionDenied &&
                       std::string(error.what()) == "Permission to read \"" + file + "\" was denied.";
    return right ? 0 : 2;
  }
}

TEST(FileSlots, PermissionDeniedNamesTheFile) {
  const TempDir dir;
  using std::filesystem::perms;
  std::filesystem::permissions(dir.path(), perms::owner_all | perms::others_read | perms::others_exec);
  const std::string file = dir.Write("secret.pbm", "P1");
  std::filesystem::permissions(file, perms::none);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(OpenAsUnprivilegedUser(file));
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: opened anyway, 2: wrong error, 3: could not give up root";
}

}  // namespace
}  // namespace inkpane::testing
