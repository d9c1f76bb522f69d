// The settings as the menu offers them, and the addresses Quorvex.ini may choose.
#include "settings/settings_rules.h"

#include <gtest/gtest.h>

#include "common/host_rules.h"

namespace quorvex {
namespace {

TEST(NormaliseSettings, OffersOnlyTheMenusValues) {
  struct Case {
    int32_t checkTime, wantCheckTime;
    int16_t sort, wantSort;
    int16_t storedLimit, wantIndex;
  };
  for (const Case& c : {Case{9, 10, -1, 5, 3, 1}, Case{10, 10, 0, 0, 4, 1}, Case{11, 20, 5, 5, 7, 1},
                        Case{39, 20, 6, 5, 8, 2}, Case{40, 40, 3, 3, 63, 4}, Case{41, 40, 32767, 5, 64, 5},
                        Case{-5, 10, -32768, 5, 32767, 5}, Case{20, 20, 1, 1, -8, 1}}) {
    Settings settings;
    settings.checkTime = c.checkTime;
    settings.sort = c.sort;
    settings.minPlayers = c.storedLimit;
    NormaliseSettings(settings);
    EXPECT_EQ(settings.checkTime, c.wantCheckTime) << c.checkTime;
    EXPECT_EQ(settings.sort, c.wantSort) << c.sort;
    EXPECT_EQ(settings.minPlayers, c.wantIndex) << c.storedLimit;
    // The index is the inverse of the limit for every offered limit.
    EXPECT_EQ(PlayerLimitIndex(static_cast<int16_t>(PlayerLimit(settings.minPlayers))), settings.minPlayers);
  }
}

TEST(TakeAddressFromSettings, TakesAGoodLineReportsABadOneAndYieldsToTheCommandLine) {
  struct Case {
    std::optional<Text> line;
    bool given;
    Text want;
    std::string report;
  };
  const Text built = u"127.0.0.1:28780";
  for (const Case& c : {Case{std::nullopt, false, built, ""}, Case{u"10.1.2.3:8080", false, u"10.1.2.3:8080", ""},
                        Case{u"10.1.2.3:8080", true, built, ""}, Case{u"a..b", true, built, ""},
                        Case{u"a..b", false, built,
                             "Quorvex.ini line \"master=a..b\" is not a host with an optional port; using " +
                                 ToUtf8(built)}}) {
    Text address = built;
    EXPECT_EQ(TakeAddressFromSettings("master", c.line, IsHostWithOptionalPort, "a host with an optional port",
                                      c.given, address),
              c.report);
    EXPECT_EQ(address, c.want);
  }
}

}  // namespace
}  // namespace quorvex
