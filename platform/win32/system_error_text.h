#pragma once

#include <string>

namespace inkpane {

// The system's own description of a Win32 error code, in UTF-8 and in the
// user's language, without the line end the system puts after it.
std::string SystemErrorText(unsigned long error);

}  // namespace inkpane
