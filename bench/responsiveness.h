#pragma once

#include <filesystem>

namespace inkpane::bench {

// Decodes the very wide files and prints the longest stretches without event
// processing beside the target; returns whether Inkpane decoded them without
// a message. With `slowStorage`, a folder serving the input folder's files
// from storage whose every read waits, also the raw A4 page from there.
bool PrintResponsiveness(const std::filesystem::path& inputFolder, const std::filesystem::path& slowStorage);

}  // namespace inkpane::bench
