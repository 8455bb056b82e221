#include "viewer/qt/form1.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_slots.h"
#include "platform/folders.h"
#include "platform/platform_hooks.h"
#include "tests/test_support.h"

namespace inkpane::testing {
namespace {

QAction& Action(const Form1& form, const char* name) {
  QAction* action = form.findChild<QAction*>(name);
  if (action == nullptr) throw std::logic_error(std::string("no action ") + name);
  return *action;
}

// What the user sees in the top-left corner of the client area, one string
// per row: '1' black, '0' white, '.' the background colour, '?' anything else.
Rows Corner(Form1& form, int width, int height) {
  const QImage shown = form.centralWidget()->grab().toImage();
  const QRgb background = QApplication::palette().color(QPalette::Dark).rgb();
  Rows rows;
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      const QRgb pixel = shown.pixel(x, y);
      row += pixel == qRgb(0, 0, 0) ? '1' : pixel == qRgb(255, 255, 255) ? '0' : pixel == background ? '.' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

// One answer to the open-file dialog: a file holding these bytes, a path as
// it stands, or a cancel.
struct Answer {
  enum class Kind { Bytes, Path, Cancel } kind;
  std::string text;
};
Answer Bytes(std::string bytes) { return {Answer::Kind::Bytes, std::move(bytes)}; }
Answer Path(std::string path) { return {Answer::Kind::Path, std::move(path)}; }
Answer Cancel() { return {Answer::Kind::Cancel, {}}; }

// Answers a window's dialogs and records, in order, what the platform was
// asked to do: "D" the open dialog, "E" event processing, "M" a message box,
// "B" the beep. "E" and "M" are followed by "+" or "-": whether Open was
// enabled at that moment.
class Session {
 public:
  explicit Session(Form1& form)
      : form_(form),
        hooks_({
            .messageBox =
                [this](std::string_view text, MessageBoxStyle style, std::string_view title) {
                  log += "M" + OpenState();
                  messages.push_back(MessageAsText(text, style, title));
                },
            .beep = [this] { log += "B"; },
            .doEvents = [this] { log += "E" + OpenState(); },
            .openFileDialog = [this](const OpenFileRequest& request) { return AnswerDialog(request); },
        }) {}

  void Open(const Answer& answer) {
    answers_.push_back(answer);
    Action(form_, "mnuOpen").trigger();
  }

  std::string log;
  std::vector<std::string> messages;
  std::vector<std::string> requests;
  // Where the files given as bytes are written.
  const TempDir& files() const { return dir_; }

 private:
  std::string OpenState() const { return Action(form_, "mnuOpen").isEnabled() ? "+" : "-"; }

  std::optional<std::string> AnswerDialog(const OpenFileRequest& request) {
    log += "D";
    std::string asked =
        std::string(request.title) + " [" + std::string(request.folder) + "|" + std::string(request.fileName) + "]";
    for (const FileFilter& filter : request.filters) asked += " " + filter.description + "|" + filter.patterns;
    requests.push_back(asked);

    const Answer answer = answers_.front();
    answers_.erase(answers_.begin());
    switch (answer.kind) {
      case Answer::Kind::Bytes:
        return dir_.Write("image" + std::to_string(++files_) + ".pbm", answer.text);
      case Answer::Kind::Path:
        return answer.text;
      case Answer::Kind::Cancel:
        return std::nullopt;
    }
    return std::nullopt;
  }

  Form1& form_;
  TempDir dir_;
  std::vector<Answer> answers_;
  int files_ = 0;
  ScopedPlatformHooks hooks_;
};

TEST(Form1, StartsAsAnEmptyWindowWithItsMenus) {
  Form1 form;
  form.show();
  EXPECT_EQ(form.windowTitle().toStdString(), "Inkpane 1.1");
  EXPECT_EQ(form.centralWidget()->size(), QSize(449, 343));
  EXPECT_EQ(Corner(form, 2, 2), (Rows{"..", ".."}));
  const QList<QSize> iconSizes = form.windowIcon().availableSizes();
  EXPECT_EQ(iconSizes.count(QSize(16, 16)), 1);
  EXPECT_EQ(iconSizes.count(QSize(32, 32)), 2);

  // Each menu as "object name:text", a separator as "object name:-".
  std::vector<std::string> menus;
  for (const QAction* title : form.menuBar()->actions()) {
    std::string menu = title->menu()->objectName().toStdString() + ":" + title->text().toStdString();
    for (const QAction* item : title->menu()->actions()) {
      menu += " " + item->objectName().toStdString() + ":" + (item->isSeparator() ? "-" : item->text().toStdString());
      EXPECT_TRUE(item->isEnabled() && item->isVisible());
      EXPECT_TRUE(item->shortcut().isEmpty());
    }
    menus.push_back(menu);
  }
  EXPECT_EQ(menus, (std::vector<std::string>{"mnuFile:&File mnuOpen:&Open mnuSep1:- mnuExit:&Exit",
                                             "mnuHelp:&Help mnuAbout:&About..."}));
}

TEST(Form1, OpensImages) {
  const std::string missing = "/nonexistent/folder/image.pbm";
  const struct {
    std::string name;
    std::vector<Answer> answers;
    Rows corner;
    std::string log;
    std::vector<std::string> messages = {};
  } cases[] = {
      {"draws at the top-left over a cleared surface", {Bytes("P1 3 2 1 0 1 0 1 0")}, {"101.", "010.", "...."}, "DE-B"},
      {"refreshes a raw image every sixteen rows with Open disabled",
       {Bytes("P4 4 33 " + std::string(33, '\x50'))},
       {"0101", "0101", "0101"},
       "DE-E-B"},
      {"a second image clears the first",
       {Bytes("P1 4 3 1111 1111 1111"), Bytes("P1 2 1 0 1")},
       {"01..", "....", "...."},
       "DE-BDE-B"},
      {"a file that is not PBM leaves the surface cleared",
       {Bytes("P1 2 1 1 1"), Bytes("GIF89a")},
       {"....", "....", "...."},
       "DE-BDM-B",
       {kNotPbm}},
      {"a file that cannot be read is reported",
       {Path(missing)},
       {"....", "....", "...."},
       "DM-B",
       {kReadError + "The file \"" + missing + "\" does not exist."}},
      {"cancelling keeps the picture and Open", {Bytes("P1 2 1 1 1"), Cancel()}, {"11..", "....", "...."}, "DE-BD"},
      {"cancelling the first time changes nothing", {Cancel()}, {"....", "....", "...."}, "D"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Form1 form;
    form.show();
    Session session(form);
    for (const Answer& answer : c.answers) session.Open(answer);
    EXPECT_EQ(Corner(form, 4, 3), c.corner);
    EXPECT_EQ(session.log, c.log);
    EXPECT_EQ(session.messages, c.messages);
    EXPECT_TRUE(Action(form, "mnuOpen").isEnabled());
  }
}

TEST(Form1, EnlargingTheWindowShowsMoreOfALargePicture) {
  Form1 form;
  form.show();
  Session session(form);
  // 600x500, all black but for a white last column and last row.
  std::string raster;
  for (int y = 0; y < 500; ++y) raster += y < 499 ? std::string(74, '\xFF') + "\xFE" : std::string(75, '\0');
  session.Open(Bytes("P4 600 500 " + raster));
  form.resize(form.width() + 300, form.height() + 300);
  const QImage shown = form.centralWidget()->grab().toImage();
  ASSERT_GE(shown.width(), 601);
  ASSERT_GE(shown.height(), 501);
  EXPECT_EQ(shown.pixel(598, 498), qRgb(0, 0, 0));
  EXPECT_EQ(shown.pixel(599, 0), qRgb(255, 255, 255));
  EXPECT_EQ(shown.pixel(0, 499), qRgb(255, 255, 255));
  EXPECT_EQ(shown.pixel(600, 500), QApplication::palette().color(QPalette::Dark).rgb());
}

// Records the area of every paint of the widget it watches.
class PaintRecorder final : public QObject {
 public:
  explicit PaintRecorder(QWidget& widget) { widget.installEventFilter(this); }
  std::vector<QRect> painted;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted.push_back(static_cast<QPaintEvent*>(event)->rect());
    return false;
  }
};

TEST(Form1, RefreshRepaintsOnlyWhatChangedWhereItShows) {
  Form1 form;
  form.show();
  QApplication::processEvents();
  Session session(form);
  PaintRecorder recorder(*form.centralWidget());

  // Refreshes after rows 15 and 31, and Open's own at the end: on a window
  // that shows nothing yet, only the new rows each time.
  session.Open(Bytes("P4 40 40 " + std::string(5 * 40, '\xAA')));
  EXPECT_EQ(recorder.painted, (std::vector<QRect>{QRect(0, 0, 40, 16), QRect(0, 16, 40, 16), QRect(0, 32, 40, 8)}));

  // The first refresh also clears what the last picture covered. Rows below
  // the window are drawn but never painted.
  recorder.painted.clear();
  session.Open(Bytes("P4 40 1000 " + std::string(5 * 1000, '\xAA')));
  std::vector<QRect> expected = {QRect(0, 0, 40, 40)};
  for (int top = 16; top < 336; top += 16) expected.push_back(QRect(0, top, 40, 16));
  expected.push_back(QRect(0, 336, 40, 7));
  EXPECT_EQ(recorder.painted, expected);
  EXPECT_EQ(Corner(form, 2, 343), Rows(343, "10"));

  // A small picture clears what the large one covered, once.
  for (const QRect& area : {QRect(0, 0, 40, 343), QRect(0, 0, 10, 10)}) {
    recorder.painted.clear();
    session.Open(Bytes("P4 10 10 " + std::string(2 * 10, '\xFF')));
    EXPECT_EQ(recorder.painted, (std::vector<QRect>{area}));
  }
  Rows corner(12, "............");
  for (int y = 0; y < 10; ++y) corner[static_cast<std::size_t>(y)] = "1111111111..";
  EXPECT_EQ(Corner(form, 12, 12), corner);
}

TEST(Form1, AsksForAPbmImageStartingFromTheLastOne) {
  Form1 form;
  Session session(form);
  session.Open(Path("/nonexistent/first.pbm"));
  session.Open(Cancel());
  const std::string filters = " PBM Images (*.pbm)|*.pbm All Files (*.*)|*.*";
  // The folder of the file chosen last is gone: the dialog starts at home.
  EXPECT_EQ(session.requests,
            (std::vector<std::string>{"Select a PBM Image [" + CurrentFolder() + "|]" + filters,
                                      "Select a PBM Image [" + HomeFolder() + "|first.pbm]" + filters}));
}

TEST(Form1, AboutNamesTheProgramInBlocksOfLines) {
  Form1 form;
  Session session(form);
  Action(form, "mnuAbout").trigger();
  ASSERT_EQ(session.messages.size(), 1u);
  const std::string prefix = "[64] About...: ";
  const std::string& message = session.messages.front();
  ASSERT_TRUE(message.starts_with(prefix));

  Rows lines;
  std::string_view text = std::string_view(message).substr(prefix.size());
  for (std::size_t end; (end = text.find("\r\n")) != std::string_view::npos; text.remove_prefix(end + 2)) {
    lines.emplace_back(text.substr(0, end));
  }
  lines.emplace_back(text);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_TRUE(lines[0].starts_with("Inkpane 1.0"));
  EXPECT_NE(lines[1].find("PBM"), std::string::npos);
  EXPECT_EQ(lines[2], "");
  EXPECT_NE(std::ranges::find(lines, "Inkpane is free software under the MIT licence."), lines.end());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].find_first_of("\r\n"), std::string::npos) << "line " << i;
    if (i > 0) {
      EXPECT_FALSE(lines[i].empty() && lines[i - 1].empty()) << "line " << i;
    }
  }
  EXPECT_FALSE(lines.back().empty());
}

// Ends the program from inside the event processing of a long decode, the
// way a user's Exit or close arrives, and exits with status 3 if the file the
// decode read was closed before the program ended (closing can wait on
// storage, so that is the system's to do), or 4 if the decode ever went on. No
// destructor runs when the program ends, so the hook removes the image's
// folder itself.
void EndInTheMiddleOfADecode(void (*end)(Form1&)) {
  Form1 form;
  Session session(form);
  int refreshes = 0;
  ScopedPlatformHooks endings({
      .messageBox = [](std::string_view, MessageBoxStyle, std::string_view) { std::_Exit(5); },
      .doEvents =
          [&] {
            if (++refreshes == 3) end(form);
            if (refreshes > 3) std::_Exit(4);
          },
      .endProgram =
          [&] {
            const int status = ImageSlotIsFree("/proc/self/exe") ? 3 : 0;
            std::error_code ignored;
            std::filesystem::remove_all(session.files().path(), ignored);
            std::_Exit(status);
          },
  });
  session.Open(Bytes("P4 64 1000 "));
}

TEST(Form1DeathTest, ExitEndsTheProgramInTheMiddleOfADecode) {
  EXPECT_EXIT(EndInTheMiddleOfADecode([](Form1& form) { Action(form, "mnuExit").trigger(); }),
              ::testing::ExitedWithCode(0), "");
}

TEST(Form1DeathTest, ClosingTheWindowEndsTheProgramInTheMiddleOfADecode) {
  EXPECT_EXIT(EndInTheMiddleOfADecode([](Form1& form) { form.close(); }), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace inkpane::testing
