#include "platform/common_dialog.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/platform_hooks.h"
#include "platform/run_time_error.h"

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
  std::vector<std::string> asked;
  std::vector<std::optional<std::string>> answers = {"/tmp/first.pbm", std::nullopt};
  ScopedPlatformHooks hooks({.openFileDialog = [&](const OpenFileRequest& request) {
    asked.push_back(std::string(request.title) + "|" + std::to_string(request.filters.size()) + "|" +
                    std::string(request.fileName));
    std::optional<std::string> answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }});

  CommonDialog dialog;
  dialog.SetDialogTitle("Pick one");
  dialog.SetFilter("A|*.a|B|*.b");
  dialog.ShowOpen();
  EXPECT_EQ(dialog.FileName(), "/tmp/first.pbm");
  try {
    dialog.ShowOpen();
    ADD_FAILURE() << "a cancelled dialog must raise an error";
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.number(), ErrorNumber::CancelError);
  }
  EXPECT_EQ(dialog.FileName(), "/tmp/first.pbm");
  EXPECT_EQ(asked, (std::vector<std::string>{"Pick one|2|", "Pick one|2|/tmp/first.pbm"}));
}

}  // namespace
}  // namespace inkpane
