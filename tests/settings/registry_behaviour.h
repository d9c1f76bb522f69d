// What every Registry must do, run against each implementation.
//
// Include this in exactly one source of a test program and instantiate it there with
//   INSTANTIATE_TEST_SUITE_P(Name, RegistryBehaviour, ::testing::Values(&MakeMyHarness));
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "common/text.h"
#include "settings/registry.h"

namespace quorvex {

constexpr uint32_t kTestRegSz = 1;
constexpr uint32_t kTestRegExpandSz = 2;
constexpr uint32_t kTestRegBinary = 3;

// One registry under test, with a key of its own that is empty at the start and gone after.
class RegistryHarness {
 public:
  virtual ~RegistryHarness() = default;
  virtual Registry& Store() = 0;
  // Below HKEY_CURRENT_USER, without a trailing backslash.
  virtual Text TestKey() const = 0;
  // Stores `data` exactly as given (no NUL added) with any type, as RegSetValueExW can.
  virtual void PlantText(const Text& subkey, const Text& name, uint32_t type, const Text& data) = 0;
};

using HarnessFactory = std::unique_ptr<RegistryHarness> (*)();

class RegistryBehaviour : public ::testing::TestWithParam<HarnessFactory> {
 protected:
  void SetUp() override { harness_ = GetParam()(); }
  void TearDown() override { harness_.reset(); }

  // A path below the test key; `tail` starts with a backslash.
  Text Key(const Text& tail) const { return harness_->TestKey() + tail; }
  Text String(const Text& tail, const Text& name, const Text& def = u"def") {
    return harness_->Store().GetRegString(kHkeyCurrentUser, Key(tail), name, def);
  }
  int32_t Dword(const Text& tail, const Text& name, int32_t def = -5) {
    return harness_->Store().GetRegDword(kHkeyCurrentUser, Key(tail), name, def);
  }
  void SetString(const Text& tail, const Text& name, const Text& value) {
    harness_->Store().SetRegString(kHkeyCurrentUser, Key(tail), name, value);
  }
  void SetDword(const Text& tail, const Text& name, int32_t value) {
    harness_->Store().SetRegDword(kHkeyCurrentUser, Key(tail), name, value);
  }
  void Delete(const Text& tail, const Text& name) { harness_->Store().DeleteRegValue(kHkeyCurrentUser, Key(tail), name); }
  void Plant(const Text& tail, const Text& name, uint32_t type, const Text& data) {
    harness_->PlantText(Key(tail), name, type, data);
  }

  std::unique_ptr<RegistryHarness> harness_;
};

TEST_P(RegistryBehaviour, ValuesAreWrittenReadAndDeletedOneByOne) {
  EXPECT_EQ(Dword(u"\\No\\Such\\Key", u"Installed", 0), 0);
  EXPECT_EQ(String(u"\\No\\Such\\Key", u"SteamExe"), u"def");
  Delete(u"\\No\\Such\\Key", u"Name");  // nothing there, nothing happens
  SetDword(u"\\Internet Settings\\", u"SyncMode5", -2);
  EXPECT_EQ(Dword(u"\\Internet Settings\\", u"SyncMode5"), -2) << "all 32 bits kept";
  SetString(u"\\Run", u"Quorvex", u"\"C:\\Program Files\\Quorvex\\Quorvex.exe\"");
  SetString(u"\\Run", u"Other", u"");
  EXPECT_EQ(String(u"\\Run", u"Quorvex"), u"\"C:\\Program Files\\Quorvex\\Quorvex.exe\"");
  EXPECT_EQ(String(u"\\Run", u"Other"), u"") << "empty, not the default";
  EXPECT_EQ(String(u"\\Run", u"Absent"), u"def");
  Delete(u"\\Run", u"Quorvex");
  Delete(u"\\Run", u"Absent");
  EXPECT_EQ(String(u"\\Run", u"Quorvex"), u"def");
  EXPECT_EQ(String(u"\\Run", u"Other", u"x"), u"") << "only the one value goes";
  SetDword(u"\\Run", u"A", 1);  // names that differ in a capital are two values
  SetDword(u"\\Run", u"B", 2);
  EXPECT_EQ(Dword(u"\\Run", u"A"), 1);
}

TEST_P(RegistryBehaviour, AValueOfAnotherTypeGivesTheDefaultAndAStringEndsAtItsFirstNul) {
  SetDword(u"\\Types", u"Number", 7);
  EXPECT_EQ(String(u"\\Types", u"Number"), u"def");
  SetString(u"\\Types", u"Installed", u"1");
  EXPECT_EQ(Dword(u"\\Types", u"Installed"), -5) << "a REG_SZ is not a dword";
  Plant(u"\\Types", u"Expandable", kTestRegExpandSz, Text(u"%SystemRoot%\\x", 14) + u'\0');
  EXPECT_EQ(String(u"\\Types", u"Expandable"), u"def");
  Plant(u"\\Types", u"Binary", kTestRegBinary, u"ab");  // four bytes, but not a REG_DWORD
  EXPECT_EQ(Dword(u"\\Types", u"Binary"), -5);
  SetString(u"\\Types", u"Number", u"now text");  // a new write replaces the type too
  EXPECT_EQ(String(u"\\Types", u"Number"), u"now text");
  EXPECT_EQ(Dword(u"\\Types", u"Number"), -5);

  const Text withNul = Text(u"before") + u'\0' + u"after";
  SetString(u"\\Strings", u"Written", withNul);
  Plant(u"\\Strings", u"Planted", kTestRegSz, withNul + u'\0');
  Plant(u"\\Strings", u"Unterminated", kTestRegSz, u"whole");
  Plant(u"\\Strings", u"NoBytes", kTestRegSz, u"");
  EXPECT_EQ(String(u"\\Strings", u"Written"), u"before");
  EXPECT_EQ(String(u"\\Strings", u"Planted"), u"before");
  EXPECT_EQ(String(u"\\Strings", u"Unterminated"), u"whole");
  EXPECT_EQ(String(u"\\Strings", u"NoBytes"), u"");
}

TEST_P(RegistryBehaviour, KeysAreCreatedAndFoundAsWindowsFindsThem) {
  SetDword(u"\\One\\Two\\Three\\Four", u"Deep", 5);
  EXPECT_EQ(Dword(u"\\One\\Two\\Three\\Four", u"Deep"), 5);
  EXPECT_EQ(Dword(u"\\One\\Two", u"Deep"), -5) << "not on a parent";
  SetDword(u"\\Valve\\Steam\\", u"SteamPid", 12);
  EXPECT_EQ(Dword(u"\\valve\\STEAM", u"steampid"), 12);
  EXPECT_EQ(Dword(u"\\Valve\\\\Steam\\\\", u"SteamPid"), 12);
  SetDword(u"\\VALVE\\steam", u"STEAMPID", 13);
  EXPECT_EQ(Dword(u"\\Valve\\Steam", u"SteamPid"), 13) << "one value";
  harness_->Store().SetRegDword(kHkeyCurrentUser, u"\\" + Key(u"\\Leading"), u"Value", 1);
  EXPECT_EQ(Dword(u"\\Leading", u"Value"), -5) << "a path starting with a backslash names no key";

  const Text data = u"C:\\\u00dcbung\\\u0418\u0433\u0440\u0430\\\U0001F3AE\r\n\ttab%41";
  SetString(u"\\Spiele\\\u00c9t\u00e9 \u6e38\u620f \U0001F3AE", u"Pfad \u00e4\u00f6\u00fc\u00fe", data);
  EXPECT_EQ(String(u"\\Spiele\\\u00e9T\u00c9 \u6e38\u620f \U0001F3AE", u"PFAD \u00c4\u00d6\u00dc\u00de"), data)
      << "accented letters compare without case too";
}

TEST_P(RegistryBehaviour, ANulInsideAPathOrNameAddressesNothing) {
  SetDword(u"\\Nul", u"Value", 1);
  const Text nameWithNul = Text(u"Value") + u'\0' + u"x";
  SetDword(Text(u"\\Nul") + u'\0' + u"\\Other", u"Value", 2);
  SetDword(u"\\Nul", nameWithNul, 3);
  SetString(u"\\Nul", nameWithNul, u"text");
  Delete(u"\\Nul", nameWithNul);
  EXPECT_EQ(Dword(u"\\Nul", u"Value"), 1) << "no write reached Value";
  EXPECT_EQ(Dword(Text(u"\\Nul") + u'\0' + u"\\Other", u"Value"), -5);
  EXPECT_EQ(Dword(u"\\Nul", nameWithNul), -5);
}

}  // namespace quorvex
