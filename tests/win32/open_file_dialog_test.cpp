#include "platform/user32/open_file_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/wide_string.h"
#include "tests/test_support.h"

namespace inkpane {
namespace {

// One showing of a stand-in dialog, which first moves the current folder as
// Windows' own does: the file it chooses, or, with none, the dialog's error
// code (0 for a cancel).
struct Showing {
  std::optional<std::string> chosen;
  DWORD failure = 0;
};

TEST(AskForFileToOpen, ShowsAgainAfterAFailureAndKeepsTheCurrentFolder) {
  const std::vector<std::string> once = {"Z:\\shared|last.pbm"}, twice = {"Z:\\shared|last.pbm", "Z:\\shared|"};
  const struct {
    std::vector<Showing> showings;
    std::optional<std::string> result;
    // The folder and the name each showing started from.
    std::vector<std::string> startedFrom;
  } cases[] = {
      {{{"Z:\\b.pbm"}}, "Z:\\b.pbm", once},
      {{{std::nullopt, 0}}, std::nullopt, once},
      {{{std::nullopt, FNERR_INVALIDFILENAME}, {"Z:\\b.pbm"}}, "Z:\\b.pbm", twice},
      {{{std::nullopt, FNERR_BUFFERTOOSMALL}, {std::nullopt, 0}}, std::nullopt, twice},
      {{{std::nullopt, FNERR_INVALIDFILENAME}, {std::nullopt, CDERR_MEMALLOCFAILURE}}, std::nullopt, twice},
  };
  const testing::TempDir elsewhere;
  for (const auto& c : cases) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::vector<std::string> startedFrom;
    DWORD failure = 0;
    const OpenFileCalls calls{
        .show =
            [&](OPENFILENAMEW& dialog) {
              const Showing& showing = c.showings.at(startedFrom.size());
              startedFrom.push_back(Narrow(dialog.lpstrInitialDir) + "|" + Narrow(dialog.lpstrFile));
              std::filesystem::current_path(elsewhere.path());
              failure = showing.failure;
              const std::wstring chosen = Widen(showing.chosen.value_or(""));
              chosen.copy(dialog.lpstrFile, chosen.size());
              dialog.lpstrFile[chosen.size()] = L'\0';
              return showing.chosen.has_value();
            },
        .failure = [&] { return failure; }};
    const std::optional<std::string> result = AskForFileToOpen(
        nullptr, {.title = "Open", .filters = {}, .folder = "Z:\\shared", .fileName = "last.pbm"}, calls);
    EXPECT_EQ(result, c.result) << startedFrom.size();
    EXPECT_EQ(startedFrom, c.startedFrom);
    EXPECT_EQ(std::filesystem::current_path(), before);
  }
}

}  // namespace
}  // namespace inkpane
