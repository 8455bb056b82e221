#pragma once

#include <windows.h>

#include <memory>

namespace inkpane {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};

// A kernel object's handle, closed when the object goes.
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

}  // namespace inkpane
