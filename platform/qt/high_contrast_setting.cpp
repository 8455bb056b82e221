#include "platform/qt/high_contrast_setting.h"

#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include <string>
#include <utility>

namespace inkpane {
namespace {

constexpr const char* kSchema = "org.gnome.desktop.a11y.interface";
constexpr const char* kKey = "high-contrast";

struct UnrefSchema {
  void operator()(GSettingsSchema* schema) const { g_settings_schema_unref(schema); }
};

// dconf, the store of GNOME's settings, makes a file in the session's runtime
// folder for the first program that reads it. Where there is none, no program
// of GNOME's desktop has read a setting in this session, and the program,
// which writes no file, does not make it: high contrast stays off.
bool DconfHasNoSession() {
  GSettingsBackend* const backend = g_settings_backend_get_default();
  const bool dconf = std::string(G_OBJECT_TYPE_NAME(backend)) == "DConfSettingsBackend";
  g_object_unref(backend);
  if (!dconf) return false;
  const std::string session = std::string(g_get_user_runtime_dir()) + "/dconf/user";
  return g_file_test(session.c_str(), G_FILE_TEST_EXISTS) == FALSE;
}

}  // namespace

struct HighContrastSetting::Subscription {
  Subscription(GSettings* watched, std::function<void(bool)> tell) : settings(watched), changed(std::move(tell)) {}
  ~Subscription() {
    if (handler != 0) g_signal_handler_disconnect(settings, handler);
    g_object_unref(settings);
  }
  Subscription(const Subscription&) = delete;
  Subscription& operator=(const Subscription&) = delete;

  static void OnChanged(GSettings* settings, const gchar* key, gpointer self) {
    static_cast<Subscription*>(self)->changed(g_settings_get_boolean(settings, key) != FALSE);
  }

  GSettings* settings;
  std::function<void(bool)> changed;
  gulong handler = 0;
};

HighContrastSetting::HighContrastSetting(std::function<void(bool on)> changed) {
  // Creating settings for a schema that is not installed would abort the
  // program, so the schema is looked up first; a desktop without GNOME's
  // schemas has no such switch.
  GSettingsSchemaSource* const schemas = g_settings_schema_source_get_default();
  if (schemas == nullptr) return;
  const std::unique_ptr<GSettingsSchema, UnrefSchema> schema(g_settings_schema_source_lookup(schemas, kSchema, TRUE));
  if (schema == nullptr || g_settings_schema_has_key(schema.get(), kKey) == FALSE || DconfHasNoSession()) return;

  subscription_ =
      std::make_unique<Subscription>(g_settings_new_full(schema.get(), nullptr, nullptr), std::move(changed));
  subscription_->handler = g_signal_connect(subscription_->settings, "changed::high-contrast",
                                            G_CALLBACK(&Subscription::OnChanged), subscription_.get());
  // GSettings tells of changes only to a key that was read since a handler
  // was connected.
  On();
}

HighContrastSetting::~HighContrastSetting() = default;

bool HighContrastSetting::On() const {
  return subscription_ != nullptr && g_settings_get_boolean(subscription_->settings, kKey) != FALSE;
}

}  // namespace inkpane
