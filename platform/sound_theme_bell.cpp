#include "platform/sound_theme_bell.h"

#include <canberra.h>

#include <memory>

namespace inkpane {
namespace {

struct ContextDeleter {
  void operator()(ca_context* context) const { ca_context_destroy(context); }
};
using Context = std::unique_ptr<ca_context, ContextDeleter>;

Context NewContext() {
  ca_context* context = nullptr;
  if (ca_context_create(&context) != CA_SUCCESS) return nullptr;
  ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Inkpane", nullptr);
  return Context(context);
}

}  // namespace

SoundThemeBell::SoundThemeBell() : player_([this](std::stop_token stop) { Play(stop); }) {}

SoundThemeBell::~SoundThemeBell() = default;

void SoundThemeBell::Ring() {
  {
    const std::lock_guard lock(mutex_);
    ++pending_;
  }
  wake_.notify_one();
}

// The context connects to the sound server at its first sound and is kept,
// since a sound still playing ends with its context. A failed sound drops it,
// so a server that was missing or went away is looked for again at the next
// ring. The theme's lookup drops the name's last dash-separated part until a
// file matches, so a theme without "bell-window-system" plays its "bell".
void SoundThemeBell::Play(std::stop_token stop) {
  Context context;
  while (true) {
    {
      std::unique_lock lock(mutex_);
      if (!wake_.wait(lock, stop, [this] { return pending_ > 0; })) return;
      --pending_;
    }
    if (!context) context = NewContext();
    if (context && ca_context_play(context.get(), 0, CA_PROP_EVENT_ID, "bell-window-system", nullptr) != CA_SUCCESS) {
      context.reset();
    }
  }
}

}  // namespace inkpane
