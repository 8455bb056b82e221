#include "platform/file_slots.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "platform/run_time_error.h"
#include "tests/test_support.h"

namespace inkpane::testing {
namespace {

constexpr int kSlot = 3;

int paces = 0;

TEST(FileSlots, ReadsEveryByteThenZerosPastTheEnd) {
  std::string bytes;
  for (int i = 0; i < 200'000; ++i) bytes.push_back(static_cast<char>(i * 7 % 251));
  const TempDir dir;
  OpenForInput(kSlot, dir.Write("bytes", bytes));
  FileSlot& file = FileSlotAt(kSlot);
  // Paced after each of the first three 64 KiB read blocks has been used.
  paces = 0;
  file.PaceReads(64 * 1024, [] { ++paces; });
  std::string read;
  std::string peeked;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    peeked.push_back(static_cast<char>(file.PeekByte()));
    read.push_back(static_cast<char>(file.ReadByte()));
  }
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(peeked, bytes);
  EXPECT_EQ(paces, 3);
  EXPECT_FALSE(file.EndOfFile());
  EXPECT_EQ(file.PeekByte(), 0);
  EXPECT_TRUE(file.EndOfFile());
  EXPECT_EQ(file.ReadByte(), 0);
  EXPECT_TRUE(file.EndOfFile());
  EXPECT_EQ(file.ReadByte(), 0);
  CloseFile(kSlot);
}

TEST(FileSlots, RaisesNumberedErrors) {
  const TempDir dir;
  const std::string file = dir.Write("file", "x");
  const std::string fifo = (dir.path() / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

  const struct {
    std::string name;
    std::function<void()> action;
    ErrorNumber number;
  } cases[] = {
      {"missing file", [&] { OpenForInput(kSlot, file + ".missing"); }, ErrorNumber::FileNotFound},
      {"path through a file", [&] { OpenForInput(kSlot, file + "/x"); }, ErrorNumber::FileNotFound},
      {"empty name", [] { OpenForInput(kSlot, ""); }, ErrorNumber::BadFileNameOrNumber},
      {"NUL in the name", [&] { OpenForInput(kSlot, file + '\0' + "x"); }, ErrorNumber::BadFileNameOrNumber},
      {"name too long", [] { OpenForInput(kSlot, std::string(5000, 'a')); }, ErrorNumber::BadFileNameOrNumber},
      {"folder", [&] { OpenForInput(kSlot, dir.path().string()); }, ErrorNumber::PathFileAccessError},
      {"FIFO without a writer", [&] { OpenForInput(kSlot, fifo); }, ErrorNumber::PathFileAccessError},
      {"endless device", [] { OpenForInput(kSlot, "/dev/urandom"); }, ErrorNumber::PathFileAccessError},
      {"slot 0", [&] { OpenForInput(0, file); }, ErrorNumber::BadFileNameOrNumber},
      {"slot past the table", [&] { OpenForInput(kFileSlotCount + 1, file); }, ErrorNumber::BadFileNameOrNumber},
      {"reading a closed slot", [] { FileSlotAt(kSlot).ReadByte(); }, ErrorNumber::BadFileNameOrNumber},
      {"opening an open slot",
       [&] {
         OpenForInput(kSlot, file);
         OpenForInput(kSlot, file);
       },
       ErrorNumber::FileAlreadyOpen},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      c.action();
      ADD_FAILURE() << "no error";
    } catch (const RunTimeError& error) {
      EXPECT_EQ(error.number(), c.number);
      EXPECT_FALSE(std::string(error.what()).empty());
    }
    CloseFile(kSlot);
  }
}

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

TEST(FileSlots, CloseAllFreesEverySlot) {
  const TempDir dir;
  const std::string file = dir.Write("file", "x");
  OpenForInput(1, file);
  OpenForInput(kFileSlotCount, file);
  CloseAllFiles();
  EXPECT_NO_THROW(OpenForInput(1, file));
  EXPECT_NO_THROW(OpenForInput(kFileSlotCount, file));
  CloseAllFiles();
}

}  // namespace
}  // namespace inkpane::testing
