// The iconNumber= line in the poll: which number the icon shows (the busiest server's players
// or the watched players online), on the normal and on the alert icon, and none before the
// first answered poll or without the line. How the number looks is DrawNumber's tests'.
#include "icon_number/icon_number_feature.h"

#include <gtest/gtest.h>

#include "support/form1_fakes.h"

namespace quorvex::testing {
namespace {

// An icon with a number is the designed one's handle times 1000 plus the number, which the
// rig's tray record shows.
struct FakeNumberedIcons final : NumberedIcons {
  NativeHandle WithNumber(NativeHandle designed, int number) override {
    ++calls;
    return designed * 1000 + static_cast<NativeHandle>(number);
  }
  int calls = 0;
};

constexpr NativeHandle Numbered(NativeHandle designed, int number) { return designed * 1000 + number; }

// Servers "S1".."Sn" with these players online.
std::vector<ServerRecord> Online(const std::vector<int16_t>& counts, const std::vector<Text>& names) {
  std::vector<ServerRecord> servers = WithPlayers(counts);
  for (size_t i = 0; i < servers.size() && i < names.size(); ++i) servers[i].player_names = names[i];
  return servers;
}

Form1& StartNumbered(Form1Rig& rig, FakeNumberedIcons& icons, const std::string& lines) {
  rig.makeFeatures = MakeFeaturesWith(&icons, nullptr);
  return rig.Start(SettingsFile(16, 20, 0, 0, 0) + lines, {}, false);
}

TEST(IconNumber, BusiestShowsThePlayersTheLimitComparesOnTheNormalAndTheAlertIcon) {
  Form1Rig rig;
  FakeNumberedIcons icons;
  Form1& form = StartNumbered(rig, icons, "iconNumber=busiest\r\n");
  EXPECT_EQ(rig.Icon(), Form1Rig::kNormalIcon);
  form.men_Click(2);  // the tooltip and icon set again before any poll: no number yet
  EXPECT_EQ(rig.Icon(), Form1Rig::kNormalIcon);
  EXPECT_EQ(icons.calls, 0);

  // The busiest server of the latest version; an older one with more players does not count.
  std::vector<ServerRecord> servers = Online({3, 5, 7}, {});
  servers[2].version = u"1.70";
  rig.Serve(servers);
  rig.Poll();
  EXPECT_EQ(rig.Icon(), Numbered(Form1Rig::kNormalIcon, 5));

  // The limit reached: the alert icon with the number (the balloon's and Timer2's re-add are
  // read back from quorvex-console's tray events end to end).
  rig.Serve(Online({120}, {}));
  rig.Poll();
  EXPECT_EQ(rig.Icon(), Numbered(Form1Rig::kAlertIcon, 120));
}

TEST(IconNumber, WatchedShowsTheWatchedPlayersOnlineOfThisPoll) {
  Form1Rig rig;
  FakeNumberedIcons icons;
  StartNumbered(rig, icons, "watch=ann\r\nwatch=b*\r\niconNumber=watched\r\n");
  // Ann on two servers counts once; Cy is watched by no pattern.
  rig.Serve(Online({20, 3}, {u"Ann, Cy, Bob", u"Ann, Bea"}));
  rig.Poll();
  EXPECT_EQ(rig.Icon(), Numbered(Form1Rig::kAlertIcon, 3)) << "limit 16 reached by 20";

  rig.nowMs = 20'000;
  rig.Serve(Online({1, 1}, {u"Cy", u"bo"}));
  rig.Poll();
  EXPECT_EQ(rig.Icon(), Numbered(Form1Rig::kNormalIcon, 1));

  // A failed list request is no reply: who was online stays.
  rig.replies.erase(Form1Rig::ListUrl(2));
  rig.Poll();
  EXPECT_EQ(rig.Icon(), Numbered(Form1Rig::kNormalIcon, 1));
}

TEST(IconNumber, WithoutTheLineOrAFrontEndThatDrawsNumbersTheIconStaysDesigned) {
  for (const std::string& lines : {std::string("watch=ann\r\n"), std::string("iconNumber=most\r\n")}) {
    Form1Rig rig;
    FakeNumberedIcons icons;
    StartNumbered(rig, icons, lines);
    rig.Serve(Online({20}, {u"ann"}));
    rig.Poll();
    EXPECT_EQ(rig.Icon(), Form1Rig::kAlertIcon) << lines;
    EXPECT_EQ(icons.calls, 0) << lines;
  }
  Form1Rig rig;  // the plain MakeFeatures: a front end without NumberedIcons
  rig.Start(SettingsFile(16, 20, 0, 0, 0) + "iconNumber=busiest\r\n", Online({20}, {}));
  EXPECT_EQ(rig.Icon(), Form1Rig::kAlertIcon);
}

// Only the watched number needs the players' names, which the reply's scan skips otherwise.
TEST(IconNumber, ReadsPlayerNamesOnlyForTheWatchedNumber) {
  struct IdleHost final : FeatureHost {
    void Join(const ServerRecord&) override {}
    int64_t NowMs() override { return 0; }
    int64_t WallClockMs() override { return 0; }
  } host;
  FakeNumberedIcons icons;
  EXPECT_FALSE(IconNumberFeature(IconNumber::kBusiest, {}, icons, host).ReadsPlayerNames());
  EXPECT_TRUE(IconNumberFeature(IconNumber::kWatched, {}, icons, host).ReadsPlayerNames());
}

}  // namespace
}  // namespace quorvex::testing
