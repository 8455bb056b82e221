#include "platform/device_context.h"

#include <cassert>
#include <stdexcept>
#include <utility>

#include "platform/run_time_error.h"

namespace inkpane {

DeviceContext::DeviceContext(std::span<std::uint32_t> pixels, int width, int height, std::size_t stride) {
  if (width < 0 || height < 0 || static_cast<std::size_t>(width) > stride ||
      pixels.size() < stride * static_cast<std::size_t>(height)) {
    throw std::invalid_argument("DeviceContext: the pixel buffer is smaller than the surface");
  }
  auto& table = device_context_detail::table;
  for (std::uint32_t handle = 1; handle < table.size(); ++handle) {
    if (table[handle].bits == nullptr) {
      table[handle] = {pixels.data(), static_cast<std::size_t>(width), static_cast<std::size_t>(height), stride, {}};
      handle_ = handle;
      return;
    }
  }
  throw RunTimeError(ErrorNumber::OutOfMemory, "Out of memory: no device context is free.");
}

DeviceContext::~DeviceContext() { device_context_detail::table[handle_] = {}; }

PixelRect DeviceContext::TakeChanges() {
  assert(device_context_detail::livingResolvedContexts[handle_] == 0 &&
         "the changes of a surface are taken while a resolved context on it lives");
  return std::exchange(device_context_detail::table[handle_].changed, {});
}

}  // namespace inkpane
