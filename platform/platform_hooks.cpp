#include "platform/platform_hooks.h"

#include <cstdlib>
#include <iostream>
#include <stdexcept>

namespace inkpane {
namespace {

PlatformHooks DefaultHooks() {
  return {
      .messageBox = [](std::string_view text, MessageBoxStyle,
                       std::string_view title) { std::cerr << title << ": " << text << '\n'; },
      .beep = [] {},
      .doEvents = [] {},
      .awaitStorage =
          [](const std::function<void()>& call, std::optional<std::chrono::milliseconds>) {
            call();
            return true;
          },
      .endProgram = [] { std::exit(EXIT_SUCCESS); },
      .openFileDialog = [](const OpenFileRequest&) { return std::optional<std::string>(); },
  };
}

// Calls handed to AwaitStorage that have not returned.
int outstandingStorageCalls = 0;

PlatformHooks& InstalledHooks() {
  static PlatformHooks hooks = DefaultHooks();
  return hooks;
}

}  // namespace

void MsgBox(std::string_view text, MessageBoxStyle style, std::string_view title) {
  InstalledHooks().messageBox(text, style, title);
}

void Beep() { InstalledHooks().beep(); }

void DoEvents() { InstalledHooks().doEvents(); }

namespace {

bool AwaitStorageCall(const std::function<void()>& call, std::optional<std::chrono::milliseconds> patience) {
  // A second call would find the helper busy with the first, whose caller's
  // frame it may still be writing into.
  if (outstandingStorageCalls > 0) {
    throw std::logic_error("A call on storage was made while another one was waiting on storage.");
  }
  ++outstandingStorageCalls;
  try {
    const bool answered = InstalledHooks().awaitStorage(call, patience);
    --outstandingStorageCalls;
    return answered;
  } catch (...) {
    --outstandingStorageCalls;
    throw;
  }
}

}  // namespace

void AwaitStorage(const std::function<void()>& call) { AwaitStorageCall(call, std::nullopt); }

bool AwaitStorageFor(const std::function<void()>& call, std::chrono::milliseconds patience) {
  return AwaitStorageCall(call, patience);
}

bool StorageCallOutstanding() { return outstandingStorageCalls > 0; }

void EndProgram() {
  InstalledHooks().endProgram();
  // A hook must not return; if one does, the program still ends here.
  std::exit(EXIT_SUCCESS);
}

std::optional<std::string> ShowOpenFileDialog(const OpenFileRequest& request) {
  return InstalledHooks().openFileDialog(request);
}

ScopedPlatformHooks::ScopedPlatformHooks(PlatformHooks hooks) : previous_(InstalledHooks()) {
  PlatformHooks& installed = InstalledHooks();
  if (hooks.messageBox) installed.messageBox = std::move(hooks.messageBox);
  if (hooks.beep) installed.beep = std::move(hooks.beep);
  if (hooks.doEvents) installed.doEvents = std::move(hooks.doEvents);
  if (hooks.awaitStorage) installed.awaitStorage = std::move(hooks.awaitStorage);
  if (hooks.endProgram) installed.endProgram = std::move(hooks.endProgram);
  if (hooks.openFileDialog) installed.openFileDialog = std::move(hooks.openFileDialog);
}

ScopedPlatformHooks::~ScopedPlatformHooks() { InstalledHooks() = std::move(previous_); }

}  // namespace inkpane
