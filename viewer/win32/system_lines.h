#pragma once

#include <string>

namespace inkpane {

// The About box's last block on Windows: the compiler the program was built
// with, and the Windows version it runs on (and Wine's, under Wine).
std::string SystemLines();

}  // namespace inkpane
