#include <memory>
#include <string>
#include <string_view>

#include "bench/readers.h"
#include "decoder/render_pbm_file.h"
#include "platform/platform_hooks.h"
#include "tools/offscreen_target.h"

namespace inkpane::bench {
namespace {

constexpr Colour kBackground = 0x808080;

// The decoder driven as the window drives it, less the screen: refreshes are
// counted by the target and event processing is called with nothing to do.
// The target is made, and so touched, before the timing starts. A message box
// means the decode went wrong, so it is recorded and fails the read.
class InkpaneDecode {
 public:
  explicit InkpaneDecode(const InputFile& file)
      : path_(file.path),
        target_(file.width, file.height, kBackground),
        hooks_({
            .messageBox = [this](std::string_view text, MessageBoxStyle,
                                 std::string_view title) { message_ = std::string(title) + ": " + std::string(text); },
            .doEvents = [this] { ++eventCalls_; },
        }) {}

  void Run() {
    const int refreshesBefore = target_.refreshes();
    const int eventCallsBefore = eventCalls_;
    RenderPbmFile(path_, target_);
    if (!message_.empty()) throw ReadError("showed a message box: " + message_);
    // A decoder that stopped refreshing or letting events run would be faster
    // for the wrong reason.
    if (target_.refreshes() == refreshesBefore || eventCalls_ == eventCallsBefore) {
      throw ReadError("never refreshed or let events run");
    }
  }

 private:
  std::string path_;
  OffscreenTarget target_;
  std::string message_;
  int eventCalls_ = 0;
  ScopedPlatformHooks hooks_;
};

}  // namespace

TimedRead PrepareInkpane(const InputFile& file) {
  return [decode = std::make_shared<InkpaneDecode>(file)] { decode->Run(); };
}

}  // namespace inkpane::bench
