#include <pbm.h>

#include <csetjmp>
#include <cstdio>
#include <string>

#include "bench/readers.h"

namespace inkpane::bench {
namespace {

// One file as netpbm reads it. The file and the row are volatile because
// netpbm leaves a failed read by long jump, and they must hold their last
// values afterwards to be freed.
struct NetpbmFile {
  std::FILE* volatile file = nullptr;
  bit* volatile row = nullptr;
  int width = 0;
  int height = 0;
  int format = 0;
};

std::string& LastNetpbmMessage() {
  static std::string message;
  return message;
}

void KeepNetpbmMessage(const char* message) { LastNetpbmMessage() = message; }

void InitializeNetpbm() {
  static const bool initialized = [] {
    pm_init("inkpane-bench", 0);
    pm_setusererrormsgfn(KeepNetpbmMessage);
    return true;
  }();
  static_cast<void>(initialized);
}

void OpenAndReadHeader(const std::string& path, NetpbmFile& pbm) {
  pbm.file = pm_openr(path.c_str());
  pbm_readpbminit(pbm.file, &pbm.width, &pbm.height, &pbm.format);
}

// The unpacked row read, one byte per pixel, because it yields a value per
// pixel as Inkpane, Qt's RGB32 conversion and ImageMagick's export do. The
// packed read of a raw file is one block read per row, which the floor
// already stands for.
void ReadEveryRow(const std::string& path, NetpbmFile& pbm) {
  OpenAndReadHeader(path, pbm);
  pbm.row = pbm_allocrow(static_cast<unsigned int>(pbm.width));
  for (int y = 0; y < pbm.height; ++y) pbm_readpbmrow(pbm.file, pbm.row, pbm.width, pbm.format);
}

// Runs `steps`, then frees what they left open. netpbm reports a bad file
// through pm_error, which would end the process; with a jump buffer set it
// jumps back here instead, and the refusal becomes a ReadError. Nothing in
// this frame needs a destructor, since a long jump would skip it.
void RunNetpbm(void (*steps)(const std::string&, NetpbmFile&), const std::string& path, NetpbmFile& pbm) {
  InitializeNetpbm();
  std::jmp_buf jump;
  bool refused = false;
  if (setjmp(jump) == 0) {
    pm_setjmpbuf(&jump);
    steps(path, pbm);
  } else {
    refused = true;
  }
  pm_setjmpbuf(nullptr);
  if (pbm.row != nullptr) pbm_freerow(pbm.row);
  if (pbm.file != nullptr) std::fclose(pbm.file);
  if (refused) throw ReadError(LastNetpbmMessage());
}

}  // namespace

TimedRead PrepareNetpbmRows(const InputFile& file) {
  return [path = file.path] {
    NetpbmFile pbm;
    RunNetpbm(ReadEveryRow, path, pbm);
  };
}

InputFile DescribeWithNetpbm(const std::string& path) {
  NetpbmFile pbm;
  RunNetpbm(OpenAndReadHeader, path, pbm);
  return {.path = path, .width = pbm.width, .height = pbm.height};
}

}  // namespace inkpane::bench
