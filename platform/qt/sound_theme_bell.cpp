#include "platform/qt/sound_theme_bell.h"

#include <canberra.h>

#include <QFile>
#include <QStandardPaths>
#include <memory>
#include <optional>
#include <string>

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

// The freedesktop sound theme's file for the window system's bell, where the
// desktop's data folders hold it: "bell-window-system" if the theme has it,
// else "bell" (Debian's theme has only that). The file is looked up here and
// played by its name: given an event id, libcanberra would keep a cache of
// its lookups in the user's home, and the program writes nothing.
std::optional<std::string> BellSoundFile() {
  for (const char* name : {"bell-window-system", "bell"}) {
    for (const char* extension : {".oga", ".ogg", ".wav"}) {
      const QString file = QStandardPaths::locate(
          QStandardPaths::GenericDataLocation,
          QStringLiteral("sounds/freedesktop/stereo/") + QLatin1String(name) + QLatin1String(extension));
      if (!file.isEmpty()) return QFile::encodeName(file).toStdString();
    }
  }
  return std::nullopt;
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

// The sound file is looked up at the first ring; without a sound theme there
// is nothing to play. The context connects to the sound server at its first
// sound and is kept, since a sound still playing ends with its context. A
// failed sound drops it, so a server that was missing or went away is looked
// for again at the next ring.
void SoundThemeBell::Play(std::stop_token stop) {
  bool lookedUp = false;
  std::optional<std::string> file;
  Context context;
  while (true) {
    {
      std::unique_lock lock(mutex_);
      if (!wake_.wait(lock, stop, [this] { return pending_ > 0; })) return;
      --pending_;
    }
    if (!lookedUp) {
      file = BellSoundFile();
      lookedUp = true;
    }
    if (!file) continue;
    if (!context) context = NewContext();
    if (context && ca_context_play(context.get(), 0, CA_PROP_MEDIA_FILENAME, file->c_str(), nullptr) != CA_SUCCESS) {
      context.reset();
    }
  }
}

}  // namespace inkpane
