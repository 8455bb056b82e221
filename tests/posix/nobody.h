#pragma once

#include <sys/types.h>

namespace inkpane::testing {

// The unprivileged user a test running as root decodes as, for whom
// permission bits count.
inline constexpr uid_t kNobody = 65534;

}  // namespace inkpane::testing
