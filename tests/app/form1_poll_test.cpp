// The poll cycle: the two requests, the totals and the busiest up-to-date server, the
// pings, the tooltip, the player-limit alert and its latch, and what a failure keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/form1_fakes.h"

namespace quorvex::testing {
namespace {

class Form1Poll : public ::testing::Test {
 protected:
  // Starts with this limit and sound setting; the first poll's count request has run.
  void Start(int playerLimit, const std::vector<ServerRecord>& servers, int sound = 1) {
    rig.PutSettings(playerLimit, 20, sound, 1, 0);
    rig.ServeLatestVersion(latest);
    rig.ServeServers(servers);
    rig.Load();
  }
  // The rest of the first poll, or a whole later one.
  void FinishPoll() { rig.Form().Timer3_Timer(); }
  void PollAgain(const std::vector<ServerRecord>& servers) {
    rig.ServeServers(servers);
    rig.Poll();
  }
  const ServerRecord* Shown(const Text& address) {
    for (int slot = 1; slot <= 16; ++slot)
      if (rig.Form().Servers().at(slot).address == address) return &rig.Form().Servers().at(slot);
    return nullptr;
  }
  Text Tip() { return rig.Form().Tray().Data().szTip; }
  bool Timer1EnabledAt(int32_t intervalMs) {
    const auto change = rig.desktop.LastChange(TimerId::Timer1);
    return change && change->enabled && change->intervalMs == intervalMs && rig.Form().GetTimer(TimerId::Timer1).Enabled;
  }

  // Runs a whole poll of these servers once for every yield it makes, its waits for the
  // count, the list and the pings included, with `act` called at that yield and `check`
  // after it; returns how many yields the poll made.
  template <typename Act, typename Check>
  static int AtEachYieldOfAPoll(const std::vector<ServerRecord>& servers, Act act, Check check) {
    for (int target = 1;; ++target) {
      Form1Rig run;
      run.ServeLatestVersion(u"1.80");
      run.ServeServers(servers);
      run.Load();
      const int base = run.desktop.yields;
      bool acted = false;
      run.desktop.onYield = [&](int n) {
        if (n - base != target) return;
        acted = true;
        act(run.Form());
      };
      run.Form().TimerTick(TimerId::Timer1);
      run.Form().TimerTick(TimerId::Timer3);
      if (!acted) return target - 1;
      SCOPED_TRACE("sort chosen at yield " + std::to_string(target));
      check(run.Form());
      if (::testing::Test::HasFailure()) return target;
    }
  }

  Text latest = u"1.80";
  Form1Rig rig;
};

// ---- the two requests -----------------------------------------------------------------

TEST_F(Form1Poll, Timer1AsksForTheCountAndOpensTheListForTimer3) {
  rig.ServeLatestVersion(u"1.80");
  rig.http.replies[Form1Rig::kCountUrl] = {u"<result><servers> 12 </servers></result>"};
  rig.Load();
  ASSERT_EQ(rig.http.opened.size(), 3u);
  EXPECT_EQ(rig.http.opened[1], u"GET http://127.0.0.1:28780/rwr_server_list/get_server_count.php");
  EXPECT_EQ(rig.http.opened[2], u"GET http://127.0.0.1:28780/rwr_server_list/get_server_list.php?start=0&size=12");
  EXPECT_EQ(rig.http.sentUrls.back(), Form1Rig::kCountUrl);  // the list waits for Timer3
  EXPECT_EQ(rig.Form().ServerCount(), 12);
  EXPECT_FALSE(rig.Form().GetTimer(TimerId::Timer1).Enabled);
  EXPECT_TRUE(rig.Form().GetTimer(TimerId::Timer3).Enabled);

  FinishPoll();
  EXPECT_EQ(rig.http.sentUrls.back(), Form1Rig::ListUrl(12));
  // Timer3 stops itself first, Timer1 is started last.
  const size_t firstOfTimer3 = rig.log.entries.size();
  rig.Poll();
  std::vector<std::string> timerEntries;
  for (size_t i = firstOfTimer3; i < rig.log.entries.size(); ++i)
    if (rig.log.entries[i].rfind("timer ", 0) == 0) timerEntries.push_back(rig.log.entries[i]);
  EXPECT_EQ(timerEntries, (std::vector<std::string>{"timer Timer1 off 19750", "timer Timer3 on 250",
                                                    "timer Timer3 off 250", "timer Timer1 on 19750"}));
}

TEST_F(Form1Poll, ACountReplyThatIsNoNumberKeepsThePreviousCount) {
  Start(64, {Server(u"Alpha", u"127.0.0.1", 1), Server(u"Bravo", u"127.0.0.2", 2)});
  FinishPoll();
  ASSERT_EQ(rig.Form().ServerCount(), 2);
  for (const Text& reply : {Text(u"<servers>many</servers>"), Text(u"<servers>7"), Text(u""), Text(u"<servers>-3</servers>")}) {
    rig.http.replies[Form1Rig::kCountUrl] = {reply};
    rig.Form().Timer1_Timer();
    EXPECT_EQ(rig.Form().ServerCount(), 2) << ToUtf8(reply);
    EXPECT_EQ(rig.http.opened.back(), u"GET " + Form1Rig::ListUrl(2)) << ToUtf8(reply);
    rig.Form().Timer3_Timer();
  }
  rig.http.replies.erase(Form1Rig::kCountUrl);  // no network
  rig.Form().Timer1_Timer();
  EXPECT_EQ(rig.Form().ServerCount(), 2);
  EXPECT_TRUE(rig.Form().GetTimer(TimerId::Timer3).Enabled);
}

// ---- totals and the tooltip -----------------------------------------------------------

TEST_F(Form1Poll, TheTooltipSummarisesThePoll) {
  // Busiest server 12, 34 players, 10 servers, limit 16, 3 watchers on the first record:
  // 128 characters, of which the tray keeps all but the final blank.
  std::vector<ServerRecord> servers;
  const int16_t players[] = {12, 10, 5, 3, 2, 1, 1, 0, 0, 0};
  for (int i = 0; i < 10; ++i)
    servers.push_back(Server(u"S" + FromAscii(std::to_string(i)), u"127.0.0." + FromAscii(std::to_string(i + 1)), players[i]));
  servers[0].watchers = 3;
  servers[1].watchers = 9;
  Start(16, servers);
  FinishPoll();
  EXPECT_EQ(Tip(), u"\r\nMax Players:   12\r\n__________________\r\n\r\nTotal Players:    34\r\n"
                   u"Servers Online: 10\r\nPlayer-Limit:     16\r\nServer Watchers: 3\r\n");
  EXPECT_EQ(Tip(), ExpectedSummary(12, 34, 10, 16, 3));
  EXPECT_EQ(rig.trayShell.calls.back().message, kNimModify);
  EXPECT_EQ(rig.Form().Tray().Data().hIcon, FakeDesktop::kNormalIcon);
  EXPECT_EQ(rig.Form().MaxPlayers(), 12);
  EXPECT_EQ(rig.Form().TotalPlayers(), 34);
  EXPECT_TRUE(Timer1EnabledAt(19750));
}

TEST_F(Form1Poll, NoServersShowZerosAndTheWatchersOfAnEarlierPoll) {
  Start(4, {});
  FinishPoll();
  EXPECT_EQ(Tip(), ExpectedSummary(0, 0, 0, 4, 0));
  EXPECT_FALSE(rig.Form().LimitReached());

  ServerRecord watched = Server(u"Alpha", u"127.0.0.1", 5);
  watched.watchers = 7;
  PollAgain({watched});
  ASSERT_TRUE(rig.Form().LimitReached());
  PollAgain({});
  EXPECT_EQ(Tip(), ExpectedSummary(0, 0, 0, 4, 7));
  EXPECT_FALSE(rig.Form().LimitReached());  // the latch is cleared below the limit
  EXPECT_EQ(rig.Form().Tray().Data().hIcon, FakeDesktop::kNormalIcon);
  EXPECT_TRUE(Timer1EnabledAt(19750));
}

TEST_F(Form1Poll, TwentyServersAreCountedButOnlyTheFirstSixteenAddedAndPinged) {
  std::vector<ServerRecord> servers;
  for (int i = 1; i <= 20; ++i) {
    const Text number = FromAscii(std::to_string(i));
    servers.push_back(Server(u"S" + Text(i < 10 ? u"0" : u"") + number, u"127.0.0." + number, i <= 16 ? 1 : 100));
  }
  Start(64, servers);
  FinishPoll();
  EXPECT_EQ(rig.Form().ServerCount(), 20);
  EXPECT_EQ(rig.Form().TotalPlayers(), 16);
  EXPECT_EQ(rig.Form().MaxPlayers(), 1);
  EXPECT_EQ(Tip(), ExpectedSummary(1, 16, 20, 64, 0));
  ASSERT_EQ(rig.pinger.pinged.size(), 16u);
  for (int i = 1; i <= 16; ++i) EXPECT_EQ(rig.pinger.pinged[i - 1], u"127.0.0." + FromAscii(std::to_string(i)));
  EXPECT_EQ(rig.Form().Menu().Item("menServer").caption, u"Servers (20)");
  EXPECT_TRUE(Timer1EnabledAt(19750));
}

TEST_F(Form1Poll, AnEmptyLatestVersionCountsEveryServer) {
  rig.PutSettings(64, 20, 1, 1, 0);
  rig.ServeServers({Server(u"Old", u"127.0.0.1", 10, u"0.1"), Server(u"New", u"127.0.0.2", 5, u"1.80"),
                    Server(u"Blank", u"127.0.0.3", 3, u"")});
  rig.Load();  // the version file is not served
  ASSERT_EQ(rig.Form().LatestVersion(), u"");
  FinishPoll();
  EXPECT_EQ(rig.Form().MaxPlayers(), 10);
  EXPECT_EQ(rig.Form().TotalPlayers(), 18);
}

TEST_F(Form1Poll, VersionsCompareAsTextSoOlderServersCountOnlyInTheTotal) {
  latest = u"1.10";
  Start(64, {Server(u"Exact", u"127.0.0.1", 20, u"1.10"), Server(u"NineAboveTen", u"127.0.0.2", 30, u"1.9"),
             Server(u"Older", u"127.0.0.3", 40, u"1.09"), Server(u"Lower", u"127.0.0.4", 50, u"1.1")});
  FinishPoll();
  EXPECT_EQ(rig.Form().MaxPlayers(), 30);
  EXPECT_EQ(rig.Form().TotalPlayers(), 140);
}

TEST_F(Form1Poll, AVersionFileSavedWithCrLfStillCountsServersAtThatVersion) {
  latest = u"beta 1.80\r\n";
  Start(64, {Server(u"Exact", u"127.0.0.1", 12, u"1.80"), Server(u"Older", u"127.0.0.2", 20, u"1.79")});
  FinishPoll();
  EXPECT_EQ(rig.Form().MaxPlayers(), 12);
}

TEST_F(Form1Poll, AnAdditionThatWouldPassThe16BitRangeIsSkipped) {
  Start(64, {Server(u"A", u"127.0.0.1", 30000), Server(u"B", u"127.0.0.2", 2000), Server(u"C", u"127.0.0.3", 1000),
             Server(u"D", u"127.0.0.4", 500)});
  FinishPoll();
  EXPECT_EQ(rig.Form().TotalPlayers(), 32500);  // 33,000 would not fit: C is left out
  EXPECT_EQ(rig.Form().MaxPlayers(), 30000);
  EXPECT_EQ(rig.pinger.pinged.size(), 4u);  // the poll went on
  EXPECT_TRUE(Timer1EnabledAt(19750));
}

TEST_F(Form1Poll, NamesAndTheDedicatedMarkAreNormalised) {
  ServerRecord dedicated = Server(u"Alpha", u"127.0.0.1", 3);
  dedicated.player_names = u"ann,bob,cy";
  ServerRecord listen = Server(u"Bravo", u"127.0.0.2", 1);
  listen.dedicated = u"0";
  Start(64, {dedicated, listen});
  FinishPoll();
  ASSERT_NE(Shown(u"127.0.0.1"), nullptr);
  ASSERT_NE(Shown(u"127.0.0.2"), nullptr);
  EXPECT_EQ(Shown(u"127.0.0.1")->player_names, u"ann   bob   cy");
  EXPECT_EQ(Shown(u"127.0.0.1")->dedicated, u"*");
  EXPECT_EQ(Shown(u"127.0.0.2")->dedicated, u" ");
}

// ---- pings ----------------------------------------------------------------------------

TEST_F(Form1Poll, EachServerKeepsItsPingAndASilentOneShows999) {
  rig.pinger.answers[u"127.0.0.1"] = u" 23";
  rig.pinger.answers[u"127.0.0.2"] = u"999";
  rig.pinger.answers[u"127.0.0.3"] = u" 0";
  Start(64, {Server(u"A", u"127.0.0.1", 1), Server(u"B", u"127.0.0.2", 1), Server(u"C", u"127.0.0.3", 1)});
  FinishPoll();
  EXPECT_EQ(Shown(u"127.0.0.1")->ping, 23);
  EXPECT_EQ(Shown(u"127.0.0.2")->ping, 999);
  EXPECT_EQ(Shown(u"127.0.0.3")->ping, 0);

  // An answer that is no number leaves the ping of the last poll.
  rig.pinger.answers[u"127.0.0.1"] = u"fast";
  rig.Poll();
  EXPECT_EQ(Shown(u"127.0.0.1")->ping, 23);
}

// ---- failures keep what there was -----------------------------------------------------

TEST_F(Form1Poll, AFailedListDownloadKeepsThePreviousTable) {
  Start(64, {Server(u"Alpha", u"127.0.0.1", 4), Server(u"Bravo", u"127.0.0.2", 6)});
  FinishPoll();
  const Text tipBefore = Tip();
  rig.http.replies.erase(Form1Rig::ListUrl(2));
  rig.Poll();
  EXPECT_EQ(rig.Form().Servers().at(1).name, u"Alpha");
  EXPECT_EQ(rig.Form().Servers().at(2).name, u"Bravo");
  EXPECT_EQ(rig.Form().TotalPlayers(), 10);
  EXPECT_EQ(Tip(), tipBefore);
  EXPECT_TRUE(Timer1EnabledAt(19750));

  rig.http.replies.clear();  // no network at all
  rig.Poll();
  EXPECT_EQ(rig.Form().ServerCount(), 2);
  EXPECT_EQ(rig.Form().Servers().at(2).name, u"Bravo");
  EXPECT_EQ(Tip(), tipBefore);
  EXPECT_TRUE(Timer1EnabledAt(19750));
}

// ---- the servers menu -----------------------------------------------------------------

TEST_F(Form1Poll, ThePollRewritesTheServersMenuInSortOrder) {
  Start(64, {Server(u"Charlie", u"127.0.0.3", 2), Server(u"Alpha", u"127.0.0.1", 6), Server(u"Bravo", u"127.0.0.2", 10)});
  FinishPoll();
  const MenuTree& menu = rig.Form().Menu();
  EXPECT_EQ(menu.Item("menServer").caption, u"Servers (3)");
  const char16_t* order[] = {u"Alpha", u"Bravo", u"Charlie"};
  for (int slot = 1; slot <= 3; ++slot)
    EXPECT_EQ(menu.Item("menServername", 3 * slot - 2).caption.rfind(order[slot - 1], 0), 0u) << slot;
  for (int item = 1; item <= 8; ++item) EXPECT_TRUE(menu.Item("menServername", item).visible) << item;
  for (int item = 9; item <= 48; ++item) EXPECT_FALSE(menu.Item("menServername", item).visible) << item;
}

TEST_F(Form1Poll, ASortChosenInsideAnyYieldOfThePollIsTheOneShown) {
  // Listed in descending players, so a sort by players moves nothing while the reply is
  // still being read; by name it would be Alpha, Bravo, Charlie.
  const std::vector<ServerRecord> servers = {Server(u"Bravo", u"127.0.0.2", 10), Server(u"Alpha", u"127.0.0.1", 6),
                                             Server(u"Charlie", u"127.0.0.3", 2)};
  const int yields = AtEachYieldOfAPoll(
      servers, [](Form1& form) { form.Click("menSort", 3, form.Snapshot()); },
      [](const Form1& form) {
        const MenuTree& menu = form.Menu();
        const char16_t* order[] = {u"Bravo", u"Alpha", u"Charlie"};
        for (int slot = 1; slot <= 3; ++slot) {
          EXPECT_EQ(menu.Item("menServername", 3 * slot - 2).caption.rfind(order[slot - 1], 0), 0u) << slot;
          EXPECT_EQ(form.Servers().at(slot).name, order[slot - 1]);
        }
        EXPECT_EQ(form.Servers().at(1).address, u"127.0.0.2");
        EXPECT_NE(menu.Item("menServerTitle").caption.find(u"Players\u00b9"), Text::npos);
        EXPECT_EQ(CheckedItems(menu, "menSort"), std::vector<std::string>{"menSort[3]"});
        EXPECT_FALSE(menu.Item("menServername", 9).visible);
        EXPECT_TRUE(form.GetTimer(TimerId::Timer1).Enabled);
      });
  EXPECT_GE(yields, 2 + 12 * 3 + 3 + 3 + 1 + 2 * 16);
}

TEST_F(Form1Poll, ASortInTheCountWaitRebuildsAtOnceButInTheListWaitWaitsForThePoll) {
  Start(64, {Server(u"Alpha", u"127.0.0.1", 2), Server(u"Bravo", u"127.0.0.2", 10)});
  FinishPoll();  // by server: Alpha first
  struct Case {
    TimerId handler;  // its first yield is its transfer's wait
    int16_t sort;
    const char16_t* firstAtTheClick;
    const char16_t* firstAfterThePoll;
  };
  for (const Case& c : {Case{TimerId::Timer1, 3, u"Bravo", u"Bravo"}, Case{TimerId::Timer3, 0, u"Bravo", u"Alpha"}}) {
    SCOPED_TRACE(TimerName(c.handler));
    Text firstAtTheClick;
    const int first = rig.desktop.yields + 1;
    rig.desktop.onYield = [&](int n) {
      if (n != first) return;
      rig.Form().Click("menSort", c.sort, rig.Form().Snapshot());
      firstAtTheClick = rig.Form().Menu().Item("menServername", 1).caption;
    };
    rig.Form().TimerTick(c.handler);
    EXPECT_EQ(firstAtTheClick.rfind(c.firstAtTheClick, 0), 0u) << ToUtf8(firstAtTheClick);
    EXPECT_EQ(rig.Form().Menu().Item("menServername", 1).caption.rfind(c.firstAfterThePoll, 0), 0u);
  }
}

TEST_F(Form1Poll, ASortChosenWhileTheReplyIsReadKeepsEveryServersFieldsTogether) {
  // Out of player order, so a sort inside the parse would move records whose later
  // fields are still to come: a name beside another server's address.
  const std::vector<ServerRecord> servers = {Server(u"Alpha", u"127.0.0.1", 2), Server(u"Bravo", u"127.0.0.2", 10)};
  const int yields = AtEachYieldOfAPoll(
      servers, [](Form1& form) { form.menSort_Click(3); },
      [](const Form1& form) {
        EXPECT_EQ(form.Servers().at(1).name, u"Bravo");
        EXPECT_EQ(form.Servers().at(1).address, u"127.0.0.2");
        EXPECT_EQ(form.Servers().at(2).name, u"Alpha");
        EXPECT_EQ(form.Servers().at(2).address, u"127.0.0.1");
      });
  EXPECT_GE(yields, 2 + 12 * 2);
}

TEST_F(Form1Poll, APollInsideTheSortCommandsRebuildEndsInACompleteRebuild) {
  // A poll that lists a fourth, busier server arrives inside any yield of a sort by
  // players: the menu ends sorted by players over the new table.
  const std::vector<ServerRecord> first = {Server(u"Alpha", u"127.0.0.1", 6), Server(u"Bravo", u"127.0.0.2", 2),
                                           Server(u"Charlie", u"127.0.0.3", 10)};
  std::vector<ServerRecord> second = first;
  second.push_back(Server(u"Delta", u"127.0.0.4", 12));
  int target = 1;
  for (;; ++target) {
    Form1Rig run;
    run.ServeLatestVersion(u"1.80");
    run.ServeServers(first);
    run.Load();
    run.Form().Timer3_Timer();
    run.ServeServers(second);
    const int base = run.desktop.yields;
    bool polled = false;
    run.desktop.onYield = [&](int n) {
      if (n - base != target) return;
      polled = true;
      run.Form().TimerTick(TimerId::Timer1);
      run.Form().TimerTick(TimerId::Timer3);
    };
    run.Form().menSort_Click(3);
    if (!polled) break;
    SCOPED_TRACE("poll at yield " + std::to_string(target) + " of the sort");
    const MenuTree& menu = run.Form().Menu();
    EXPECT_EQ(menu.Item("menServer").caption, u"Servers (4)");
    const char16_t* order[] = {u"Delta", u"Charlie", u"Alpha", u"Bravo"};
    for (int slot = 1; slot <= 4; ++slot)
      EXPECT_EQ(menu.Item("menServername", 3 * slot - 2).caption.rfind(order[slot - 1], 0), 0u) << slot;
    EXPECT_TRUE(menu.Item("menServername", 11).visible);
    EXPECT_FALSE(menu.Item("menServername", 12).visible);
    EXPECT_TRUE(run.Form().GetTimer(TimerId::Timer1).Enabled);
    EXPECT_EQ(run.Form().Tray().Data().szTip, ExpectedSummary(12, 30, 4, 4, 0));
    if (HasFailure()) break;
  }
  EXPECT_GT(target, 2 * 16);
}

TEST_F(Form1Poll, TimerTicksRunTheirHandlers) {
  Start(64, {Server(u"Alpha", u"127.0.0.1", 4)});
  rig.Form().TimerTick(TimerId::Timer3);
  EXPECT_EQ(rig.http.sentUrls.back(), Form1Rig::ListUrl(1));
  EXPECT_EQ(rig.Form().TotalPlayers(), 4);
  EXPECT_TRUE(rig.Form().GetTimer(TimerId::Timer1).Enabled);
  const size_t opened = rig.http.opened.size();
  rig.Form().TimerTick(TimerId::Timer1);
  EXPECT_EQ(rig.http.opened.size(), opened + 2);  // the count, then the list
  EXPECT_TRUE(rig.Form().GetTimer(TimerId::Timer3).Enabled);
}

// ---- the player-limit alert -----------------------------------------------------------

class Form1Alert : public Form1Poll {
 protected:
  void PollWithBusiest(int16_t players) { PollAgain({Server(u"Busy", u"127.0.0.1", players), Server(u"Quiet", u"127.0.0.2", 1)}); }
};

TEST_F(Form1Alert, ReachingTheLimitShowsTheBalloonPlaysTheSoundAndStartsTimer2) {
  Start(16, {Server(u"Busy", u"127.0.0.1", 16), Server(u"Quiet", u"127.0.0.2", 1)});
  const size_t before = rig.trayShell.calls.size();
  const TrayIconData shownBefore = rig.Form().Tray().Data();
  FinishPoll();

  ASSERT_EQ(rig.trayShell.calls.size(), before + 3);
  const TrayCall& remove = rig.trayShell.calls[before];
  const TrayCall& balloon = rig.trayShell.calls[before + 1];
  const TrayCall& summary = rig.trayShell.calls[before + 2];
  EXPECT_EQ(remove.message, kNimDelete);
  EXPECT_EQ(remove.data, shownBefore);
  EXPECT_EQ(balloon.message, kNimAdd);
  EXPECT_EQ(balloon.data.szInfoTitle, u"Quorvex");
  EXPECT_EQ(balloon.data.szInfo, u"Player-limit of 16 reached!\r\nPlayers: 16");
  EXPECT_EQ(balloon.data.szTip, u"");
  EXPECT_EQ(balloon.data.dwInfoFlags, 1u);
  EXPECT_EQ(balloon.data.uFlags, 0x17u);
  EXPECT_EQ(balloon.data.hIcon, FakeDesktop::kAlertIcon);
  EXPECT_EQ(balloon.data.hWnd, FakeDesktop::kWindow);
  EXPECT_EQ(summary.message, kNimModify);
  EXPECT_EQ(summary.data.szTip, ExpectedSummary(16, 17, 2, 16, 0));
  EXPECT_EQ(summary.data.hIcon, FakeDesktop::kAlertIcon);

  EXPECT_EQ(rig.desktop.sounds, std::vector<Text>{u"bing.wav"});
  EXPECT_TRUE(rig.Form().LimitReached());
  EXPECT_TRUE(rig.Form().GetTimer(TimerId::Timer2).Enabled);
  EXPECT_EQ(rig.Form().GetTimer(TimerId::Timer2).Interval, 4000);
  EXPECT_TRUE(AppearInOrder(rig.log.entries, {"tray add ", "sound bing.wav", "timer Timer2 on 4000",
                                              "tray modify " + ToUtf8(ExpectedSummary(16, 17, 2, 16, 0)),
                                              "timer Timer1 on 19750"}));
}

TEST_F(Form1Alert, Timer2EndsTheBalloonWithTheAlertIconAndStopsItself) {
  Start(16, {Server(u"Busy", u"127.0.0.1", 20)});
  FinishPoll();
  const size_t before = rig.trayShell.calls.size();
  rig.Form().Timer2_Timer();
  ASSERT_EQ(rig.trayShell.calls.size(), before + 2);
  EXPECT_EQ(rig.trayShell.calls[before].message, kNimDelete);
  const TrayCall& add = rig.trayShell.calls[before + 1];
  EXPECT_EQ(add.message, kNimAdd);
  EXPECT_EQ(add.data.szTip, u"Player-limit has been reached");
  EXPECT_EQ(add.data.hIcon, FakeDesktop::kAlertIcon);
  EXPECT_EQ(add.data.uFlags, 7u);
  const auto timer2 = rig.desktop.LastChange(TimerId::Timer2);
  ASSERT_TRUE(timer2.has_value());
  EXPECT_FALSE(timer2->enabled);
  EXPECT_FALSE(rig.Form().GetTimer(TimerId::Timer2).Enabled);
}

TEST_F(Form1Alert, OneBelowTheLimitFiresNothing) {
  Start(16, {Server(u"Busy", u"127.0.0.1", 15)});
  FinishPoll();
  EXPECT_TRUE(rig.trayShell.Balloons().empty());
  EXPECT_TRUE(rig.desktop.sounds.empty());
  EXPECT_FALSE(rig.Form().LimitReached());
  EXPECT_FALSE(rig.Form().GetTimer(TimerId::Timer2).Enabled);
  EXPECT_EQ(rig.Form().Tray().Data().hIcon, FakeDesktop::kNormalIcon);
}

TEST_F(Form1Alert, TwoPollsAboveTheLimitAlertOnce) {
  Start(16, {Server(u"Busy", u"127.0.0.1", 20)});
  FinishPoll();
  PollWithBusiest(25);
  EXPECT_EQ(rig.trayShell.Balloons().size(), 1u);
  EXPECT_EQ(rig.desktop.sounds.size(), 1u);
  EXPECT_EQ(rig.Form().Tray().Data().hIcon, FakeDesktop::kAlertIcon);  // the latch shows
  EXPECT_EQ(rig.trayShell.calls.back().message, kNimModify);
}

TEST_F(Form1Alert, AboveBelowAboveAlertsTwice) {
  Start(16, {Server(u"Busy", u"127.0.0.1", 20)});
  FinishPoll();
  PollWithBusiest(10);
  EXPECT_FALSE(rig.Form().LimitReached());
  EXPECT_EQ(rig.Form().Tray().Data().hIcon, FakeDesktop::kNormalIcon);
  PollWithBusiest(16);
  const auto balloons = rig.trayShell.Balloons();
  ASSERT_EQ(balloons.size(), 2u);
  EXPECT_EQ(balloons[1].data.szInfo, u"Player-limit of 16 reached!\r\nPlayers: 16");
  EXPECT_EQ(rig.desktop.sounds.size(), 2u);
}

TEST_F(Form1Alert, WithSoundOffTheBalloonComesSilently) {
  Start(8, {Server(u"Busy", u"127.0.0.1", 9)}, /*sound=*/0);
  FinishPoll();
  ASSERT_EQ(rig.trayShell.Balloons().size(), 1u);
  EXPECT_EQ(rig.trayShell.Balloons()[0].data.szInfo, u"Player-limit of 8 reached!\r\nPlayers: 9");
  EXPECT_TRUE(rig.desktop.sounds.empty());
  EXPECT_TRUE(rig.Form().GetTimer(TimerId::Timer2).Enabled);
}

TEST_F(Form1Alert, AnOutdatedServerNeverAlerts) {
  Start(4, {Server(u"Old", u"127.0.0.1", 60, u"1.79")});
  FinishPoll();
  EXPECT_TRUE(rig.trayShell.Balloons().empty());
  EXPECT_EQ(rig.Form().TotalPlayers(), 60);
}

}  // namespace
}  // namespace quorvex::testing
