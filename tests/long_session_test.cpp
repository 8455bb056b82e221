// A long session in one window: ten thousand opens of good, bad and truncated
// files through the Open command, the dialog answered by the test. Every open
// must end as the first open of the same file did, and the session must leave
// no file open behind it. The sanitizer build runs this under LeakSanitizer,
// which fails the test at exit if any open left memory behind.
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform_hooks.h"
#include "tests/test_support.h"
#include "viewer/qt/form1.h"

namespace inkpane::testing {
namespace {

constexpr int kOpens = 10000;

// Every open file descriptor of this process as "NUMBER -> TARGET", in order.
std::vector<std::string> OpenFileDescriptors() {
  std::vector<std::string> open;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code gone;
    const std::filesystem::path target = std::filesystem::read_symlink(entry.path(), gone);
    // The descriptor that reads the folder is listed too, and may be closed
    // by the time its link is looked at.
    if (!gone) open.push_back(entry.path().filename().string() + " -> " + target.string());
  }
  std::sort(open.begin(), open.end());
  return open;
}

// What one open did: the platform calls in order ("D" the dialog, "E" event
// processing, "M" a message box, "B" the beep), the messages, and the
// top-left corner of the window as shown, large enough for every test file.
struct Outcome {
  std::string calls;
  std::vector<std::string> messages;
  QImage corner;

  bool operator==(const Outcome&) const = default;
};

// A window whose dialog answers with the file the test names, and whose
// platform calls are recorded.
class Session {
 public:
  Session()
      : hooks_({
            .messageBox =
                [this](std::string_view text, MessageBoxStyle style, std::string_view title) {
                  outcome_.calls += 'M';
                  outcome_.messages.push_back(MessageAsText(text, style, title));
                },
            .beep = [this] { outcome_.calls += 'B'; },
            .doEvents = [this] { outcome_.calls += 'E'; },
            .openFileDialog =
                [this](const OpenFileRequest&) {
                  outcome_.calls += 'D';
                  return std::optional<std::string>(answer_);
                },
        }) {
    form_.show();
  }

  Outcome Open(const std::string& path) {
    outcome_ = {};
    answer_ = path;
    Action("mnuOpen").trigger();
    outcome_.corner = form_.centralWidget()->grab(QRect(0, 0, 16, 40)).toImage();
    return outcome_;
  }

  QAction& Action(const char* name) { return *form_.findChild<QAction*>(name); }

 private:
  Form1 form_;
  std::string answer_;
  Outcome outcome_;
  ScopedPlatformHooks hooks_;
};

TEST(LongSession, TenThousandOpensEndAlikeAndLeaveNothingBehind) {
  const TempDir dir;
  struct File {
    std::string path;
    bool draws;
    bool reported;
  };
  const std::vector<File> files = {
      {dir.Write("plain.pbm", "P1 3 2 1 0 1 0 1 0"), true, false},
      {dir.Write("raw.pbm", "P4 12 33 " + std::string(66, '\x5A')), true, false},
      {dir.Write("not-pbm.pbm", "GIF89a"), false, true},
      {dir.Write("width-out-of-range.pbm", "P1 70000 1 1"), false, true},
      {dir.Write("out-of-range-mid-raster.pbm", "P1 2 2 1 1 99999 1"), true, true},
      {dir.Write("raw-cut-short.pbm", "P4 16 20 \xFF"), true, false},
      {dir.Write("plain-cut-short.pbm", "P1 4 4 1 0"), true, false},
      {dir.Write("empty.pbm", ""), false, true},
      {(dir.path() / "missing.pbm").string(), false, true},
      {dir.path().string(), false, true},
  };
  const std::vector<std::string> descriptorsBefore = OpenFileDescriptors();
  Session session;

  std::vector<Outcome> firstOpens;
  for (const File& file : files) {
    const Outcome outcome = session.Open(file.path);
    EXPECT_TRUE(outcome.calls.starts_with("D") && outcome.calls.ends_with("B")) << file.path << ": " << outcome.calls;
    const QRgb topLeft = outcome.corner.pixel(0, 0);
    EXPECT_EQ(topLeft == qRgb(0, 0, 0) || topLeft == qRgb(255, 255, 255), file.draws) << file.path;
    EXPECT_EQ(outcome.messages.size(), file.reported ? 1u : 0u) << file.path;
    firstOpens.push_back(outcome);
  }
  for (int i = static_cast<int>(files.size()); i < kOpens; ++i) {
    const std::size_t which = static_cast<std::size_t>(i) % files.size();
    // One report is enough: a failure would repeat a thousand times.
    ASSERT_TRUE(session.Open(files[which].path) == firstOpens[which])
        << "open " << i << " of " << files[which].path << " ended otherwise than the first";
  }
  EXPECT_TRUE(session.Action("mnuOpen").isEnabled());
  EXPECT_EQ(OpenFileDescriptors(), descriptorsBefore);
}

}  // namespace
}  // namespace inkpane::testing
