#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <type_traits>

#include "platform/common_dialog.h"
#include "platform/user32/win32_platform.h"
#include "viewer/picture_description.h"
#include "viewer/viewer_window.h"
#include "viewer/win32/com_apartment.h"
#include "viewer/win32/persistent_image.h"
#include "viewer/win32/picture_accessible.h"
#include "viewer/win32/picture_colours.h"

namespace inkpane {

// The program's one window: a menu bar over a persistent image, and the
// drawing target that the Open command hands to the decoder.
class Form1 final : public ViewerWindow {
 public:
  Form1();
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Shows the window as the program was asked to start (normal, minimised...).
  void Show(int showCommand);

  std::uint32_t hdc() const override { return image_.hdc(); }
  // Shows on screen, before returning, what changed in the persistent image
  // since the last refresh.
  void Refresh() override;
  void Cls() override;
  void EnableOpen(bool enabled) override;
  void Drawn(const DrawingReport& report) override { picture_.Drawn(report); }
  // From the dialog's close to the end of the drawing the picture is busy,
  // and a screen reader is told so; at the end it is told the picture's name
  // and description.
  void OpeningPicture(std::string_view fileName) override;
  void PictureOpened() override;

  // What a screen reader is told of the picture.
  const PictureDescription& picture() const { return picture_; }

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  HMENU CreateMenus();
  void SetInitialSize();
  void LoadSmallIcon(UINT dpi);
  void SystemChanged();
  void FollowSystem();
  void Paint();
  LRESULT AnswerAccessibilityRequest(WPARAM wParam, LPARAM lParam);
  void TellAboutPicture(DWORD event) const;

  void mnuOpen_Click();
  [[noreturn]] void mnuExit_Click();
  void mnuAbout_Click();
  [[noreturn]] void Form_Unload();

  // First, since the window's accessible object needs it from the window's
  // creation on.
  ComApartment apartment_;
  PersistentImage image_;
  PictureColours pictureColours_ = PictureColoursNow();
  HWND window_ = nullptr;
  // Installed once the window exists, since it owns the dialogs.
  std::optional<Win32Platform> platform_;
  CommonDialog CommonDialog1;
  PictureDescription picture_;
  // Made at the first request of a client; disconnected when the window goes.
  std::unique_ptr<PictureAccessible, ComReleaser> accessible_;
  struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
  };
  // The window's small icon at its DPI; destroyed after the window.
  std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter> smallIcon_;
  // A picture is being drawn; the screens or colours changed meanwhile.
  bool drawing_ = false;
  bool systemChanged_ = false;
};

}  // namespace inkpane
