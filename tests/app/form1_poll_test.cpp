// The poll cycle: the two requests, the totals and the busiest up-to-date server, the pings,
// the tooltip, the player-limit alert and its latch, and what a failure keeps.
#include <gtest/gtest.h>

#include "servers/poll_summary.h"
#include "support/form1_fakes.h"

namespace quorvex::testing {
namespace {

// Servers "S1".."Sn" on 127.0.0.1..n with these player counts and the latest version.
std::vector<ServerRecord> WithPlayers(const std::vector<int16_t>& players) {
  std::vector<ServerRecord> servers;
  for (size_t i = 1; i <= players.size(); ++i)
    servers.push_back(Server(u"S" + FormatPlain(static_cast<int>(i)), u"127.0.0." + FormatPlain(static_cast<int>(i)), players[i - 1]));
  return servers;
}

const ServerRecord* Find(const Form1& form, const Text& address) {
  for (int slot = 1; slot <= 16; ++slot)
    if (form.Servers().at(slot).address == address) return &form.Servers().at(slot);
  return nullptr;
}

// The first word of each shown server line, top to bottom.
std::vector<Text> ShownNames(const Form1& form, int count) {
  std::vector<Text> names;
  for (int slot = 1; slot <= count; ++slot) {
    const Text& line = form.Menu().Item("menServername", 3 * slot - 2).caption;
    names.push_back(line.substr(0, line.find(u' ')));
  }
  return names;
}

TEST(Form1Poll, Timer1AsksForTheCountAndOpensTheListThatTimer3Reads) {
  Form1Rig rig;
  rig.http.replies[Form1Rig::kCountUrl] = {u"<result><servers> 12 </servers></result>"};
  rig.Form().Form_Load();
  EXPECT_EQ(rig.http.opened.back(), u"GET " + Form1Rig::ListUrl(12));
  EXPECT_EQ(rig.http.sentUrls.back(), Form1Rig::kCountUrl);
  EXPECT_EQ(rig.Form().ServerCount(), 12);
  rig.log.clear();
  rig.Form().TimerTick(TimerId::Timer3);
  rig.Form().TimerTick(TimerId::Timer1);
  EXPECT_TRUE(AppearInOrder(rig.log, {"timer Timer3 off 250", "http send " + ToUtf8(Form1Rig::ListUrl(12)),
                                      "timer Timer1 on 19750", "timer Timer1 off 19750",
                                      "http send " + ToUtf8(Form1Rig::kCountUrl), "timer Timer3 on 250"}));
  // A count that is no number, negative or missing keeps the last one.
  for (const Text& reply : {Text(u"<servers>many</servers>"), Text(u"<servers>7"), Text(u"<servers>-3</servers>")}) {
    rig.http.replies[Form1Rig::kCountUrl] = {reply};
    rig.Form().Timer1_Timer();
    EXPECT_EQ(rig.http.opened.back(), u"GET " + Form1Rig::ListUrl(12)) << ToUtf8(reply);
  }
  rig.http.replies.clear();
  rig.Form().Timer1_Timer();
  EXPECT_EQ(rig.Form().ServerCount(), 12);
  EXPECT_TRUE(rig.Form().GetTimer(TimerId::Timer3).Enabled);
}

TEST(Form1Poll, TheTooltipSummarisesTheListedUpToDateServers) {
  struct Case {
    const char* what;
    std::vector<ServerRecord> servers;
    Text latest;
    int16_t maxPlayers, total, watchers;
  };
  std::vector<ServerRecord> twenty = WithPlayers(std::vector<int16_t>(20, 1));
  for (int i = 16; i < 20; ++i) twenty[static_cast<size_t>(i)].current_players = 100;  // counted, but not read
  std::vector<ServerRecord> ten = WithPlayers({12, 10, 5, 3, 2, 1, 1, 0, 0, 0});
  ten[0].watchers = 3;  // the watchers of the first record
  ten[1].watchers = 9;
  const std::vector<Case> cases = {
      {"ten servers", ten, u"1.80", 12, 34, 3},
      {"none", {}, u"1.80", 0, 0, 0},
      {"twenty", twenty, u"1.80", 1, 16, 0},
      {"versions as text", {Server(u"A", u"127.0.0.1", 20, u"1.10"), Server(u"B", u"127.0.0.2", 30, u"1.9"),
                            Server(u"C", u"127.0.0.3", 40, u"1.09"), Server(u"D", u"127.0.0.4", 50, u"1.1")},
       u"1.10", 30, 140, 0},
      {"no latest version", {Server(u"A", u"127.0.0.1", 10, u"0.1"), Server(u"B", u"127.0.0.2", 3, u"")}, u"", 10, 13, 0},
      {"a version file with CR LF", {Server(u"A", u"127.0.0.1", 12), Server(u"B", u"127.0.0.2", 20, u"1.79")},
       u"beta 1.80\r\n", 12, 32, 0},
      {"a sum past 16 bits is skipped", WithPlayers({30000, 2000, 1000, 500}), u"1.80", 30000, 32500, 0},
  };
  for (const Case& c : cases) {
    Form1Rig rig;
    const Form1& form = rig.Start(SettingsFile(64, 20, 1, 1, 0), c.servers, true, c.latest);
    SCOPED_TRACE(c.what);
    EXPECT_EQ(form.MaxPlayers(), c.maxPlayers);
    EXPECT_EQ(form.TotalPlayers(), c.total);
    const int16_t count = static_cast<int16_t>(c.servers.size());
    EXPECT_EQ(rig.Tip(), CutUnits(SummaryText({c.maxPlayers, c.total, count, 64, c.watchers}, 2), 127));
    EXPECT_EQ(rig.trayShell.calls.back().message, kNimModify);
    EXPECT_EQ(rig.Form().Tray().Data().hIcon, c.maxPlayers >= 64 ? FakeDesktop::kAlertIcon : FakeDesktop::kNormalIcon);
    EXPECT_EQ(form.Menu().Item("menServer").caption, u"Servers (" + FormatPlain(count) + u")");
    EXPECT_EQ(rig.pinger.pinged.size(), std::min<size_t>(c.servers.size(), 16));  // the poll went on
    EXPECT_EQ(rig.LastChange(TimerId::Timer1)->enabled, true);
  }
}

TEST(Form1Poll, ServersAreNormalisedPingedAndShownInSortOrder) {
  Form1Rig rig;
  std::vector<ServerRecord> servers = WithPlayers({2, 6, 10, 1});
  servers[0].player_names = u"ann,bob";
  servers[1].dedicated = u"0";
  rig.pinger.answers = {{u"127.0.0.1", u" 23"}, {u"127.0.0.2", u"999"}, {u"127.0.0.3", u" 0"}};
  const Form1& form = rig.Start(SettingsFile(64, 20, 1, 1, 3), servers);
  EXPECT_EQ(Find(form, u"127.0.0.1")->player_names, u"ann   bob");
  EXPECT_EQ(Find(form, u"127.0.0.1")->dedicated, u"*");
  EXPECT_EQ(Find(form, u"127.0.0.2")->dedicated, u" ");
  EXPECT_EQ(Find(form, u"127.0.0.1")->ping, 23);
  EXPECT_EQ(Find(form, u"127.0.0.2")->ping, 999);
  EXPECT_EQ(Find(form, u"127.0.0.3")->ping, 0);
  EXPECT_EQ(ShownNames(form, 4), (std::vector<Text>{u"S3", u"S2", u"S1", u"S4"}));
  EXPECT_EQ(form.Menu().Item("menServername", 12).visible, false);
}

TEST(Form1Poll, AFailedListDownloadOrPingKeepsWhatThereWas) {
  Form1Rig rig;
  rig.pinger.answers[u"127.0.0.1"] = u" 23";
  const Form1& form = rig.Start(SettingsFile(64, 20, 1, 1, 0), WithPlayers({4, 6}));
  const Text tip = rig.Tip();
  rig.pinger.answers[u"127.0.0.1"] = u"fast";  // an answer that is no number keeps the last ping
  rig.Poll();
  EXPECT_EQ(form.Servers().at(1).ping, 23);
  rig.http.replies.erase(Form1Rig::ListUrl(2));
  rig.Poll();
  rig.http.replies.clear();  // no network at all
  rig.Poll();
  EXPECT_EQ(form.Servers().at(2).name, u"S2");
  EXPECT_EQ(Find(form, u"127.0.0.1")->dedicated, u"*");  // a dedicated server stays dedicated
  EXPECT_EQ(form.TotalPlayers(), 10);
  EXPECT_EQ(rig.Tip(), tip);
  EXPECT_TRUE(rig.LastChange(TimerId::Timer1)->enabled);
  ServerRecord watched = Server(u"W", u"127.0.0.1", 1);
  watched.watchers = 7;
  rig.Serve({watched});
  rig.Poll();
  rig.Serve({});  // records are never cleared: no servers, and the first record's watchers
  rig.Poll();
  EXPECT_EQ(rig.Tip(), CutUnits(SummaryText({0, 0, 0, 64, 7}, 2), 127));
}

// Runs a whole poll of `servers` (its waits for the count, the list and the pings included)
// once per yield it makes, with a sort by players chosen at that yield, then `check`;
// returns how many yields the poll made.
int SortAtEachYieldOfAPoll(const std::vector<ServerRecord>& servers, const std::function<void(const Form1&)>& check) {
  for (int target = 1;; ++target) {
    Form1Rig rig;
    rig.Start("", servers, false);
    const int base = rig.desktop.yields;
    bool acted = false;
    rig.desktop.onYield = [&](int n) {
      if (n - base != target) return;
      acted = true;
      rig.Form().Click("menSort", 3, rig.Form().Snapshot());
    };
    rig.Form().TimerTick(TimerId::Timer1);
    rig.Form().TimerTick(TimerId::Timer3);
    if (!acted) return target - 1;
    SCOPED_TRACE("sort chosen at yield " + std::to_string(target));
    check(rig.Form());
    EXPECT_EQ(Checked(rig.Form().Menu(), "menSort"), std::vector<int>{3});
    EXPECT_TRUE(rig.Form().GetTimer(TimerId::Timer1).Enabled);
    if (::testing::Test::HasFailure()) return target;
  }
}

TEST(Form1Poll, ASortChosenInsideAnyYieldOfAPollIsShownAndMixesNoServersFields) {
  // Out of player order, so a sort inside the parse would move records whose later fields
  // are still to come: a name beside another server's address (a fault once).
  const int yields = SortAtEachYieldOfAPoll(WithPlayers({2, 10, 6}), [](const Form1& form) {
    EXPECT_EQ(ShownNames(form, 3), (std::vector<Text>{u"S2", u"S3", u"S1"}));
    for (int slot = 1; slot <= 3; ++slot)
      EXPECT_EQ(u"127.0.0." + form.Servers().at(slot).name.substr(1), form.Servers().at(slot).address);
    EXPECT_NE(form.Menu().Item("menServerTitle").caption.find(u"Players\u00b9"), Text::npos);
  });
  EXPECT_GE(yields, 2 + 12 * 3 + 3 + 3 + 1 + 2 * 16);
}

TEST(Form1Poll, ASortInTheCountWaitRebuildsAtOnceButInTheListWaitWaitsForThePoll) {
  Form1Rig rig;
  rig.Start(SettingsFile(64, 20, 1, 1, 0), {Server(u"Alpha", u"127.0.0.1", 2), Server(u"Bravo", u"127.0.0.2", 10)});
  for (const auto& [handler, sort, firstAtTheClick, firstAfterThePoll] :
       {std::tuple<TimerId, int16_t, Text, Text>{TimerId::Timer1, 3, u"Bravo", u"Bravo"},
        {TimerId::Timer3, 0, u"Bravo", u"Alpha"}}) {
    SCOPED_TRACE(TimerName(handler));
    Text atTheClick;
    const int first = rig.desktop.yields + 1;  // the handler's first yield is its transfer's wait
    rig.desktop.onYield = [&](int n) {
      if (n != first) return;
      rig.Form().Click("menSort", sort, rig.Form().Snapshot());
      atTheClick = ShownNames(rig.Form(), 1)[0];
    };
    rig.Form().TimerTick(handler);
    EXPECT_EQ(atTheClick, firstAtTheClick);
    EXPECT_EQ(ShownNames(rig.Form(), 1)[0], firstAfterThePoll);
  }
}

TEST(Form1Poll, APollInsideTheSortCommandsRebuildEndsInACompleteRebuild) {
  std::vector<ServerRecord> second = WithPlayers({6, 2, 10, 12});  // a fourth, busier server
  int target = 1;
  for (;; ++target) {
    Form1Rig rig;
    rig.Start("", WithPlayers({6, 2, 10}));
    rig.Serve(second);
    const int base = rig.desktop.yields;
    bool polled = false;
    rig.desktop.onYield = [&](int n) {
      if (n - base != target) return;
      polled = true;
      rig.Form().TimerTick(TimerId::Timer1);
      rig.Form().TimerTick(TimerId::Timer3);
    };
    rig.Form().menSort_Click(3);
    if (!polled) break;
    SCOPED_TRACE("poll at yield " + std::to_string(target) + " of the sort");
    EXPECT_EQ(ShownNames(rig.Form(), 4), (std::vector<Text>{u"S4", u"S3", u"S1", u"S2"}));
    EXPECT_EQ(rig.Form().Menu().Item("menServer").caption, u"Servers (4)");
    EXPECT_FALSE(rig.Form().Menu().Item("menServername", 12).visible);
    EXPECT_EQ(rig.Tip(), CutUnits(SummaryText({12, 30, 4, 4, 0}, 2), 127));
    if (HasFailure()) break;
  }
  EXPECT_GT(target, 2 * 16);
}

TEST(Form1Alert, ReachingTheLimitShowsTheBalloonPlaysTheSoundAndStartsTimer2) {
  Form1Rig rig;
  rig.Start(SettingsFile(16, 20, 1, 1, 0), WithPlayers({16, 1}), false);
  const TrayIconData before = rig.Form().Tray().Data();
  const size_t calls = rig.trayShell.calls.size();
  rig.log.clear();
  rig.Form().Timer3_Timer();
  ASSERT_EQ(rig.trayShell.calls.size(), calls + 3);
  EXPECT_EQ(rig.trayShell.calls[calls].data, before);  // removed as it stood
  TrayIconData balloon = before;
  balloon.uFlags = 0x17;
  balloon.hIcon = FakeDesktop::kAlertIcon;
  balloon.szTip = u"";
  balloon.szInfo = u"Player-limit of 16 reached!\r\nPlayers: 16";
  balloon.szInfoTitle = u"Quorvex";
  balloon.dwInfoFlags = 1;
  EXPECT_EQ(rig.trayShell.calls[calls + 1].data, balloon);
  EXPECT_EQ(rig.Form().Tray().Data().hIcon, FakeDesktop::kAlertIcon);
  EXPECT_TRUE(AppearInOrder(rig.log, {"tray delete Current max players: N/A", "tray add ", "sound bing.wav",
                                      "timer Timer2 on 4000", "tray modify " + ToUtf8(rig.Tip()), "timer Timer1 on 19750"}));
  const std::string summary = ToUtf8(rig.Tip());
  rig.log.clear();
  rig.Form().TimerTick(TimerId::Timer2);  // 4 s later the balloon's icon makes way
  EXPECT_EQ(rig.log, (Log{"tray delete " + summary, "tray add Player-limit has been reached",
                          "timer Timer2 off 4000"}));
  EXPECT_EQ(rig.trayShell.calls.back().data.uFlags, 7u);
  EXPECT_EQ(rig.Form().Tray().Data().hIcon, FakeDesktop::kAlertIcon);
}

TEST(Form1Alert, TheLatchAlertsOnceAboveAndAgainAfterAPollBelow) {
  // The busiest server per poll, limit 16; which polls alert; the icon after each.
  const std::vector<std::tuple<int16_t, bool, NativeHandle>> polls = {
      {15, false, FakeDesktop::kNormalIcon}, {16, true, FakeDesktop::kAlertIcon}, {25, false, FakeDesktop::kAlertIcon},
      {10, false, FakeDesktop::kNormalIcon}, {20, true, FakeDesktop::kAlertIcon}};
  for (const bool sound : {true, false}) {
    Form1Rig rig;
    rig.Start(SettingsFile(16, 20, sound, 1, 0), {}, false);
    size_t balloons = 0;
    for (const auto& [players, alerts, icon] : polls) {
      rig.Serve({Server(u"Busy", u"127.0.0.1", players), Server(u"Old", u"127.0.0.2", 60, u"1.79")});  // never counts
      rig.Poll();
      balloons += alerts;
      EXPECT_EQ(rig.trayShell.Balloons(), balloons) << players;
      EXPECT_EQ(rig.desktop.sounds.size(), sound ? balloons : 0) << players;
      EXPECT_EQ(rig.Form().Tray().Data().hIcon, icon) << players;
      EXPECT_EQ(rig.Form().LimitReached(), icon == FakeDesktop::kAlertIcon) << players;
    }
  }
}

}  // namespace
}  // namespace quorvex::testing
