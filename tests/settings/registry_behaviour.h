// What every Registry must do, run against each implementation. Include this in exactly one
// source of a test program and instantiate it there with
//   INSTANTIATE_TEST_SUITE_P(Name, RegistryBehaviour, ::testing::Values(&MakeMyHarness));
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "common/text.h"
#include "settings/registry.h"

namespace quorvex {

constexpr uint32_t kTestRegSz = 1, kTestRegExpandSz = 2, kTestRegBinary = 3;

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

// Every path is below the test key; `tail` starts with a backslash. Reads default to "def" and -5.
class RegistryBehaviour : public ::testing::TestWithParam<HarnessFactory> {
 protected:
  static constexpr uint32_t kUser = kHkeyCurrentUser;
  Registry& Store() { return harness_->Store(); }
  Text Key(const Text& tail) const { return harness_->TestKey() + tail; }
  Text String(const Text& tail, const Text& name) { return Store().GetRegString(kUser, Key(tail), name, u"def"); }
  int32_t Dword(const Text& tail, const Text& name) { return Store().GetRegDword(kUser, Key(tail), name, -5); }
  void Set(const Text& tail, const Text& name, const Text& text) { Store().SetRegString(kUser, Key(tail), name, text); }
  void Set(const Text& tail, const Text& name, int32_t value) { Store().SetRegDword(kUser, Key(tail), name, value); }
  void Delete(const Text& tail, const Text& name) { Store().DeleteRegValue(kUser, Key(tail), name); }

  std::unique_ptr<RegistryHarness> harness_ = GetParam()();
};

TEST_P(RegistryBehaviour, ValuesAreWrittenReadAndDeletedOneByOneEachOfItsType) {
  EXPECT_EQ(Dword(u"\\No\\Such\\Key", u"Installed"), -5);
  EXPECT_EQ(String(u"\\No\\Such\\Key", u"SteamExe"), u"def");
  Set(u"\\Internet Settings", u"SyncMode5", -2);
  EXPECT_EQ(Dword(u"\\Internet Settings", u"SyncMode5"), -2) << "all 32 bits kept";
  Set(u"\\Run", u"Quorvex", u"\"C:\\Program Files\\Quorvex\\Quorvex.exe\"");
  Set(u"\\Run", u"Other", Text());
  EXPECT_EQ(String(u"\\Run", u"Quorvex"), u"\"C:\\Program Files\\Quorvex\\Quorvex.exe\"");
  Delete(u"\\Run", u"Quorvex");
  EXPECT_EQ(String(u"\\Run", u"Quorvex"), u"def");
  EXPECT_EQ(String(u"\\Run", u"Other"), u"") << "only the one value goes, and empty is no default";

  // A value of another type gives the default; a string ends at its first NUL.
  Set(u"\\Types", u"Number", 7);
  Set(u"\\Types", u"Installed", u"1");
  harness_->PlantText(Key(u"\\Types"), u"Expandable", kTestRegExpandSz, Text(u"%SystemRoot%\\x") + u'\0');
  harness_->PlantText(Key(u"\\Types"), u"Binary", kTestRegBinary, u"ab");  // four bytes, but no REG_DWORD
  EXPECT_EQ(String(u"\\Types", u"Number"), u"def");
  EXPECT_EQ(Dword(u"\\Types", u"Installed"), -5);
  EXPECT_EQ(String(u"\\Types", u"Expandable"), u"def");
  EXPECT_EQ(Dword(u"\\Types", u"Binary"), -5);
  Set(u"\\Types", u"Number", u"now text");  // a new write replaces the type too
  EXPECT_EQ(String(u"\\Types", u"Number"), u"now text");
  EXPECT_EQ(Dword(u"\\Types", u"Number"), -5);

  const Text withNul = Text(u"before") + u'\0' + u"after";
  Set(u"\\Strings", u"Written", withNul);
  harness_->PlantText(Key(u"\\Strings"), u"Planted", kTestRegSz, withNul + u'\0');
  harness_->PlantText(Key(u"\\Strings"), u"Unterminated", kTestRegSz, u"whole");
  harness_->PlantText(Key(u"\\Strings"), u"NoBytes", kTestRegSz, u"");
  for (const auto& [name, read] : {std::pair<Text, Text>{u"Written", u"before"}, {u"Planted", u"before"},
                                   {u"Unterminated", u"whole"}, {u"NoBytes", u""}})
    EXPECT_EQ(String(u"\\Strings", name), read) << ToUtf8(name);
}

TEST_P(RegistryBehaviour, KeysAndNamesAreFoundAsWindowsFindsThem) {
  Set(u"\\One\\Two\\Three", u"Deep", 5);
  EXPECT_EQ(Dword(u"\\One\\Two\\Three", u"Deep"), 5);
  EXPECT_EQ(Dword(u"\\One\\Two", u"Deep"), -5) << "not on a parent";
  Set(u"\\Valve\\Steam\\", u"SteamPid", 12);
  EXPECT_EQ(Dword(u"\\valve\\\\STEAM", u"steampid"), 12);
  Set(u"\\VALVE\\steam", u"STEAMPID", 13);
  EXPECT_EQ(Dword(u"\\Valve\\Steam", u"SteamPid"), 13) << "one value";
  Store().SetRegDword(kUser, u"\\" + Key(u"\\Leading"), u"Value", 1);
  EXPECT_EQ(Dword(u"\\Leading", u"Value"), -5) << "a path starting with a backslash names no key";

  const Text data = u"C:\\\u00dcbung\\\u0418\u0433\u0440\u0430\\\U0001F3AE\r\n\ttab%41";
  Set(u"\\Spiele\\\u00c9t\u00e9 \u6e38\u620f \U0001F3AE", u"Pfad \u00e4\u00f6\u00fc\u00fe", data);
  EXPECT_EQ(String(u"\\Spiele\\\u00e9T\u00c9 \u6e38\u620f \U0001F3AE", u"PFAD \u00c4\u00d6\u00dc\u00de"), data)
      << "accented letters compare without case too";

  // The Windows functions stop at a NUL: a NUL inside a path or a name addresses nothing.
  const Text nameWithNul = Text(u"Value") + u'\0' + u"x", keyWithNul = Text(u"\\Nul") + u'\0' + u"\\Other";
  Set(u"\\Nul", u"Value", 1);
  Set(keyWithNul, u"Value", 2);
  Set(u"\\Nul", nameWithNul, 3);
  Set(u"\\Nul", nameWithNul, u"text");
  Delete(u"\\Nul", nameWithNul);
  EXPECT_EQ(Dword(u"\\Nul", u"Value"), 1) << "no write reached Value";
  EXPECT_EQ(Dword(keyWithNul, u"Value"), -5);
  EXPECT_EQ(Dword(u"\\Nul", nameWithNul), -5);
}

}  // namespace quorvex
