#include "platform/program_arguments.h"

#include <windows.h>
// shellapi.h needs the types of windows.h before it.
#include <shellapi.h>

#include <memory>
#include <span>

#include "platform/win32/wide_string.h"

namespace inkpane {

std::vector<std::string> ProgramArguments(int, char**) {
  int count = 0;
  const std::unique_ptr<wchar_t*, decltype(&LocalFree)> arguments(CommandLineToArgvW(GetCommandLineW(), &count),
                                                                  &LocalFree);
  std::vector<std::string> utf8;
  if (!arguments) return utf8;
  for (const wchar_t* argument : std::span(arguments.get(), static_cast<std::size_t>(count))) {
    utf8.push_back(Narrow(argument));
  }
  return utf8;
}

}  // namespace inkpane
