#include "platform/win32/file_path.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace inkpane {
namespace {

TEST(FilePath, TellsDevicesLongNamesAndTheFormTheCallsTake) {
  const std::wstring longName(256, L'a');
  const struct {
    const char* name;
    std::wstring fullPath;
    std::optional<FileFailure> device;
    std::wstring apiPath;
    bool overlong;
  } cases[] = {
      {"a file on a drive", L"C:\\scans\\page.pbm", std::nullopt, L"\\\\?\\C:\\scans\\page.pbm", false},
      {"a file on a share", L"\\\\server\\scans\\page.pbm", std::nullopt, L"\\\\?\\UNC\\server\\scans\\page.pbm",
       false},
      {"already long-path form", L"\\\\?\\C:\\page.pbm", std::nullopt, L"\\\\?\\C:\\page.pbm", false},
      {"a port, in any case", L"\\\\.\\com3", FileFailure::CharacterDevice, L"\\\\.\\com3", false},
      {"another device", L"\\\\.\\PhysicalDrive0", FileFailure::SpecialFile, L"\\\\.\\PhysicalDrive0", false},
      {"a name of 256 characters", L"C:\\" + longName, std::nullopt, L"\\\\?\\C:\\" + longName, true},
      {"a name of 255 characters", L"C:\\" + longName.substr(1), std::nullopt, L"\\\\?\\C:\\" + longName.substr(1),
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DeviceKind(c.fullPath), c.device);
    EXPECT_EQ(ApiPath(c.fullPath), c.apiPath);
    EXPECT_EQ(HasOverlongComponent(c.fullPath), c.overlong);
  }
  EXPECT_EQ(FullPath(L"C:/scans/./old/../page.pbm"), std::wstring(L"C:\\scans\\page.pbm"));
  EXPECT_EQ(FullPath(L"C:\\scans\\NUL"), std::wstring(L"\\\\.\\NUL"));
}

}  // namespace
}  // namespace inkpane
