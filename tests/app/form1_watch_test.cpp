// The player watch in the poll: the watch= lines read at start-up, the news of each reply
// on the rig's clock, the balloon over the icon as the poll left it, and its wait behind the
// player-limit balloon. Who counts as online or moved is the watch's own tests'.
#include <gtest/gtest.h>

#include "support/form1_fakes.h"

namespace quorvex::testing {
namespace {

// Servers "S1" and "S2" with these players online; S1 counts `s1Players`.
std::vector<ServerRecord> Online(const Text& s1Names, int16_t s1Players, const Text& s2Names) {
  std::vector<ServerRecord> servers = WithPlayers({s1Players, 1});
  servers[0].player_names = s1Names;
  servers[1].player_names = s2Names;
  return servers;
}

struct WatchPoll {
  int64_t nowMs;
  std::vector<ServerRecord> servers;
  bool listFails;  // the count request alone succeeds
  bool limitBalloon;
  std::vector<Text> news;  // the watch balloon's lines; none: no watch balloon
};

// Limit 16; "Cy" is watched by no pattern. Bea comes, Ann moves and S1 reaches its alert= rule
// while the limit balloon holds the screen: their news waits through it and through a failed
// poll, the server's line after them. Bob back within five minutes is not told; after five
// minutes without a reply holding them, Ann and Bob are online news again.
TEST(Form1Watch, TheNewsOfEachReplyInABalloonOverTheIconAsThePollLeftIt) {
  const WatchPoll polls[] = {
      {0, Online(u"Ann, Cy", 2, u"Bob"), false, false, {u"Ann on S1", u"Bob on S2"}},
      {20'000, Online(u"Cy, Bea", 20, u"Bob, Ann"), false, true, {}},
      {40'000, Online(u"Cy", 20, u"Dan"), true, false, {}},
      {60'000, Online(u"Cy", 20, u"Ann, Bea"), false, false, {u"Bea moved to S2", u"Ann moved to S2", u"S1 has 20 players"}},
      {80'000, Online(u"Cy", 2, u"Ann, Bob, Bea"), false, false, {}},
      {380'001, Online(u"", 2, u"Ann, Bob"), false, false, {u"Ann on S2", u"Bob on S2"}},
  };
  for (const auto& [sound, lineBreak] : {std::pair<bool, Text>{true, u"\r\n"}, {false, u"\n"}}) {
    Form1Rig rig;
    rig.config.lineBreak = lineBreak;
    rig.Start(SettingsFile(16, 20, sound, 1, 0) + "watch= ANN \r\n# friends\r\nwatch=b*\r\nwatch=d?n\r\nalert=5 s1\r\n", {}, false);
    for (const WatchPoll& poll : polls) {
      SCOPED_TRACE(std::to_string(poll.nowMs) + (sound ? " sound" : ""));
      rig.nowMs = poll.nowMs;
      rig.Serve(poll.servers);
      if (poll.listFails) rig.replies.erase(Form1Rig::ListUrl(2));
      const TrayIconData before = rig.Form().Tray().Data();
      rig.log.clear();
      rig.Poll();
      const std::string tip = " " + ToUtf8(rig.Tip());
      Log tray = poll.limitBalloon ? Log{"delete " + ToUtf8(before.szTip), "balloon ", "modify" + tip} : Log{"modify" + tip};
      if (!poll.news.empty()) tray.push_back("balloon-only" + tip);
      EXPECT_EQ(rig.Entries("tray "), tray);
      const size_t balloons = poll.limitBalloon + !poll.news.empty();
      EXPECT_EQ(rig.Entries("sound "), Log(sound ? balloons : 0, "bing.wav"));
      if (poll.news.empty()) continue;
      Text text = poll.news[0];
      for (size_t i = 1; i < poll.news.size(); ++i) text += lineBreak + poll.news[i];
      TrayIconData summary = rig.trayData[rig.trayData.size() - 2];  // the icon and tooltip the poll left
      summary.szInfo = text;
      summary.szInfoTitle = u"Quorvex";
      summary.dwInfoFlags = 1;
      EXPECT_EQ(rig.Form().Tray().Data(), summary);  // a balloon shown again with a restored icon is no news
      summary.uFlags = kNifInfo;
      EXPECT_EQ(rig.trayData.back(), summary);
    }
  }
}

// The lines of the Players submenu (every caption in order, "-" for a hidden one), then its note.
std::vector<std::string> PlayerLines(const MenuTree& menu) {
  std::vector<std::string> lines;
  for (const MenuItem& item : menu.Item("menOnline").children)
    if (item.visible) lines.push_back(ToUtf8(item.caption) + (item.enabled ? "" : " (disabled)"));
  return lines;
}

// Only watch= lines bring the Players submenu. It lists the watched names of the latest
// answered poll sorted by folded name; a failed poll keeps them. A line joins the server the
// popup showed it on, even once the list has dropped that server.
TEST(Form1Watch, ThePlayersSubmenuListsWhoIsOnlineAndALineJoinsTheirServer) {
  Form1Rig rules;
  rules.Start(SettingsFile(64, 20, 0, 0, 0) + "alert=1 *\r\n", WithPlayers({1}));
  EXPECT_FALSE(rules.Form().Menu().Has("menOnline"));

  Form1Rig rig;
  rig.steamWindow = true;
  rig.values = {{kInstalledValue, int32_t{1}}, {kSteamExeValue, Text(u"steam.exe")}};
  std::vector<ServerRecord> servers = WithPlayers({3, 1, 1});
  servers[0].player_names = u"Ann, Cy, bo";
  servers[1].player_names = u"Al&amp;x_y";
  servers[2].player_names = u"Bea";
  servers[2].name = Text(45, u'L');
  servers[2].port = 40003;
  rig.Start(SettingsFile(64, 20, 0, 0, 0) + "watch=a*\r\nwatch=b?\r\nwatch=bea\r\nwatch=b??\r\n", servers, false);
  EXPECT_EQ(PlayerLines(rig.Form().Menu()), std::vector<std::string>{"nobody watched is online (disabled)"});
  EXPECT_EQ(rig.Form().Menu().Item("menOnline").caption, u"Players (0)");
  RunHandler([&] { rig.Form().Timer3_Timer(); });
  const std::vector<std::string> four = {"Al&x_y    S2", "Ann    S1", "Bea    " + std::string(40, 'L'), "bo    S1"};
  EXPECT_EQ(PlayerLines(rig.Form().Menu()), four);
  EXPECT_EQ(rig.Form().Menu().Item("menOnline").caption, u"Players (4)");
  const PopupSnapshot popup = rig.Form().Snapshot();

  rig.Serve({servers[1]});
  rig.replies.erase(Form1Rig::ListUrl(1));
  rig.Poll();
  EXPECT_EQ(PlayerLines(rig.Form().Menu()), four);
  rig.Serve(WithPlayers({1}));
  rig.Poll();
  EXPECT_EQ(PlayerLines(rig.Form().Menu()), std::vector<std::string>{"nobody watched is online (disabled)"});

  rig.log.clear();
  for (int line : {2, 3, 4, 5, 0, -1}) rig.Form().Click("menOnlinePlayer", line, popup);
  rig.Form().Click("menOnlineNote", -1, popup);
  rig.Form().Click("menOnlinePlayer", 1, rig.Form().Snapshot());  // nobody is on it now
  const std::string s1 = "\"steam.exe\" -applaunch 270150  server_address=127.0.0.1 server_port=27015";
  EXPECT_EQ(rig.Entries("start "),
            (Log{s1, "\"steam.exe\" -applaunch 270150  server_address=127.0.0.3 server_port=40003", s1}));
  EXPECT_EQ(rig.Entries("msgbox "), Log{});

  // 34 online: 32 lines, each of which joins, and a note for the two past them.
  std::vector<ServerRecord> crowded = WithPlayers({34});
  for (int i = 10; i < 44; ++i) crowded[0].player_names += u"b" + FormatPlain(i) + u",";
  rig.Serve(crowded);
  rig.Poll();
  const std::vector<std::string> lines = PlayerLines(rig.Form().Menu());
  EXPECT_EQ(lines.size(), 33u);
  EXPECT_EQ(lines.back(), "and 2 more (disabled)");
  rig.log.clear();
  for (int line : {32, 33}) rig.Form().Click("menOnlinePlayer", line, rig.Form().Snapshot());
  EXPECT_EQ(rig.Entries("start "), Log{s1});
}

}  // namespace
}  // namespace quorvex::testing
