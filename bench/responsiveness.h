#pragma once

#include <filesystem>

namespace inkpane::bench {

// Decodes the very wide files and prints the longest stretches without event
// processing beside the target; returns whether Inkpane decoded them without
// a message.
bool PrintResponsiveness(const std::filesystem::path& inputFolder);

}  // namespace inkpane::bench
