// The executable's resources as Windows reads them: the version, the icons, the manifest.
// The test program links the same resource script as quorvex.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace quorvex {
namespace {

std::vector<char> VersionBlock() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeW(path, &ignored));
  if (block.empty() || !GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data())) block.clear();
  return block;
}

std::wstring VersionString(std::vector<char>& block, const wchar_t* name) {
  wchar_t* value = nullptr;
  UINT length = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) return L"<none>";
  return value;
}

TEST(Resources, VersionReads1802InNumbersAndText) {
  std::vector<char> block = VersionBlock();
  ASSERT_FALSE(block.empty());
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(8, 1)));
  EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(2, 0)));
  EXPECT_EQ(fixed->dwProductVersionMS, static_cast<DWORD>(MAKELONG(8, 1)));
  EXPECT_EQ(fixed->dwProductVersionLS, static_cast<DWORD>(MAKELONG(2, 0)));
  EXPECT_EQ(VersionString(block, L"FileVersion"), L"1.8.0.2");
  EXPECT_EQ(VersionString(block, L"ProductVersion"), L"1.8.0.2");
  EXPECT_EQ(VersionString(block, L"ProductName"), L"Quorvex");
}

TEST(Resources, BothIconsHoldA32And16PixelImageIn16Colours) {
  for (int id : {QUORVEX_ICON_NORMAL, QUORVEX_ICON_ALERT}) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr) << id;
    const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    // GRPICONDIR: reserved, type, count; then 14-byte entries: width, height, colours, ...
    const WORD count = *reinterpret_cast<const WORD*>(group + 4);
    ASSERT_EQ(count, 2) << id;
    std::vector<int> sizes;
    for (int i = 0; i < count; ++i) {
      const BYTE* entry = group + 6 + 14 * i;
      sizes.push_back(entry[0]);
      EXPECT_EQ(entry[2], 16) << id;                                    // colours
      EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 4) << id;  // bits a pixel
    }
    EXPECT_EQ(sizes, (std::vector<int>{32, 16})) << id;
  }
}

TEST(Resources, TheManifestAsksForCommonControls6AndPerMonitorDpi) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(found, nullptr);
  const char* text = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
  const std::string manifest(text, SizeofResource(nullptr, found));
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2"),
            std::string::npos);
  EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);  // before Windows 10 1607
}

}  // namespace
}  // namespace quorvex
