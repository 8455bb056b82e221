// Times the Open command in the real window, filling the screen, from the
// moment the dialog answers to the beep, beside the least that such an open
// must do, measured by turns with it: decode the file onto an offscreen surface
// of the screen's size, and repaint once the area the picture shows in the
// window (and, for an open over a picture, once more the old picture's area).
// Judges the window on the median of several rounds' ratios of open to floor.
// Also sums the area the window repainted during the opens. Run it under an X
// server (xvfb-run).
// Usage: inkpane-window-bench FILE
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPaintEvent>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "decoder/render_pbm_file.h"
#include "platform/platform_hooks.h"
#include "tools/offscreen_target.h"
#include "viewer/qt/form1.h"

namespace {

using Clock = std::chrono::steady_clock;
// A busy stretch of a shared machine lasting seconds moved the median of one
// long run across the target and back between runs. Each round gives a ratio
// of its own, and the verdict goes by the median of the rounds, so that such a
// stretch spoils one or two rounds and not the verdict; the rounds' spread
// shows how much it moved them.
constexpr int kRounds = 7;
// Each turn opens a new window; the first open in it varies most from window
// to window, so a round has enough turns for its median to hold still.
constexpr int kTurnsPerRound = 15;
// An open may take two and a half times its floor. The window shows the
// picture growing sixteen rows at a time, each strip a repaint of its own
// whose cost goes beyond its pixels', and processes events between strips,
// where the floor repaints once. For a page filling the screen those are some
// 67 strips, whose own cost comes to between half and the whole of a floor
// that a fast decode makes small; the file's open and close also go to the
// storage helper thread and back. See docs/performance.md.
constexpr double kTargetOverFloor = 2.5;

double Milliseconds(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

double Median(std::vector<double> values) {
  std::ranges::sort(values);
  return values[values.size() / 2];
}

// One round's medians, each over the round's turns.
struct Round {
  double decode = 0;
  double repaintPicture = 0;
  double repaintOldPicture = 0;
  double first = 0;
  double again = 0;

  double FirstFloor() const { return decode + repaintPicture; }
  double AgainFloor() const { return decode + repaintPicture + repaintOldPicture; }
};

// Sums the area of every paint of the widget it watches.
class PaintedArea final : public QObject {
 public:
  explicit PaintedArea(QWidget& widget) { widget.installEventFilter(this); }
  long long pixels = 0;
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      const QRect area = static_cast<QPaintEvent*>(event)->rect();
      pixels += static_cast<long long>(area.width()) * area.height();
      ++paints;
    }
    return false;
  }
};

double OffscreenDecodeMs(const std::string& file, inkpane::OffscreenTarget& target) {
  const inkpane::ScopedPlatformHooks quiet({.doEvents = [] {}});
  const Clock::time_point start = Clock::now();
  inkpane::RenderPbmFile(file, target);
  return Milliseconds(Clock::now() - start);
}

// The area of `widget` over the picture's pixels, under any scale.
QRect PictureArea(const QWidget& widget, inkpane::OffscreenTarget::Extent picture) {
  const qreal ratio = widget.devicePixelRatioF();
  const auto outward = [ratio](int pixels) { return static_cast<int>(std::ceil(pixels / ratio)); };
  return QRect(0, 0, outward(picture.width), outward(picture.height)) & widget.rect();
}

double RepaintMs(QWidget& widget, QRect area) {
  const Clock::time_point start = Clock::now();
  widget.repaint(area);
  return Milliseconds(Clock::now() - start);
}

struct WindowRun {
  double first = 0;
  double again = 0;
  // The floor's repaints, made in the same window once the opens are done.
  double repaintPicture = 0;
  double repaintOldPicture = 0;
  QRect pictureArea;
  long long paintedPixels = 0;
  int paints = 0;
  QSize window;
  QSize client;
};

// Opens `file` twice in a new window filling the screen: on the empty window,
// then over its own picture, which is therefore also the old picture's area.
// Returns the two times from the dialog's answer to the beep and the times of
// the floor's two repaints, or nothing when the window never showed or an open
// did not end with its beep.
std::optional<WindowRun> OpenInNewWindow(const std::string& file, inkpane::OffscreenTarget::Extent picture) {
  inkpane::Form1 form;
  // There is no window manager to maximise the window: it is given the
  // screen's whole free area instead, as maximising would.
  form.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
  form.show();
  QElapsedTimer waited;
  waited.start();
  while (!form.windowHandle()->isExposed() && waited.elapsed() < 10000) QApplication::processEvents();
  if (!form.windowHandle()->isExposed()) return std::nullopt;
  // The window's first paints and its menu bar's settle before the timing.
  waited.restart();
  while (waited.elapsed() < 200) QApplication::processEvents();

  Clock::time_point answered;
  std::optional<Clock::time_point> beeped;
  bool messageShown = false;
  const inkpane::ScopedPlatformHooks timing({
      .messageBox = [&](std::string_view, inkpane::MessageBoxStyle, std::string_view) { messageShown = true; },
      .beep = [&] { beeped = Clock::now(); },
      .openFileDialog =
          [&](const inkpane::OpenFileRequest&) {
            answered = Clock::now();
            return std::optional<std::string>(file);
          },
  });
  QAction& open = *form.findChild<QAction*>(QStringLiteral("mnuOpen"));
  const PaintedArea painted(*form.centralWidget());
  const auto timedOpen = [&]() -> std::optional<double> {
    beeped.reset();
    open.trigger();
    if (!beeped || messageShown) return std::nullopt;
    return Milliseconds(*beeped - answered);
  };
  const std::optional<double> first = timedOpen();
  QApplication::processEvents();
  const std::optional<double> again = timedOpen();
  if (!first || !again) return std::nullopt;
  const long long openPixels = painted.pixels;
  const int openPaints = painted.paints;
  QWidget& image = *form.centralWidget();
  const QRect area = PictureArea(image, picture);
  // The floor's repaints start once the X server has taken in the last strip;
  // the second then follows the first at once, as an open over a picture
  // repaints the old picture's area and its own one after the other.
  QGuiApplication::sync();
  const double repaintPicture = RepaintMs(image, area);
  const double repaintOldPicture = RepaintMs(image, area);
  return WindowRun{.first = *first,
                   .again = *again,
                   .repaintPicture = repaintPicture,
                   .repaintOldPicture = repaintOldPicture,
                   .pictureArea = area,
                   .paintedPixels = openPixels,
                   .paints = openPaints,
                   .window = form.size(),
                   .client = image.size()};
}

// Times are the medians over the rounds; the ratio, which alone is judged, is
// the median of the rounds' own ratios, beside the lowest and the highest.
void PrintAgainstFloor(const char* label, double window, double floor, const std::string& parts,
                       const std::vector<double>& ratios) {
  const double ratio = Median(ratios);
  std::printf("  %-34s %6.1f ms   floor %.1f ms (%s)   ratio %.2f (rounds %.2f to %.2f)   target <= %.1f: %s\n", label,
              window, floor, parts.c_str(), ratio, std::ranges::min(ratios), std::ranges::max(ratios), kTargetOverFloor,
              ratio <= kTargetOverFloor ? "met" : "NOT MET");
}

template <typename Field>
double MedianOf(const std::vector<Round>& rounds, Field field) {
  std::vector<double> values;
  for (const Round& round : rounds) values.push_back(field(round));
  return Median(values);
}

std::string Ms(double milliseconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", milliseconds);
  return text;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: inkpane-window-bench FILE\n");
    return 2;
  }
  const std::string file = argv[1];
  int programNameOnly = 1;
  QApplication application(programNameOnly, argv);

  const QScreen& screen = *QGuiApplication::primaryScreen();
  const QSize surface = screen.size() * screen.devicePixelRatio();
  inkpane::OffscreenTarget offscreenTarget(surface.width(), surface.height(), 0x808080);
  // Within a round the window and its floor are timed by turns, so that a busy
  // moment of the machine slows both alike.
  std::vector<Round> rounds;
  WindowRun last;
  for (int round = 0; round < kRounds; ++round) {
    std::vector<double> offscreen;
    std::vector<double> first;
    std::vector<double> again;
    std::vector<double> repaintPicture;
    std::vector<double> repaintOldPicture;
    for (int turn = 0; turn < kTurnsPerRound; ++turn) {
      offscreen.push_back(OffscreenDecodeMs(file, offscreenTarget));
      const std::optional<WindowRun> window = OpenInNewWindow(file, offscreenTarget.DrawnExtent());
      if (!window) {
        std::fprintf(stderr, "the window never showed, or an open did not end with its beep or showed a message\n");
        return 1;
      }
      first.push_back(window->first);
      again.push_back(window->again);
      repaintPicture.push_back(window->repaintPicture);
      repaintOldPicture.push_back(window->repaintOldPicture);
      last = *window;
    }
    rounds.push_back({.decode = Median(offscreen),
                      .repaintPicture = Median(repaintPicture),
                      .repaintOldPicture = Median(repaintOldPicture),
                      .first = Median(first),
                      .again = Median(again)});
  }

  const double decodeMs = MedianOf(rounds, [](const Round& round) { return round.decode; });
  const double pictureMs = MedianOf(rounds, [](const Round& round) { return round.repaintPicture; });
  const double oldPictureMs = MedianOf(rounds, [](const Round& round) { return round.repaintOldPicture; });
  std::vector<double> firstRatios;
  std::vector<double> againRatios;
  for (const Round& round : rounds) {
    firstRatios.push_back(round.first / round.FirstFloor());
    againRatios.push_back(round.again / round.AgainFloor());
  }
  std::printf(
      "Window: Open in a %dx%d window (client area %dx%d), from the dialog's answer to the beep, beside\n"
      "its floor: the decode onto an offscreen surface of the screen's size, plus one repaint of the %dx%d\n"
      "area the picture shows, plus for an open over a picture one more of the old one's; %d rounds of %d\n"
      "new windows, each timed by turns with its floor, a round's ratio its median open over its median\n"
      "floor; times are medians over the rounds, the ratio the rounds' median (lowest to highest)\n",
      last.window.width(), last.window.height(), last.client.width(), last.client.height(), last.pictureArea.width(),
      last.pictureArea.height(), kRounds, kTurnsPerRound);
  std::printf("  %-34s %6.1f ms\n", "offscreen decode", decodeMs);
  std::printf("  %-34s %6.1f ms\n", "repaint of the picture's area", pictureMs);
  std::printf("  %-34s %6.1f ms\n", "repaint of the old picture's area", oldPictureMs);
  PrintAgainstFloor("window, first picture", MedianOf(rounds, [](const Round& round) { return round.first; }),
                    decodeMs + pictureMs, Ms(decodeMs) + " + " + Ms(pictureMs), firstRatios);
  PrintAgainstFloor("window, over the same picture", MedianOf(rounds, [](const Round& round) { return round.again; }),
                    decodeMs + pictureMs + oldPictureMs,
                    Ms(decodeMs) + " + " + Ms(pictureMs) + " + " + Ms(oldPictureMs), againRatios);
  std::printf("  repainted for both opens: %.2f Mpixels in %d paints; the client area is %.2f Mpixels\n",
              static_cast<double>(last.paintedPixels) / 1e6, last.paints,
              static_cast<double>(last.client.width()) * last.client.height() / 1e6);
  return 0;
}
