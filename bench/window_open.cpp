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

#include "decoder/module1.h"
#include "platform/platform_hooks.h"
#include "tools/offscreen_target.h"
#include "viewer/form1.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 9;

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

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: inkpane-window-bench FILE\n");
    return 2;
  }
  const std::string file = argv[1];
  int programNameOnly = 1;
  QApplication application(programNameOnly, argv);

  inkpane::Form1 form;
  // There is no window manager to maximise the window: it is given the
  // screen's whole free area instead, as maximising would.
  QScreen& screen = *QGuiApplication::primaryScreen();
  form.setGeometry(screen.availableGeometry());
  form.show();
  QElapsedTimer waited;
  waited.start();
  while (!form.windowHandle()->isExposed() && waited.elapsed() < 10000) QApplication::processEvents();
  QApplication::processEvents();

  Clock::time_point answered;
  std::optional<Clock::time_point> beeped;
  std::vector<std::string> messages;
  const inkpane::ScopedPlatformHooks timing({
      .messageBox = [&](std::string_view text, inkpane::MessageBoxStyle,
                        std::string_view) { messages.emplace_back(text); },
      .beep = [&] { beeped = Clock::now(); },
      .openFileDialog =
          [&](const inkpane::OpenFileRequest&) {
            answered = Clock::now();
            return std::optional<std::string>(file);
          },
  });
  QAction& open = *form.findChild<QAction*>(QStringLiteral("mnuOpen"));
  PaintedArea painted(*form.centralWidget());
  const QSize surface = screen.size() * screen.devicePixelRatio();
  inkpane::OffscreenTarget offscreenTarget(surface.width(), surface.height(), 0x808080);
  // The two are timed in turns, so that a busy machine slows both alike.
  std::vector<double> times;
  std::vector<double> offscreenTimes;
  for (int run = 0; run < kRuns; ++run) {
    offscreenTimes.push_back(OffscreenDecodeMs(file, offscreenTarget));
    beeped.reset();
    open.trigger();
    if (!beeped || !messages.empty()) {
      std::fprintf(stderr, "the open did not end with its beep%s%s\n", messages.empty() ? "" : ": ",
                   messages.empty() ? "" : messages.front().c_str());
      return 1;
    }
    times.push_back(Milliseconds(*beeped - answered));
    QApplication::processEvents();
  }

  const QSize client = form.centralWidget()->size();
  const double window = Median(times);
  const double offscreen = Median(offscreenTimes);
  std::printf("Window: Open in a %dx%d window (client area %dx%d), from the dialog's answer to the beep\n",
              form.width(), form.height(), client.width(), client.height());
  std::printf("  window, median of %d      %8.1f ms\n", kRuns, window);
  std::printf("  offscreen decode, %dx%d surface %8.1f ms\n", surface.width(), surface.height(), offscreen);
  std::printf("  ratio %.2f   target <= 2: %s\n", window / offscreen, window <= 2 * offscreen ? "met" : "NOT MET");
  std::printf("  repainted per open: %.2f Mpixels in %d paints; the client area is %.2f Mpixels\n",
              static_cast<double>(painted.pixels) / kRuns / 1e6, painted.paints / kRuns,
              static_cast<double>(client.width()) * client.height() / 1e6);
  return 0;
}
