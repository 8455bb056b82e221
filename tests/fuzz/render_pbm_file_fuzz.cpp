// libFuzzer target: decodes each input as a PBM file the way the viewer does,
// and stops on anything the decoder promises never to do.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/read_pbm_token.h"
#include "decoder/render_pbm_file.h"
#include "platform/file_slots.h"
#include "platform/platform_hooks.h"
#include "platform/posix/unique_fd.h"
#include "tools/offscreen_target.h"

namespace {

// Four 16-row refresh bands and eight raw bytes a row fit on it, and wider
// images are cropped, so both drawn and dropped pixels are exercised; at 16 KiB
// building it for every input costs nothing beside the decode.
constexpr int kSurfaceSide = 64;
constexpr inkpane::Colour kGrey = 0x808080;

[[noreturn]] void Fail(std::string_view what) {
  std::fprintf(stderr, "inkpane-fuzz: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}

// The file each input is written to. It is unlinked as soon as it is made and
// opened again by its /proc/self/fd name, so nothing is left behind however the
// process ends; libFuzzer leaves by _Exit after a crash or a timeout.
class InputFile {
 public:
  InputFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "inkpane-fuzz-XXXXXX").string();
    fd_ = inkpane::UniqueFd(::mkstemp(pattern.data()));
    if (!fd_.valid()) Fail("cannot create the input file");
    ::unlink(pattern.c_str());
    path_ = "/proc/self/fd/" + std::to_string(fd_.get());
  }

  void Replace(std::span<const std::uint8_t> bytes) {
    if (::ftruncate(fd_.get(), 0) != 0) Fail("cannot empty the input file");
    std::size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t count =
          ::pwrite(fd_.get(), bytes.data() + written, bytes.size() - written, static_cast<off_t>(written));
      if (count <= 0) Fail("cannot write the input file");
      written += static_cast<std::size_t>(count);
    }
  }

  const std::string& path() const { return path_; }

 private:
  inkpane::UniqueFd fd_;
  std::string path_;
};

// Only opening the slot again shows from outside whether it was closed.
void CheckImageSlotClosed(const std::string& anyRegularFile) {
  try {
    inkpane::OpenForInput(inkpane::kImageFileSlot, anyRegularFile);
  } catch (const std::exception& error) {
    Fail(std::string("the image file slot was left open: ") + error.what());
  }
  inkpane::CloseFile(inkpane::kImageFileSlot);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static InputFile input;
  input.Replace({data, size});

  std::vector<std::string> messages;
  {
    const inkpane::ScopedPlatformHooks hooks({
        .messageBox = [&](std::string_view text, inkpane::MessageBoxStyle,
                          std::string_view) { messages.emplace_back(text); },
        .doEvents = [] {},
    });
    inkpane::OffscreenTarget target(kSurfaceSide, kSurfaceSide, kGrey);
    inkpane::RenderPbmFile(input.path(), target);
  }

  CheckImageSlotClosed(input.path());
  if (messages.size() > 1) {
    std::string shown = std::to_string(messages.size()) + " message boxes for one file:";
    for (const std::string& text : messages) shown += "\n  " + text;
    Fail(shown);
  }
  return 0;
}
