#include "platform/program_arguments.h"

namespace inkpane {

std::vector<std::string> ProgramArguments(int argc, char** argv) { return {argv, argv + argc}; }

}  // namespace inkpane
