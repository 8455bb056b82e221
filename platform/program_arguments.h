#pragma once

#include <string>
#include <vector>

namespace inkpane {

// The program's command line, its name first, in UTF-8 whatever the system
// hands over: on Windows, `argv` is in the ANSI code page, which cannot hold
// every name, so the line is read again from the system in UTF-16.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace inkpane
