#pragma once

#include <functional>
#include <memory>

namespace inkpane {

// GNOME's high-contrast switch (org.gnome.desktop.a11y.interface
// high-contrast), read through GSettings and followed while the program runs.
// Where that schema is not installed, high contrast is simply off. A change
// is told on the GLib main context, which Qt's event loop runs.
class HighContrastSetting {
 public:
  explicit HighContrastSetting(std::function<void(bool on)> changed);
  ~HighContrastSetting();
  HighContrastSetting(const HighContrastSetting&) = delete;
  HighContrastSetting& operator=(const HighContrastSetting&) = delete;

  bool On() const;

 private:
  struct Subscription;
  std::unique_ptr<Subscription> subscription_;
};

}  // namespace inkpane
