#include "platform/win32/open_file_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/wide_string.h"
#include "tests/test_support.h"

namespace inkpane {
namespace {

// One showing of a stand-in dialog: the file it chooses, or, with none, the
// dialog's error code (0 for a cancel). It may first move the current
// folder, as Windows' own dialog does whatever the flags say.
struct Showing {
  std::optional<std::string> chosen;
  DWORD failure = 0;
  bool movesFolder = false;
};

TEST(AskForFileToOpen, ShowsAgainAfterAFailureAndKeepsTheCurrentFolder) {
  const struct {
    const char* name;
    std::vector<Showing> showings;
    std::optional<std::string> result;
    // The name each showing started from.
    std::vector<std::string> startedFrom;
  } cases[] = {
      {"chosen", {{"Z:\\b.pbm"}}, "Z:\\b.pbm", {"Z:\\last.pbm"}},
      {"cancelled", {{std::nullopt, 0}}, std::nullopt, {"Z:\\last.pbm"}},
      {"chosen in another folder", {{"Z:\\b.pbm", 0, true}}, "Z:\\b.pbm", {"Z:\\last.pbm"}},
      {"cancelled in another folder", {{std::nullopt, 0, true}}, std::nullopt, {"Z:\\last.pbm"}},
      {"refused name", {{std::nullopt, FNERR_INVALIDFILENAME}, {"Z:\\b.pbm"}}, "Z:\\b.pbm", {"Z:\\last.pbm", ""}},
      {"name too long", {{std::nullopt, FNERR_BUFFERTOOSMALL}, {"Z:\\b.pbm", 0, true}}, "Z:\\b.pbm",
       {"Z:\\last.pbm", ""}},
      {"refused name, then cancelled", {{std::nullopt, FNERR_INVALIDFILENAME}, {std::nullopt, 0}}, std::nullopt,
       {"Z:\\last.pbm", ""}},
      {"failing twice", {{std::nullopt, FNERR_INVALIDFILENAME}, {std::nullopt, CDERR_MEMALLOCFAILURE}}, std::nullopt,
       {"Z:\\last.pbm", ""}},
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
              startedFrom.push_back(Narrow(dialog.lpstrFile));
              if (showing.movesFolder) std::filesystem::current_path(elsewhere.path());
              failure = showing.failure;
              if (!showing.chosen) return false;
              const std::wstring chosen = Widen(*showing.chosen);
              chosen.copy(dialog.lpstrFile, chosen.size());
              dialog.lpstrFile[chosen.size()] = L'\0';
              return true;
            },
        .failure = [&] { return failure; },
    };
    EXPECT_EQ(AskForFileToOpen(nullptr, {.title = "Open", .filters = {}, .fileName = "Z:\\last.pbm"}, calls),
              c.result)
        << c.name;
    EXPECT_EQ(startedFrom, c.startedFrom) << c.name;
    EXPECT_EQ(std::filesystem::current_path(), before) << c.name;
  }
}

}  // namespace
}  // namespace inkpane
