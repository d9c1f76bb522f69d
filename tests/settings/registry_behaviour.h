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

  Registry& Store() { return harness_->Store(); }
  // A path below the test key; `tail` starts with a backslash.
  Text Key(const Text& tail) const { return harness_->TestKey() + tail; }
  void PlantText(const Text& subkey, const Text& name, uint32_t type, const Text& data) {
    harness_->PlantText(subkey, name, type, data);
  }

  std::unique_ptr<RegistryHarness> harness_;
};

// The program's four uses, each under the test key instead of the real one.
TEST_P(RegistryBehaviour, TheCacheSettingIsWrittenAsADword) {
  const Text internetSettings = Key(u"\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\");
  Store().SetRegDword(kHkeyCurrentUser, internetSettings, u"SyncMode5", 3);
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, internetSettings, u"SyncMode5", -1), 3);
  Store().SetRegDword(kHkeyCurrentUser, internetSettings, u"SyncMode5", -2);
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, internetSettings, u"SyncMode5", 0), -2) << "all 32 bits kept";
}

TEST_P(RegistryBehaviour, TheGameProbeReadsInstalledWithTheDefaultZero) {
  const Text app = Key(u"\\Software\\Valve\\Steam\\Apps\\270150");
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, app, u"Installed", 0), 0) << "no key yet";
  Store().SetRegDword(kHkeyCurrentUser, app, u"Installed", 1);
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, app, u"Installed", 0), 1);
  Store().SetRegString(kHkeyCurrentUser, app, u"Installed", u"1");
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, app, u"Installed", 0), 0) << "a REG_SZ is not a dword";
}

TEST_P(RegistryBehaviour, TheSteamExecutableIsReadAsAString) {
  const Text steam = Key(u"\\Software\\Valve\\Steam\\");
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, steam, u"SteamExe", u""), u"");
  Store().SetRegString(kHkeyCurrentUser, steam, u"SteamExe", u"c:/program files (x86)/steam/steam.exe");
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, steam, u"SteamExe", u"none"),
            u"c:/program files (x86)/steam/steam.exe");
}

TEST_P(RegistryBehaviour, TheAutostartValueIsSetAndDeleted) {
  const Text run = Key(u"\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  const Text command = u"\"C:\\Program Files\\Quorvex\\Quorvex.exe\"";
  Store().SetRegString(kHkeyCurrentUser, run, u"Quorvex", command);
  Store().SetRegString(kHkeyCurrentUser, run, u"Other", u"kept");
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, run, u"Quorvex", u""), command);
  Store().DeleteRegValue(kHkeyCurrentUser, run, u"Quorvex");
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, run, u"Quorvex", u"gone"), u"gone");
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, run, u"Other", u""), u"kept") << "only the one value goes";
  Store().DeleteRegValue(kHkeyCurrentUser, run, u"Quorvex");  // a second time: nothing there, nothing happens
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, run, u"Other", u""), u"kept");
}

TEST_P(RegistryBehaviour, MissingKeysAndValuesGiveTheDefault) {
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, Key(u"\\No\\Such\\Key"), u"Name", u"def"), u"def");
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, Key(u"\\No\\Such\\Key"), u"Name", 42), 42);
  Store().SetRegDword(kHkeyCurrentUser, Key(u"\\Here"), u"Present", 1);
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, Key(u"\\Here"), u"Absent", u"def"), u"def");
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, Key(u"\\Here"), u"Absent", 42), 42);
}

TEST_P(RegistryBehaviour, DeletingWhatIsNotThereChangesNothing) {
  Store().DeleteRegValue(kHkeyCurrentUser, Key(u"\\No\\Such\\Key"), u"Name");
  Store().SetRegDword(kHkeyCurrentUser, Key(u"\\Here"), u"Present", 9);
  Store().DeleteRegValue(kHkeyCurrentUser, Key(u"\\Here"), u"Absent");
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, Key(u"\\Here"), u"Present", 0), 9);
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, Key(u"\\No\\Such\\Key"), u"Name", 5), 5);
}

TEST_P(RegistryBehaviour, WrongTypesGiveTheDefault) {
  const Text key = Key(u"\\Types");
  Store().SetRegDword(kHkeyCurrentUser, key, u"Number", 7);
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, key, u"Number", u"def"), u"def");
  PlantText(key, u"Expandable", kTestRegExpandSz, Text(u"%SystemRoot%\\x", 14) + u'\0');
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, key, u"Expandable", u"def"), u"def");
  PlantText(key, u"Binary", kTestRegBinary, u"ab");  // four bytes, but not a REG_DWORD
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, key, u"Binary", 5), 5);
  // A new write replaces the type too.
  Store().SetRegString(kHkeyCurrentUser, key, u"Number", u"now text");
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, key, u"Number", u"def"), u"now text");
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, key, u"Number", -1), -1);
}

TEST_P(RegistryBehaviour, StringsAreCutAtTheirFirstNul) {
  const Text key = Key(u"\\Strings");
  const Text withNul = Text(u"before") + u'\0' + u"after";
  Store().SetRegString(kHkeyCurrentUser, key, u"Written", withNul);
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, key, u"Written", u"def"), u"before");
  PlantText(key, u"Planted", kTestRegSz, withNul + u'\0');
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, key, u"Planted", u"def"), u"before");
  PlantText(key, u"Unterminated", kTestRegSz, u"whole");
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, key, u"Unterminated", u"def"), u"whole");
  PlantText(key, u"NulButNoEnd", kTestRegSz, Text(u"ab\0cd", 5));
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, key, u"NulButNoEnd", u"def"), u"ab");
}

TEST_P(RegistryBehaviour, AnEmptyStringIsEmptyNotTheDefault) {
  const Text key = Key(u"\\Strings");
  Store().SetRegString(kHkeyCurrentUser, key, u"Empty", u"");
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, key, u"Empty", u"def"), u"");
  PlantText(key, u"NoBytes", kTestRegSz, u"");
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, key, u"NoBytes", u"def"), u"");
}

TEST_P(RegistryBehaviour, WritingCreatesTheWholeMissingPath) {
  const Text deep = Key(u"\\One\\Two\\Three\\Four\\Five");
  Store().SetRegDword(kHkeyCurrentUser, deep, u"Deep", 5);
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, deep, u"Deep", 0), 5);
  Store().SetRegString(kHkeyCurrentUser, Key(u"\\A\\B\\C"), u"Deep", u"text");
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, Key(u"\\A\\B\\C"), u"Deep", u""), u"text");
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, Key(u"\\One\\Two"), u"Deep", -1), -1) << "not on a parent";
}

TEST_P(RegistryBehaviour, KeysAndNamesAreFoundAsWindowsFindsThem) {
  Store().SetRegDword(kHkeyCurrentUser, Key(u"\\Valve\\Steam\\"), u"SteamPid", 12);
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, Key(u"\\valve\\STEAM"), u"steampid", 0), 12);
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, Key(u"\\Valve\\\\Steam\\\\"), u"SteamPid", 0), 12);
  Store().SetRegDword(kHkeyCurrentUser, Key(u"\\VALVE\\steam"), u"STEAMPID", 13);
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, Key(u"\\Valve\\Steam\\"), u"SteamPid", 0), 13) << "one value";
  Store().DeleteRegValue(kHkeyCurrentUser, Key(u"\\valve\\steam"), u"steampid");
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, Key(u"\\Valve\\Steam\\"), u"SteamPid", 0), 0);
  Store().SetRegDword(kHkeyCurrentUser, u"\\" + Key(u"\\Leading"), u"Value", 1);
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, Key(u"\\Leading"), u"Value", 0), 0)
      << "a path starting with a backslash names no key";
}

TEST_P(RegistryBehaviour, NonAsciiNamesAndDataRoundTrip) {
  const Text key = Key(u"\\Spiele\\\u00c9t\u00e9 \u6e38\u620f \U0001F3AE");
  const Text data = u"C:\\\u00dcbung\\\u0418\u0433\u0440\u0430\\\U0001F3AE\r\n\ttab%41";
  Store().SetRegString(kHkeyCurrentUser, key, u"Pfad \u00e4\u00f6\u00fc", data);
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, key, u"Pfad \u00e4\u00f6\u00fc", u""), data);
  EXPECT_EQ(Store().GetRegString(kHkeyCurrentUser, Key(u"\\Spiele\\\u00e9T\u00c9 \u6e38\u620f \U0001F3AE"),
                                 u"PFAD \u00c4\u00d6\u00dc", u""),
            data)
      << "accented letters compare without case too";
}

TEST_P(RegistryBehaviour, ANulInsideAPathOrNameAddressesNothing) {
  const Text key = Key(u"\\Nul");
  Store().SetRegDword(kHkeyCurrentUser, key, u"Value", 1);
  const Text keyWithNul = key + u'\0' + u"\\Other";
  const Text nameWithNul = Text(u"Value") + u'\0' + u"x";
  Store().SetRegDword(kHkeyCurrentUser, keyWithNul, u"Value", 2);
  Store().SetRegDword(kHkeyCurrentUser, key, nameWithNul, 3);
  Store().SetRegString(kHkeyCurrentUser, key, nameWithNul, u"text");
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, key, u"Value", 0), 1) << "neither write reached Value";
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, keyWithNul, u"Value", 0), 0);
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, key, nameWithNul, 0), 0);
  Store().DeleteRegValue(kHkeyCurrentUser, key, nameWithNul);
  EXPECT_EQ(Store().GetRegDword(kHkeyCurrentUser, key, u"Value", 0), 1);
}

}  // namespace quorvex
