#pragma once

#include <string>

namespace inkpane {

// The About box's last block on Windows: the compiler the program was built
// with, and the Windows version it runs on (and Wine's, under Wine).
std::string SystemLines();

// Windows as its users know it, from the version and build the system gives
// itself: "Windows 11 (build 22631)".
std::string WindowsName(unsigned long major, unsigned long minor, unsigned long build);

}  // namespace inkpane
