#pragma once

#include <QMainWindow>
#include <cstdint>
#include <string_view>

#include "platform/common_dialog.h"
#include "platform/qt/high_contrast_setting.h"
#include "platform/qt/qt_platform.h"
#include "viewer/picture_description.h"
#include "viewer/qt/persistent_image.h"
#include "viewer/viewer_window.h"

class QAction;
class QCloseEvent;

namespace inkpane {

// The program's one window: a menu bar over a persistent image, and the
// drawing target that the Open command hands to the decoder.
class Form1 final : public QMainWindow, public ViewerWindow {
  Q_OBJECT

 public:
  Form1();

  std::uint32_t hdc() const override { return image_.hdc(); }
  // Shows on screen, before returning, what changed in the persistent image
  // since the last refresh.
  void Refresh() override;
  void Cls() override;
  void EnableOpen(bool enabled) override;
  void Drawn(const DrawingReport& report) override;
  void OpeningPicture(std::string_view fileName) override;
  void PictureOpened() override;

  // What a screen reader is told of the picture.
  const PictureDescription& picture() const { return picture_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void mnuOpen_Click();
  [[noreturn]] void mnuExit_Click();
  void mnuAbout_Click();
  [[noreturn]] void Form_Unload();

  void CreateMenus();
  // The keyboard focus rests on the picture, except during an open, when it
  // waits on the window itself. Moving onto the picture when the open ends,
  // it makes a screen reader read the picture's new name and description.
  void SettleFocus();
  void DialogClosed();

  QtPlatform platform_;
  CommonDialog CommonDialog1;
  PictureDescription picture_;
  PersistentImage image_;
  HighContrastSetting highContrast_;
  // The Open entry, greyed out while a picture is drawn; the menu bar owns
  // it and the other entries, each named as designed.
  QAction* mnuOpen = nullptr;
};

}  // namespace inkpane
