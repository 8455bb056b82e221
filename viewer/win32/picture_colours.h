#pragma once

#include <windows.h>

#include <functional>

#include "platform/colour.h"

namespace inkpane {

// The colours a bi-level picture is shown in. The image keeps the decoder's
// black and white; in high contrast they are shown in the colours the user
// chose for text and for the background behind it, as Microsoft asks of
// pictures drawn in one colour on another.
struct PictureColours {
  Colour black = 0x000000;
  Colour white = 0xFFFFFF;

  bool operator==(const PictureColours&) const = default;
};

// A colour as GDI gives it, as 0xRRGGBB.
Colour ToColour(COLORREF colour);

bool SystemHighContrastOn();

// What the system says of high contrast and of its colours. Wine cannot turn
// high contrast on, so the tests put stand-ins in their place.
struct HighContrastCalls {
  std::function<bool()> on = SystemHighContrastOn;
  std::function<COLORREF(int index)> systemColour = [](int index) { return GetSysColor(index); };
};

// The colours to show the picture in now: black and white exactly, unless
// high contrast is on.
PictureColours PictureColoursNow(const HighContrastCalls& calls = {});

}  // namespace inkpane
