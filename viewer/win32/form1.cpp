#include "viewer/win32/form1.h"

#include <algorithm>
#include <exception>
#include <map>
#include <stdexcept>

#include "platform/user32/accessible_iid.h"
#include "platform/win32/wide_string.h"
#include "viewer/commands.h"
#include "viewer/win32/system_lines.h"
#include "viewer/window_design.h"

namespace inkpane {
namespace {

constexpr wchar_t kWindowClass[] = L"Inkpane.Form1";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kExStyle = 0;
// The application icon in the program's resources.
constexpr WORD kIconId = 1;

BOOL CALLBACK TakeInMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM largest) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    SIZE& size = *reinterpret_cast<SIZE*>(largest);
    size.cx = std::max(size.cx, info.rcMonitor.right - info.rcMonitor.left);
    size.cy = std::max(size.cy, info.rcMonitor.bottom - info.rcMonitor.top);
  }
  return TRUE;
}

// The persistent image covers the largest monitor in device pixels, so the
// window can be maximised on any of them and still show the whole picture.
// It grows when a larger monitor comes.
SIZE LargestMonitor() {
  SIZE largest{1, 1};
  EnumDisplayMonitors(nullptr, nullptr, TakeInMonitor, reinterpret_cast<LPARAM>(&largest));
  return largest;
}

Colour WorkspaceColour() { return ToColour(GetSysColor(COLOR_APPWORKSPACE)); }

// Says what failed in a message handler, since no exception may unwind
// through the system's code that called the window procedure; the window
// goes on. Called from a handler, where it rethrows what was caught.
void ReportFailure(HWND window) noexcept {
  try {
    try {
      throw;
    } catch (const std::exception& error) {
      MessageBoxW(window, Widen(error.what()).c_str(), L"Error", MB_OK | MB_ICONERROR);
    }
  } catch (...) {
    MessageBoxW(window, L"The program met an error it cannot describe.", L"Error", MB_OK | MB_ICONERROR);
  }
}

// A menu entry's command identifier: its place in the design, from 1.
UINT CommandId(std::size_t entry) { return static_cast<UINT>(entry + 1); }

UINT CommandIdOf(MenuCommand command) {
  std::size_t entry = 0;
  while (kMenuEntries[entry].command != command) ++entry;
  return CommandId(entry);
}

}  // namespace

Form1::Form1() : image_(LargestMonitor(), WorkspaceColour()) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);

  CreateWindowExW(kExStyle, kWindowClass, Widen(kCaption).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, nullptr, CreateMenus(), instance, this);
  if (window_ == nullptr) throw std::runtime_error("The window could not be created.");
  platform_.emplace(window_);
  SetInitialSize();
  LoadSmallIcon(GetDpiForWindow(window_));
}

Form1::~Form1() {
  if (window_ != nullptr) DestroyWindow(window_);
}

HMENU Form1::CreateMenus() {
  const HMENU menuBar = CreateMenu();
  std::map<std::string_view, HMENU> menus;
  for (std::size_t entry = 0; entry < kMenuEntries.size(); ++entry) {
    const MenuEntry& design = kMenuEntries[entry];
    if (design.parent.empty()) {
      menus[design.name] = CreatePopupMenu();
    } else if (IsSeparator(design)) {
      AppendMenuW(menus.at(design.parent), MF_SEPARATOR, CommandId(entry), nullptr);
    } else {
      AppendMenuW(menus.at(design.parent), MF_STRING, CommandId(entry), Widen(design.caption).c_str());
    }
  }
  // A menu goes on the bar once it holds its entries.
  for (const MenuEntry& design : kMenuEntries) {
    if (design.parent.empty()) {
      AppendMenuW(menuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(menus.at(design.name)), Widen(design.caption).c_str());
    }
  }
  return menuBar;
}

// The size is set once the window exists, since only then is it known on
// which monitor, and so at which DPI, it lies.
void Form1::SetInitialSize() {
  const UINT dpi = GetDpiForWindow(window_);
  RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, static_cast<int>(dpi)),
             TwipsToPixels(kClientHeightTwips, static_cast<int>(dpi))};
  AdjustWindowRectExForDpi(&frame, kStyle, TRUE, kExStyle, dpi);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The class's small icon has the size for the DPI the program started at; the
// window's follows the DPI of the monitor it lies on.
void Form1::LoadSmallIcon(UINT dpi) {
  const auto icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                                  GetSystemMetricsForDpi(SM_CXSMICON, dpi),
                                                  GetSystemMetricsForDpi(SM_CYSMICON, dpi), 0));
  if (icon == nullptr) return;
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  smallIcon_.reset(icon);
}

void Form1::Show(int showCommand) {
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
}

// Only what changed since the last refresh is repainted: during a decode
// that is a strip of sixteen rows, not the whole window. Windows clips it to
// the client area and repaints it before UpdateWindow returns.
void Form1::Refresh() {
  const RECT area = image_.TakeChanges();
  if (IsRectEmpty(&area)) return;
  InvalidateRect(window_, &area, FALSE);
  UpdateWindow(window_);
}

void Form1::Cls() { image_.Clear(); }

// Open is greyed out exactly while a picture is being drawn.
void Form1::EnableOpen(bool enabled) {
  EnableMenuItem(GetMenu(window_), CommandIdOf(MenuCommand::Open), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  DrawMenuBar(window_);
  drawing_ = !enabled;
  if (enabled && systemChanged_) FollowSystem();
}

// The dialog has just closed, and the program still has the foreground. The
// window is made active again and takes the keyboard focus, whichever the
// system left elsewhere, so that the user is on the picture, as the focus
// event sent then says.
void Form1::OpeningPicture(std::string_view fileName) {
  picture_.Opening(fileName);
  if (GetForegroundWindow() != window_) SetForegroundWindow(window_);
  if (GetFocus() != window_) SetFocus(window_);
  TellAboutPicture(EVENT_OBJECT_STATECHANGE);
}

// Screen readers speak a change of the focused object's name, which is how
// the end of an open is heard.
void Form1::PictureOpened() {
  picture_.Opened();
  TellAboutPicture(EVENT_OBJECT_NAMECHANGE);
  TellAboutPicture(EVENT_OBJECT_DESCRIPTIONCHANGE);
  TellAboutPicture(EVENT_OBJECT_STATECHANGE);
}

void Form1::TellAboutPicture(DWORD event) const {
  NotifyWinEvent(event, window_, OBJID_CLIENT, PictureAccessible::kPictureChild);
}

// Only the client object is the program's own; the window's other parts, and
// UI Automation's own request, are the system's, whose proxy for UI
// Automation reads this object.
LRESULT Form1::AnswerAccessibilityRequest(WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) {
    return DefWindowProcW(window_, WM_GETOBJECT, wParam, lParam);
  }
  if (!accessible_) accessible_ = PictureAccessible::Make(window_, picture_);
  if (!accessible_) return DefWindowProcW(window_, WM_GETOBJECT, wParam, lParam);
  return LresultFromObject(kIidAccessible, wParam, accessible_.get());
}

// The picture's colours are changed on the way to the screen, which leaves
// the image alone, so they follow the system at once. The image itself must
// not change under a decoder, which holds its device context and may be
// drawing a row: a change of screens or of the workspace colour during a
// drawing is followed once it ends.
void Form1::SystemChanged() {
  pictureColours_ = PictureColoursNow();
  InvalidateRect(window_, nullptr, FALSE);
  if (drawing_) {
    systemChanged_ = true;
    return;
  }
  FollowSystem();
}

// The image grows to cover the monitors present now, so that a window
// maximised on a larger one is not clipped, and what is not drawn takes the
// workspace colour now chosen, as on a switch to high contrast.
void Form1::FollowSystem() {
  systemChanged_ = false;
  image_.Grow(LargestMonitor());
  image_.Recolour(WorkspaceColour());
  InvalidateRect(window_, nullptr, FALSE);
}

LRESULT CALLBACK Form1::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return form->HandleMessage(message, wParam, lParam);
  } catch (...) {
    ReportFailure(window);
    return 0;
  }
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const std::size_t entry = LOWORD(wParam) - std::size_t{1};
      switch (entry < kMenuEntries.size() ? kMenuEntries[entry].command : MenuCommand::None) {
        case MenuCommand::Open:
          mnuOpen_Click();
          return 0;
        case MenuCommand::Exit:
          mnuExit_Click();
          return 0;
        case MenuCommand::About:
          mnuAbout_Click();
          return 0;
        case MenuCommand::None:
          return DefWindowProcW(window_, message, wParam, lParam);
      }
      return DefWindowProcW(window_, message, wParam, lParam);
    }
    case WM_CLOSE:
      Form_Unload();
      return 0;
    case WM_ERASEBKGND:
      // Painting covers every pixel it is asked for, so nothing is erased
      // first, which would flash the background over the picture.
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_DPICHANGED: {
      // The menus and the frame follow the new DPI; the picture stays one
      // image pixel on one device pixel and needs nothing.
      const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      LoadSmallIcon(LOWORD(wParam));
      return 0;
    }
    case WM_DISPLAYCHANGE:
    case WM_SYSCOLORCHANGE:
      SystemChanged();
      return 0;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETHIGHCONTRAST) SystemChanged();
      return DefWindowProcW(window_, message, wParam, lParam);
    case WM_GETOBJECT:
      return AnswerAccessibilityRequest(wParam, lParam);
    case WM_SETFOCUS:
      // The window has no controls: its focus is the picture's, also when
      // the focus comes back from a dialog, a message box or another program.
      TellAboutPicture(EVENT_OBJECT_FOCUS);
      return 0;
    case WM_DESTROY:
      if (accessible_) accessible_->Disconnect();
      accessible_.reset();
      return 0;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void Form1::Paint() {
  PAINTSTRUCT paint;
  const HDC target = BeginPaint(window_, &paint);
  image_.Paint(target, paint.rcPaint, pictureColours_);
  EndPaint(window_, &paint);
}

void Form1::mnuOpen_Click() { OpenCommand(*this, CommonDialog1); }

void Form1::mnuExit_Click() { ExitCommand(); }

void Form1::mnuAbout_Click() { AboutCommand(SystemLines()); }

// Closing the window is never cancelled: it is the same as Exit.
void Form1::Form_Unload() { mnuExit_Click(); }

}  // namespace inkpane
