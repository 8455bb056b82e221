#pragma once

#include <oleacc.h>
#include <windows.h>

namespace inkpane {

// IAccessible's interface id, as MinGW-w64's header spells it. The import
// library's IID_IAccessible is not the id but the import of oleacc.dll's
// export of that name, and an object asked for it answers E_NOINTERFACE.
inline constexpr IID kIidAccessible = __uuidof(IAccessible);

}  // namespace inkpane
