#include "platform/platform_hooks.h"

#include <cstdlib>
#include <iostream>

namespace inkpane {
namespace {

PlatformHooks DefaultHooks() {
  return {
      .messageBox = [](std::string_view text, MessageBoxStyle,
                       std::string_view title) { std::cerr << title << ": " << text << '\n'; },
      .beep = [] {},
      .doEvents = [] {},
      .endProgram = [] { std::exit(EXIT_SUCCESS); },
      .openFileDialog = [](const OpenFileRequest&) { return std::optional<std::string>(); },
  };
}

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
  if (hooks.endProgram) installed.endProgram = std::move(hooks.endProgram);
  if (hooks.openFileDialog) installed.openFileDialog = std::move(hooks.openFileDialog);
}

ScopedPlatformHooks::~ScopedPlatformHooks() { InstalledHooks() = std::move(previous_); }

}  // namespace inkpane
