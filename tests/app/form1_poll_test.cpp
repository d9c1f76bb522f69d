// The poll cycle: the two requests, the totals and the busiest up-to-date server, the pings,
// the tooltip, the player-limit alert and its latch, what a failure keeps, and events run
// inside the poll's network waits.
#include <gtest/gtest.h>

#include "support/form1_fakes.h"
#include "tray/tooltip_text.h"

namespace quorvex::testing {
namespace {

// Timer1 asks for the count and opens the list that Timer3 reads. Each ping goes to the server
// it was sent to; an answer that is no number, a server the echo gave no result, a failed list
// or count and no network at all keep what there was (records are never cleared).
TEST(Form1Poll, EachStepOfAPollAndWhatAFailureKeeps) {
  Form1Rig rig;
  std::vector<ServerRecord> servers = WithPlayers({2, 6, 10, 1});
  servers[0].watchers = 7;
  rig.answers = {{u"127.0.0.1", u" 23"}, {u"127.0.0.2", u"999"}, {u"127.0.0.3", u" 0"}};
  Form1& form = rig.Start("", servers);
  rig.log.clear();
  rig.Poll();
  const std::string count = ToUtf8(Form1Rig::kCountUrl), list = ToUtf8(Form1Rig::ListUrl(4));
  const Text tip = rig.Tip();
  EXPECT_EQ(rig.log, (Log{"timer Timer1 off 19750", "http open " + count, "http send " + count, "http open " + list,
                          "timer Timer3 on 250", "timer Timer3 off 250", "http send " + list,
                          "tray modify " + ToUtf8(tip), "timer Timer1 on 19750"}));
  auto pings = [&] {  // by name: slot n holds Sn
    std::vector<int16_t> pings;
    for (int slot = 1; slot <= 4; ++slot) pings.push_back(form.Servers().at(slot).ping);
    return pings;
  };
  EXPECT_EQ(pings(), (std::vector<int16_t>{23, 999, 0, 20}));
  rig.answers = {{u"127.0.0.1", u"fast"}, {u"127.0.0.4", u" 44"}};
  rig.resultsKept = 3;
  rig.Poll();
  EXPECT_EQ(pings(), (std::vector<int16_t>{23, 20, 20, 20}));
  rig.replies[Form1Rig::kCountUrl] = u"<servers>many</servers>";
  rig.replies.erase(Form1Rig::ListUrl(4));
  rig.Poll();
  rig.replies.clear();
  rig.Poll();
  EXPECT_EQ(rig.Entries("http open ").back(), list);
  EXPECT_EQ(rig.Tip(), tip);
  EXPECT_TRUE(rig.TimerOn(TimerId::Timer1));
  rig.Serve({});
  rig.Poll();
  EXPECT_EQ(rig.Tip(), CutUnits(SummaryText({0, 0, 0, 4, 7}, 2), 127));
}

TEST(Form1Poll, TheTooltipSummarisesTheListedUpToDateServers) {
  std::vector<ServerRecord> twenty = WithPlayers(std::vector<int16_t>(20, 1));
  for (size_t i = 16; i < 20; ++i) twenty[i].current_players = 100;  // counted, but not read
  std::vector<ServerRecord> ten = WithPlayers({12, 10, 5, 3, 2, 1, 1, 0, 0, 0});
  ten[0].watchers = 3;  // the watchers of the first record
  ten[1].watchers = 9;
  std::vector<ServerRecord> versions = WithPlayers({20, 30, 40, 50});
  for (const auto& [i, version] : {std::pair<size_t, Text>{0, u"1.10"}, {1, u"1.9"}, {2, u"1.09"}, {3, u"1.1"}})
    versions[i].version = version;
  const std::tuple<std::vector<ServerRecord>, Text, PollFigures> cases[] = {
      {ten, u"1.80", {12, 34, 10, 64, 3}},       {{}, u"1.80", {0, 0, 0, 64, 0}},
      {twenty, u"1.80", {1, 16, 20, 64, 0}},     {versions, u"", {50, 140, 4, 64, 0}},
      {versions, u"1.10", {30, 140, 4, 64, 0}},  // versions compare as text
      {WithPlayers({30000, 2000, 1000, 500}), u"1.80", {30000, 32500, 4, 64, 0}}};  // a sum past 16 bits is skipped
  for (const auto& [servers, latest, figures] : cases) {
    Form1Rig rig;
    rig.Start(SettingsFile(64, 20, 1, 1, 0), servers, true, latest);
    EXPECT_EQ(rig.Tip(), CutUnits(SummaryText(figures, 2), 127)) << ToUtf8(latest) << " " << servers.size();
    EXPECT_EQ(rig.Icon(), figures.maxPlayers >= 64 ? Form1Rig::kAlertIcon : Form1Rig::kNormalIcon);
    EXPECT_EQ(rig.pinged, std::min<size_t>(servers.size(), 16));  // the poll went on
  }
}

// A sort chosen inside any yield of a poll (its network waits included) is shown and mixes no
// server's fields: a sort inside the parse once put a name beside another server's address. (A
// poll inside a rebuild is the rebuild gate's, tested with the menu.)
TEST(Form1Poll, ASortInsideAnyYieldOfAPollIsShownAndMixesNoServersFields) {
  const int pollYields = AtEachYield(
      [](Form1Rig& rig) { rig.Start("", WithPlayers({2, 10, 6}), false); }, [](Form1Rig& rig) { rig.Poll(); },
      [](Form1Rig& rig) { rig.Form().Click("menSort", 3, rig.Form().Snapshot()); },
      [](Form1Rig& rig) {
        for (const auto& [slot, name] : {std::pair<int, Text>{1, u"S2"}, {2, u"S3"}, {3, u"S1"}}) {
          const ServerRecord& server = rig.Form().Servers().at(slot);  // by players, shown so
          EXPECT_EQ(rig.Form().Menu().Item("menServername", 3 * slot - 2).caption.substr(0, 2), name);
          EXPECT_EQ(std::make_pair(server.name, server.address), std::make_pair(name, u"127.0.0." + name.substr(1)));
        }
        EXPECT_TRUE(rig.TimerOn(TimerId::Timer1));
      });
  EXPECT_GE(pollYields, 2 + 12 * 3 + 3 + 3 + 1 + 2 * 16);
}

// A sort chosen in Timer1's wait for the count shows at once; one in Timer3's waits is shown
// by the poll's own rebuild (above).
TEST(Form1Poll, ASortInTheCountWaitShowsAtOnce) {
  Form1Rig rig;
  rig.Start("", WithPlayers({2, 10}));
  Text atTheClick;
  rig.onYield = [&](int) {
    if (!atTheClick.empty()) return;
    rig.Form().Click("menSort", 3, rig.Form().Snapshot());
    atTheClick = rig.Form().Menu().Item("menServername", 1).caption.substr(0, 2);
  };
  rig.Form().TimerTick(TimerId::Timer1);
  EXPECT_EQ(atTheClick, u"S2");
}

// The busiest up-to-date server per poll against the limit 16: the first poll at or above it
// alerts, and only a poll below it re-arms the latch. An alert removes the icon as it stood,
// shows the balloon, plays the sound if on and starts Timer2, which re-adds the icon 4 s later.
TEST(Form1Alert, TheLatchAlertsOnceAboveAndAgainAfterAPollBelow) {
  const std::vector<std::tuple<int16_t, bool, NativeHandle>> polls = {
      {16, true, Form1Rig::kAlertIcon},   {16, false, Form1Rig::kAlertIcon}, {25, false, Form1Rig::kAlertIcon},
      {10, false, Form1Rig::kNormalIcon}, {20, true, Form1Rig::kAlertIcon}};
  for (const bool sound : {true, false}) {
    Form1Rig rig;
    rig.Start(SettingsFile(16, 20, sound, 1, 0), {}, false);
    for (const auto& [players, alerts, icon] : polls) {
      std::vector<ServerRecord> servers = WithPlayers({players, 60});
      servers[1].version = u"1.79";  // never counts
      rig.Serve(servers);
      const TrayIconData before = rig.Form().Tray().Data();
      rig.log.clear();
      rig.Poll();
      const std::string tip = ToUtf8(rig.Tip());
      const Log alertTray = {"delete " + ToUtf8(before.szTip), "balloon ", "modify " + tip};
      EXPECT_EQ(rig.Entries("tray "), alerts ? alertTray : Log{"modify " + tip});
      EXPECT_EQ(rig.Entries("sound ").size(), alerts && sound ? 1u : 0u);
      EXPECT_EQ(rig.Entries("timer Timer2 on 4000").size(), alerts ? 1u : 0u);
      EXPECT_EQ(rig.Icon(), icon) << players;
      if (!alerts) continue;
      EXPECT_EQ(rig.trayData[rig.trayData.size() - 3], before);  // each tray call's record, whole
      TrayIconData record{.hWnd = Form1Rig::kWindow, .uID = 1, .uFlags = 0x17, .uCallbackMessage = 0x200,
                          .hIcon = Form1Rig::kAlertIcon, .szInfo = AlertMessage(16, players), .szInfoTitle = u"Quorvex",
                          .dwInfoFlags = 1};
      EXPECT_EQ(rig.trayData[rig.trayData.size() - 2], record);  // the balloon, without a tooltip
      record.uFlags = 7;
      record.szTip = rig.Tip();
      EXPECT_EQ(rig.trayData.back(), record);  // the summary keeps the balloon's texts, not its flag
      rig.Form().TimerTick(TimerId::Timer2);
      record.szTip = u"Player-limit has been reached";
      EXPECT_EQ(rig.trayData.back(), record);
      EXPECT_EQ(Log(rig.log.end() - 3, rig.log.end()), (Log{"tray delete " + tip, "tray add " + ToUtf8(record.szTip),
                                                            "timer Timer2 off 4000"}));
    }
    rig.Form().men_Click(5);  // a limit above the busiest server: the latch and its icon wait for a poll
    EXPECT_EQ(rig.Icon(), Form1Rig::kAlertIcon);
    rig.Poll();
    EXPECT_EQ(rig.Icon(), Form1Rig::kNormalIcon);
  }
}

// Each player-limit balloon starts the first notifyCommand line with the balloon in its
// environment; without a line nothing starts. A command that could not start or failed is
// told when the next poll starts, each message once however often it recurs, and the poll
// runs on.
TEST(Form1Notify, EachLimitBalloonStartsTheNotifyCommandAndItsProblemsAreToldOnce) {
  const std::tuple<std::string, Text, Log> cases[] = {
      {"", u"", {}},
      {"notifyCommand= ok \"a b\"\r\nnotifyCommand=x\r\n", u"ok \"a b\"",
       {"Form_Load: Quorvex.ini line 7 \"notifyCommand=x\" is a notifyCommand= line after the first; it is ignored"}},
      {"notifyCommand=missing\r\n", u"missing",
       {"Timer1_Timer: notifyCommand \"missing\" could not be started: No such file or directory"}},
      {"notifyCommand=fails\r\n", u"fails", {"Timer1_Timer: notifyCommand \"fails\" ended with exit code 1"}},
  };
  for (const auto& [lines, commandLine, errors] : cases) {
    Form1Rig rig;
    rig.Start(SettingsFile(16, 20, 0, 1, 0) + lines, {}, false);
    for (const int16_t players : {20, 17, 3, 16, 2}) {  // balloons at the first and the fourth poll
      rig.Serve(WithPlayers({players}));
      rig.Poll();
      rig.Commands();  // what went wrong is there for the next poll
    }
    const std::vector<CommandRequest> started = rig.Commands();
    ASSERT_EQ(started.size(), commandLine.empty() ? 0u : 2u) << lines;
    for (size_t i = 0; i < started.size(); ++i) {
      EXPECT_EQ(started[i].commandLine, commandLine);
      const Text text = u"Player-limit of 16 reached!\nPlayers: " + FormatPlain(i == 0 ? 20 : 16);
      EXPECT_EQ(started[i].environment,
                (std::vector<std::pair<Text, Text>>{
                    {u"QUORVEX_EVENT", u"limit"}, {u"QUORVEX_TITLE", u"Quorvex"}, {u"QUORVEX_TEXT", text},
                    {u"QUORVEX_SERVER_NAME", u"S1"}, {u"QUORVEX_SERVER_ADDRESS", u"127.0.0.1"},
                    {u"QUORVEX_SERVER_PORT", u"27015"},
                    {u"QUORVEX_JOIN_URL", u"steam://run/270150//server_address%3D127.0.0.1%20server_port%3D27015/"}}));
    }
    EXPECT_EQ(rig.Entries("error "), errors) << lines;
    EXPECT_EQ(rig.Form().MaxPlayers(), 2);
  }
}

}  // namespace
}  // namespace quorvex::testing
