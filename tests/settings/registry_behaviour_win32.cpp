// The registry behaviour against the real registry, under a key of the test's own. (wine-e2e
// reads the Run value the program wrote with Wine's own reg tool.)
#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/wide_win32.h"
#include "settings/registry.h"
#include "settings/registry_behaviour.h"

namespace quorvex {
namespace {

class WindowsRegistryHarness : public RegistryHarness {
 public:
  WindowsRegistryHarness()
      : store_(MakeRegistry(u"")),
        testKey_(u"Software\\QuorvexTest\\" + FromAscii(std::to_string(std::random_device{}()))) {}
  ~WindowsRegistryHarness() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, Wide(testKey_).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QuorvexTest");  // only goes once it is empty
  }

  Registry& Store() override { return *store_; }
  Text TestKey() const override { return testKey_; }
  void PlantText(const Text& subkey, const Text& name, uint32_t type, const Text& data) override {
    EXPECT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Wide(subkey).c_str(), Wide(name).c_str(), type, data.data(),
                              static_cast<DWORD>(data.size() * sizeof(char16_t))),
              ERROR_SUCCESS);
  }

 private:
  std::unique_ptr<Registry> store_;
  Text testKey_;
};

std::unique_ptr<RegistryHarness> MakeWindowsRegistryHarness() { return std::make_unique<WindowsRegistryHarness>(); }

INSTANTIATE_TEST_SUITE_P(Win32, RegistryBehaviour, ::testing::Values(&MakeWindowsRegistryHarness));

}  // namespace
}  // namespace quorvex
