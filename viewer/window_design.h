#pragma once

#include <array>
#include <string_view>

namespace inkpane {

// The program's one window as it is designed, the same on every system:
// each system's Form1 is built from this.

inline constexpr std::string_view kCaption = "Inkpane 1.1";

// The client area's first size in twips, a twentieth of a point: 449 by 343
// pixels at 96 dots per inch, more at a higher setting.
inline constexpr int kClientWidthTwips = 6735;
inline constexpr int kClientHeightTwips = 5145;

// A length in twips as pixels at `dotsPerInch`, halves rounded up, as Windows
// rounds them.
constexpr int TwipsToPixels(int twips, int dotsPerInch) { return (twips * dotsPerInch + 720) / 1440; }

// What choosing a menu entry does; a menu of the bar and a separator line do
// nothing of their own.
enum class MenuCommand { None, Open, Exit, About };

struct MenuEntry {
  // The control's name: mnu and its role.
  std::string_view name;
  // "&" marks the access key; "-" is a separator line.
  std::string_view caption;
  // The menu the entry belongs to; empty for a menu of the menu bar.
  std::string_view parent;
  MenuCommand command;
};

// The menus in their order. No entry has a shortcut key: the access keys are
// the keyboard's way in.
inline constexpr std::array<MenuEntry, 6> kMenuEntries = {{
    {"mnuFile", "&File", "", MenuCommand::None},
    {"mnuOpen", "&Open", "mnuFile", MenuCommand::Open},
    {"mnuSep1", "-", "mnuFile", MenuCommand::None},
    {"mnuExit", "&Exit", "mnuFile", MenuCommand::Exit},
    {"mnuHelp", "&Help", "", MenuCommand::None},
    {"mnuAbout", "&About...", "mnuHelp", MenuCommand::About},
}};

constexpr bool IsSeparator(const MenuEntry& entry) { return entry.caption == "-"; }

}  // namespace inkpane
