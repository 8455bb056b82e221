#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/run_time_error.h"
#include "tests/bad_input.h"
#include "tests/test_support.h"

namespace inkpane::testing {

// Rows of the shared tables that only one system can make, such as its
// devices and its ways of denying a file, each named after its system. CMake
// builds the file of the system the tests are built for.

// An action on the file slots and the error number it must raise.
struct NumberedError {
  std::string name;
  std::function<void()> action;
  ErrorNumber number;
};

// Actions on file slot `slot`, with what they need made in `dir`.
std::vector<NumberedError> SystemNumberedErrors(const TempDir& dir, int slot);
std::vector<BadInput> SystemBadInputs();

// How this system describes the failure to open a file at `path` that does
// not exist.
std::string MissingFileDescription(const std::string& path);

}  // namespace inkpane::testing
