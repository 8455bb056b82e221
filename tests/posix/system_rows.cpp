#include "tests/system_rows.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/file_slots.h"
#include "tests/posix/nobody.h"

namespace inkpane::testing {
namespace {

std::string MakeFifo(const TempDir& dir) {
  const std::string fifo = (dir.path() / "fifo.pbm").string();
  if (::mkfifo(fifo.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed");
  return fifo;
}

// Makes `user` the effective user for its lifetime, then root again. Changing
// the user makes the process undumpable, which would close /proc/self to the
// test and to the leak checker, so that is put back as well.
class EffectiveUser {
 public:
  explicit EffectiveUser(uid_t user) : switched_(::seteuid(user) == 0) {}
  ~EffectiveUser() {
    if (!switched_) return;
    // A test process that cannot become root again must not carry on.
    if (::seteuid(0) != 0) std::abort();
    ::prctl(PR_SET_DUMPABLE, 1);
  }
  EffectiveUser(const EffectiveUser&) = delete;
  EffectiveUser& operator=(const EffectiveUser&) = delete;

  bool switched() const { return switched_; }

 private:
  bool switched_;
};

// Decodes a file of mode 000 as a user for whom permission bits count.
void WithoutReadPermission(const TempDir& dir, const std::string& path, const std::function<void()>& decode) {
  using std::filesystem::perms;
  std::filesystem::permissions(path, perms::none);
  if (::geteuid() != 0) {
    if (::access(path.c_str(), R_OK) == 0) GTEST_SKIP() << "this user may read a file of mode 000";
    decode();
    return;
  }
  // Root reads any file, so the decode runs as nobody, who may pass through
  // the folder but not read the file.
  std::filesystem::permissions(dir.path(), perms::owner_all | perms::others_exec);
  const EffectiveUser nobody(kNobody);
  if (!nobody.switched()) GTEST_SKIP() << "running as root and cannot switch to uid " << kNobody;
  decode();
}

}  // namespace

std::vector<NumberedError> SystemNumberedErrors(const TempDir& dir, int slot) {
  const std::string fifo = MakeFifo(dir);
  return {
      {"PosixFifoWithoutAWriter", [=] { OpenForInput(slot, fifo); }, ErrorNumber::PathFileAccessError},
      {"PosixEndlessDevice", [=] { OpenForInput(slot, "/dev/urandom"); }, ErrorNumber::PathFileAccessError},
  };
}

std::vector<BadInput> SystemBadInputs() {
  return {
      {"PosixFifo", MakeFifo, {}, "", {NotRegular("a pipe")}},
      {"PosixDevZero", Named("/dev/zero"), {}, "", {NotRegular("a character device")}},
      {"PosixDevUrandom", Named("/dev/urandom"), {}, "", {NotRegular("a character device")}},
      {.name = "PosixWithoutReadPermission",
       .make = Bytes("P1\n1 1\n1\n"),
       .rows = {},
       .calls = "",
       .messages = {kReadError + "Permission to read \"<path>\" was denied."},
       .around = WithoutReadPermission},
  };
}

std::string MissingFileDescription(const std::string& path) { return "The file \"" + path + "\" does not exist."; }

}  // namespace inkpane::testing
