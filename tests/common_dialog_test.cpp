#include "platform/common_dialog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog_start.h"
#include "platform/folders.h"
#include "platform/platform_hooks.h"
#include "platform/run_time_error.h"
#include "tests/test_support.h"

namespace inkpane {
namespace {

TEST(ParseFilter, PairsDescriptionsWithPatterns) {
  const struct {
    std::string filter;
    std::vector<FileFilter> entries;
  } cases[] = {
      {"PBM Images (*.pbm)|*.pbm|All Files (*.*)|*.*", {{"PBM Images (*.pbm)", "*.pbm"}, {"All Files (*.*)", "*.*"}}},
      {"Bitmaps|*.pbm;*.pnm", {{"Bitmaps", "*.pbm;*.pnm"}}},
      {"Bitmaps|*.pbm|Dangling", {{"Bitmaps", "*.pbm"}}},
      {"Empty patterns|", {}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseFilter(c.filter), c.entries) << c.filter;
}

TEST(CommonDialog, PassesItsSettingsAndKeepsTheNameOnCancel) {
  const testing::TempDir dir;
  const std::string first = dir.Write("first.pbm", "P1 1 1 0");
  std::vector<std::string> asked;
  std::vector<std::optional<std::string>> answers = {first, std::nullopt};
  ScopedPlatformHooks hooks({.openFileDialog = [&](const OpenFileRequest& request) {
    asked.push_back(std::string(request.title) + "|" + std::to_string(request.filters.size()) + "|" +
                    std::string(request.fileName));
    EXPECT_EQ(request.folder, asked.size() == 1 ? CurrentFolder() : dir.path().string());
    std::optional<std::string> answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }});

  CommonDialog dialog;
  dialog.SetDialogTitle("Pick one");
  dialog.SetFilter("A|*.a|B|*.b");
  dialog.ShowOpen();
  EXPECT_EQ(dialog.FileName(), first);
  try {
    dialog.ShowOpen();
    ADD_FAILURE() << "a cancelled dialog must raise an error";
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.number(), ErrorNumber::CancelError);
  }
  EXPECT_EQ(dialog.FileName(), first);
  EXPECT_EQ(asked, (std::vector<std::string>{"Pick one|2|", "Pick one|2|first.pbm"}));
}

// Each row says which folder looks answer in time, in order; a look that
// answers is run, so a missing folder fails it.
TEST(ChooseDialogStart, StartsInTheFirstFolderThatAnswersInTime) {
  const testing::TempDir dir;
  const std::string last = dir.Write("page.pbm", "P1 1 1 0");
  const std::string missing = (dir.path() / "gone" / "page.pbm").string();
  const struct {
    std::string name;
    std::string lastChosen;
    std::vector<bool> answersInTime;
    DialogStart start;
  } cases[] = {
      {"the last folder answers", last, {true}, {dir.path().string(), "page.pbm"}},
      {"the first time", "", {true}, {CurrentFolder(), ""}},
      {"the last folder is gone", missing, {true, true}, {HomeFolder(), "page.pbm"}},
      {"the last folder does not answer", last, {false, true}, {HomeFolder(), "page.pbm"}},
      {"nothing answers", last, {false, false}, {SystemRoot(), "page.pbm"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::size_t looks = 0;
    const ScopedPlatformHooks storage({.awaitStorage = [&](const std::function<void()>& call, auto patience) {
      EXPECT_EQ(patience, kFolderPatience);
      const bool answered = c.answersInTime.at(looks++);
      if (answered) call();
      return answered;
    }});
    EXPECT_EQ(ChooseDialogStart(c.lastChosen), c.start);
    EXPECT_EQ(looks, c.answersInTime.size());
  }
}

}  // namespace
}  // namespace inkpane
