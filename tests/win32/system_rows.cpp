#include "tests/system_rows.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/file_slots.h"
#include "platform/win32/wide_string.h"

namespace inkpane::testing {
namespace {

const std::string kSmallImage = "P1\n2 1\n1 0\n";

std::string PipeName(std::string_view what) {
  return "\\\\.\\pipe\\inkpane-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::string(what);
}

// The decode runs while a server waits on the pipe; opening the pipe would
// connect to that server, so it must find no client connected afterwards.
void WhileServed(const TempDir&, const std::string& path, const std::function<void()>& decode) {
  const HANDLE server = CreateNamedPipeW(Widen(path).c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_NOWAIT, 1, 4096,
                                         4096, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE) << "cannot serve " << path;
  decode();
  EXPECT_FALSE(ConnectNamedPipe(server, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_LISTENING)) << "a client connected to the pipe";
  CloseHandle(server);
}

// Another program writing the file allows others to read it, but not to
// write it: the file is read all the same.
void WhileHeldForWriting(const TempDir&, const std::string& path, const std::function<void()>& decode) {
  const HANDLE writer = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE) << "cannot hold " << path << " open for writing";
  decode();
  CloseHandle(writer);
}

// Without the \\?\ form, which the test itself uses to make them, Windows'
// calls stop at 260 characters. Wine's never do, so under Wine the row
// passes whether the program's paths take that form or not.
std::string LongPath(const TempDir& dir) {
  std::wstring path = L"\\\\?\\" + dir.path().wstring();
  for (int level = 0; level < 3; ++level) {
    path += L"\\" + std::wstring(100, static_cast<wchar_t>(L'a' + level));
    if (!CreateDirectoryW(path.c_str(), nullptr)) throw std::runtime_error("cannot make a long path");
  }
  path += L"\\image.pbm";
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const bool wrote = file != INVALID_HANDLE_VALUE &&
                     WriteFile(file, kSmallImage.data(), static_cast<DWORD>(kSmallImage.size()), &written, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!wrote) throw std::runtime_error("cannot write in a long path");
  return Narrow(std::wstring_view(path).substr(4));
}

}  // namespace

std::vector<NumberedError> SystemNumberedErrors(const TempDir&, int slot) {
  return {
      {"Win32Console", [=] { OpenForInput(slot, "CON"); }, ErrorNumber::PathFileAccessError},
      {"Win32PipeNobodyServes", [=] { OpenForInput(slot, PipeName("unserved")); }, ErrorNumber::PathFileAccessError},
  };
}

std::vector<BadInput> SystemBadInputs() {
  return {
      {"Win32Console", Named("CON"), {}, "", {NotRegular("a character device")}},
      {"Win32Nul", Named("NUL"), {}, "", {NotRegular("a character device")}},
      {"Win32SerialPort", Named("COM1"), {}, "", {NotRegular("a character device")}},
      {"Win32PipeNobodyServes", Named(PipeName("unserved")), {}, "", {NotRegular("a pipe")}},
      {.name = "Win32ServedPipe",
       .make = Named(PipeName("served")),
       .rows = {},
       .calls = "",
       .messages = {NotRegular("a pipe")},
       .around = WhileServed},
      {"Win32NonAsciiName",
       [](const TempDir& dir) { return dir.Write("Bücher/página.pbm", kSmallImage); },
       {"10"},
       "RE"},
      {"Win32PathLongerThan260UnlimitedUnderWine", LongPath, {"10"}, "RE"},
      {.name = "Win32HeldOpenForWriting",
       .make = Bytes(kSmallImage),
       .rows = {"10"},
       .calls = "RE",
       .around = WhileHeldForWriting},
  };
}

// Users of Windows know its own words for the failure, which Wine words its
// own way.
std::string MissingFileDescription(const std::string&) {
  const bool underWine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return underWine ? "File not found." : "The system cannot find the file specified.";
}

}  // namespace inkpane::testing
