// The registry behaviour against the real registry, under a key of the test's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "settings/registry.h"
#include "settings/registry_behaviour.h"

namespace quorvex {
namespace {

const wchar_t* Wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

class WindowsRegistryHarness : public RegistryHarness {
 public:
  WindowsRegistryHarness()
      : store_(MakeRegistry(u"")),
        testKey_(u"Software\\QuorvexTest\\" + FromAscii(std::to_string(std::random_device{}()))) {}
  ~WindowsRegistryHarness() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, Wide(testKey_));
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QuorvexTest");  // only goes once it is empty
  }

  Registry& Store() override { return *store_; }
  Text TestKey() const override { return testKey_; }
  void PlantText(const Text& subkey, const Text& name, uint32_t type, const Text& data) override {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Wide(subkey), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, Wide(name), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size() * sizeof(char16_t))),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

 private:
  std::unique_ptr<Registry> store_;
  Text testKey_;
};

std::unique_ptr<RegistryHarness> MakeWindowsRegistryHarness() { return std::make_unique<WindowsRegistryHarness>(); }

INSTANTIATE_TEST_SUITE_P(Win32, RegistryBehaviour, ::testing::Values(&MakeWindowsRegistryHarness));

// What the operations write is in HKEY_CURRENT_USER itself, with the types Windows reports.
TEST(Win32Registry, WritesLandUnderTheCurrentUserWithTheirTypes) {
  WindowsRegistryHarness harness;
  const Text key = harness.TestKey() + u"\\Run";
  harness.Store().SetRegString(kHkeyCurrentUser, key, u"Quorvex", u"\"C:\\Q\\Quorvex.exe\"");
  harness.Store().SetRegDword(kHkeyCurrentUser, key, u"SyncMode5", 3);

  wchar_t text[64] = {};
  DWORD type = 0, size = sizeof text;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, Wide(key), L"Quorvex", RRF_RT_ANY, &type, text, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::wstring(text), L"\"C:\\Q\\Quorvex.exe\"");
  EXPECT_EQ(size, sizeof(L"\"C:\\Q\\Quorvex.exe\"")) << "the terminating NUL is part of the data";

  DWORD number = 0;
  size = sizeof number;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, Wide(key), L"SyncMode5", RRF_RT_ANY, &type, &number, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(number, 3u);
}

}  // namespace
}  // namespace quorvex
