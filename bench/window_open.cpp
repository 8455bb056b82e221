// Times the Open command in the real window, filling the screen, from the
// moment the dialog answers to the beep, beside a decode of the same file
// onto an offscreen surface of the window's size. Also sums the area the
// window repainted during the open. Run it under an X server (xvfb-run).
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
// Each run opens a new window; the first open in it varies most from run to
// run, so there are enough runs for its median to hold still.
constexpr int kRuns = 21;

double Milliseconds(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

double Median(std::vector<double> values) {
  std::ranges::sort(values);
  return values[values.size() / 2];
}

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

struct WindowRun {
  double first = 0;
  double again = 0;
  long long paintedPixels = 0;
  int paints = 0;
  QSize window;
  QSize client;
};

// Opens `file` twice in a new window filling the screen: on the empty window,
// then over its own picture. Returns the two times from the dialog's answer
// to the beep, or nothing when the window never showed or an open did not end
// with its beep.
std::optional<WindowRun> OpenInNewWindow(const std::string& file) {
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
  return WindowRun{*first, *again, painted.pixels, painted.paints, form.size(), form.centralWidget()->size()};
}

void PrintRatio(const char* label, double window, double offscreen) {
  std::printf("  %-34s %8.1f ms   ratio %.2f   target <= 2: %s\n", label, window, window / offscreen,
              window <= 2 * offscreen ? "met" : "NOT MET");
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
  // The two are timed in turns, so that a busy machine slows both alike.
  std::vector<double> offscreen;
  std::vector<double> first;
  std::vector<double> again;
  WindowRun last;
  for (int run = 0; run < kRuns; ++run) {
    offscreen.push_back(OffscreenDecodeMs(file, offscreenTarget));
    const std::optional<WindowRun> window = OpenInNewWindow(file);
    if (!window) {
      std::fprintf(stderr, "the window never showed, or an open did not end with its beep or showed a message\n");
      return 1;
    }
    first.push_back(window->first);
    again.push_back(window->again);
    last = *window;
  }

  const double offscreenMs = Median(offscreen);
  std::printf("Window: Open in a %dx%d window (client area %dx%d), from the dialog's answer to the beep,\n",
              last.window.width(), last.window.height(), last.client.width(), last.client.height());
  std::printf("median of %d, beside a decode onto an offscreen surface of the screen's size\n", kRuns);
  std::printf("  %-34s %8.1f ms\n", "offscreen decode", offscreenMs);
  PrintRatio("window, first picture", Median(first), offscreenMs);
  PrintRatio("window, over the same picture", Median(again), offscreenMs);
  std::printf("  repainted for both opens: %.2f Mpixels in %d paints; the client area is %.2f Mpixels\n",
              static_cast<double>(last.paintedPixels) / 1e6, last.paints,
              static_cast<double>(last.client.width()) * last.client.height() / 1e6);
  return 0;
}
