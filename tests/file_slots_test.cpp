#include "platform/file_slots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "platform/run_time_error.h"
#include "tests/system_rows.h"
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

  std::vector<NumberedError> cases = {
      {"missing file", [&] { OpenForInput(kSlot, file + ".missing"); }, ErrorNumber::FileNotFound},
      {"path through a file", [&] { OpenForInput(kSlot, file + "/x"); }, ErrorNumber::FileNotFound},
      {"empty name", [] { OpenForInput(kSlot, ""); }, ErrorNumber::BadFileNameOrNumber},
      {"NUL in the name", [&] { OpenForInput(kSlot, file + '\0' + "x"); }, ErrorNumber::BadFileNameOrNumber},
      {"name too long", [] { OpenForInput(kSlot, std::string(5000, 'a')); }, ErrorNumber::BadFileNameOrNumber},
      {"folder", [&] { OpenForInput(kSlot, dir.path().string()); }, ErrorNumber::PathFileAccessError},
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
  std::ranges::move(SystemNumberedErrors(dir, kSlot), std::back_inserter(cases));
  for (const NumberedError& c : cases) {
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
