// The registry behaviour against the real registry, under a key of the test's own. (wine-e2e
// reads the Run value the program wrote with Wine's own reg tool.)
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
    EXPECT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Wide(subkey), Wide(name), type, data.data(),
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
