#include <windows.h>

#include <exception>

#include "platform/win32/wide_string.h"
#include "viewer/win32/form1.h"

// The program takes no arguments: the command line is not looked at.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  try {
    inkpane::Form1 form;
    form.Show(showCommand);
    // The program ends only through Exit or closing the window, which end it
    // at once; the loop itself never finishes.
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    return 0;
  } catch (const std::exception& error) {
    // Only a window that cannot be made at all gets here.
    MessageBoxW(nullptr, inkpane::Widen(error.what()).c_str(), L"Error", MB_OK | MB_ICONERROR);
    return 1;
  }
}
