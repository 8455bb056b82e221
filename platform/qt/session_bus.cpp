#include "platform/qt/session_bus.h"

#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace inkpane {

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// The user's bus as libdbus finds it when the environment names none: a
// socket of the user's own, itself and not a link to one.
bool HasUserBus() {
  const char* runtimeFolder = std::getenv("XDG_RUNTIME_DIR");
  if (runtimeFolder == nullptr) return false;
  const std::string path = std::string(runtimeFolder) + "/bus";
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode) && status.st_uid == ::getuid();
}

struct Disconnect {
  void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using OwnedReply = std::unique_ptr<Reply, FreeReply>;

// Far longer than any bus address; a longer value is not one.
constexpr std::uint32_t kLongestAddressInWords = 1024;

// The accessibility bus that the desktop's bus launcher names on the root
// window of the display's screen, as Qt would read it.
std::optional<std::string> RootWindowAccessibilityBus() {
  int screenNumber = 0;
  const std::unique_ptr<xcb_connection_t, Disconnect> connection(xcb_connect(nullptr, &screenNumber));
  xcb_connection_t* const x = connection.get();
  if (xcb_connection_has_error(x) != 0) return std::nullopt;

  constexpr std::string_view kName = "AT_SPI_BUS";
  const OwnedReply<xcb_intern_atom_reply_t> atom(
      xcb_intern_atom_reply(x, xcb_intern_atom(x, 1, kName.size(), kName.data()), nullptr));
  if (atom == nullptr || atom->atom == XCB_ATOM_NONE) return std::nullopt;

  xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(x));
  for (; screen.rem > 0 && screenNumber > 0; --screenNumber) xcb_screen_next(&screen);
  if (screen.rem == 0) return std::nullopt;

  const OwnedReply<xcb_get_property_reply_t> property(xcb_get_property_reply(
      x, xcb_get_property(x, 0, screen.data->root, atom->atom, XCB_ATOM_STRING, 0, kLongestAddressInWords), nullptr));
  if (property == nullptr || property->format != 8 || property->bytes_after != 0) return std::nullopt;
  const int length = xcb_get_property_value_length(property.get());
  if (length <= 0) return std::nullopt;
  return std::string(static_cast<const char*>(xcb_get_property_value(property.get())),
                     static_cast<std::size_t>(length));
}

}  // namespace

void PreventSessionBusLaunch() {
  if (Set("DBUS_SESSION_BUS_ADDRESS") || HasUserBus()) return;
  // libdbus offers each address to the transports it knows, and none takes
  // this type, so connecting fails as the address is read: no socket, no
  // process, no file. An empty value would not do, since libdbus reads it as
  // unset and launches a bus; nor would "autolaunch:" or "unixexec:", which
  // start programs.
  ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);

  if (Set("AT_SPI_BUS_ADDRESS") || !Set("DISPLAY")) return;
  if (const std::optional<std::string> address = RootWindowAccessibilityBus()) {
    ::setenv("AT_SPI_BUS_ADDRESS", address->c_str(), 1);
  }
}

}  // namespace inkpane
