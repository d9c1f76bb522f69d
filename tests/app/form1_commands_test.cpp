// The menu commands: player limit, autostart, sound, update rate, sort, the about box, and
// the tray callback that opens the popup.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/form1_fakes.h"

namespace quorvex::testing {
namespace {

std::vector<ServerRecord> TenServers() {
  std::vector<ServerRecord> servers;
  const int16_t players[] = {12, 10, 5, 3, 2, 1, 1, 0, 0, 0};
  for (int i = 0; i < 10; ++i)
    servers.push_back(Server(u"S" + FromAscii(std::to_string(i)), u"127.0.0." + FromAscii(std::to_string(i + 1)), players[i]));
  servers[0].watchers = 3;
  return servers;
}

class Form1Commands : public ::testing::Test {
 protected:
  void Start(const std::string& settings, const std::vector<ServerRecord>& servers) {
    rig.PutSettingsFile(settings);
    rig.ServeLatestVersion(u"1.80");
    rig.ServeServers(servers);
    rig.Load();
    rig.Form().Timer3_Timer();
  }
  Form1& Form() { return rig.Form(); }
  const MenuTree& Menu() { return rig.Form().Menu(); }

  Form1Rig rig;
};

const char kLimit16[] = "minPlayers= 16\r\ncheckTime= 20\r\nsound=1\r\nautostart=1\r\nsort=0\r\n";
const char kRate10[] = "minPlayers= 4\r\ncheckTime= 10\r\nsound=1\r\nautostart=1\r\nsort=0\r\n";

// ---- the player limit -----------------------------------------------------------------

using Form1PlayerLimit = Form1Commands;

TEST_F(Form1PlayerLimit, ChoosingALimitMovesTheCheckAndTheCaptionAndSavesNothingYet) {
  Start(kRate10, TenServers());
  const int writes = rig.registry.writes;
  Form().men_Click(4);
  EXPECT_EQ(CheckedItems(Menu(), "men"), std::vector<std::string>{"men[4]"});
  EXPECT_EQ(Form().CurrentSettings().minPlayers, 4);
  EXPECT_EQ(Menu().Item("menPlayer").caption, u"Player-Limit (32)");
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), kRate10);
  EXPECT_EQ(rig.registry.writes, writes);
  // Exit stores the limit itself.
  Form().menExit_Click();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), "minPlayers= 32\r\ncheckTime= 10\r\nsound=1\r\nautostart=1\r\nsort=0\r\n");
}

TEST_F(Form1PlayerLimit, TheTooltipShowsTheNewLimitWithFourBlanksAfterMaxPlayers) {
  Start(kRate10, TenServers());
  Form().men_Click(3);
  // 130 characters: the tray keeps 127, so the last line break and blank are lost.
  EXPECT_EQ(rig.trayShell.calls.back().message, kNimModify);
  EXPECT_EQ(Form().Tray().Data().szTip, u"\r\nMax Players:     12\r\n__________________\r\n\r\nTotal Players:    34\r\n"
                                        u"Servers Online: 10\r\nPlayer-Limit:     16\r\nServer Watchers: 3");
  Form().men_Click(5);
  EXPECT_EQ(Form().Tray().Data().szTip, ExpectedSummary(12, 34, 10, 64, 3, 4));
  EXPECT_NE(Form().Tray().Data().szTip.find(u"Player-Limit:     64\r\n"), Text::npos);
  // The next poll writes its own summary again.
  rig.Poll();
  EXPECT_EQ(Form().Tray().Data().szTip, ExpectedSummary(12, 34, 10, 64, 3));
}

TEST_F(Form1PlayerLimit, TheIconFollowsTheLatchAndNothingIsAlertedAnew) {
  Start(kLimit16, {Server(u"Busy", u"127.0.0.1", 20)});
  ASSERT_TRUE(Form().LimitReached());
  Form().men_Click(5);  // 64 is above the busiest server, but only the next poll tells
  EXPECT_EQ(Form().Tray().Data().hIcon, FakeDesktop::kAlertIcon);
  EXPECT_TRUE(Form().LimitReached());
  EXPECT_EQ(rig.trayShell.Balloons().size(), 1u);
  rig.Poll();
  EXPECT_FALSE(Form().LimitReached());
  EXPECT_EQ(Form().Tray().Data().hIcon, FakeDesktop::kNormalIcon);
  Form().men_Click(1);  // 4 is reached, but again only a poll alerts
  EXPECT_EQ(Form().Tray().Data().hIcon, FakeDesktop::kNormalIcon);
  EXPECT_EQ(rig.trayShell.Balloons().size(), 1u);
  rig.Poll();
  EXPECT_EQ(rig.trayShell.Balloons().size(), 2u);
}

TEST_F(Form1PlayerLimit, ChoosingTheCheckedLimitKeepsItAndRefreshesTheTooltip) {
  Start(kRate10, TenServers());
  const size_t before = rig.trayShell.calls.size();
  Form().men_Click(1);
  EXPECT_EQ(CheckedItems(Menu(), "men"), std::vector<std::string>{"men[1]"});
  EXPECT_EQ(Menu().Item("menPlayer").caption, u"Player-Limit (4)");
  ASSERT_EQ(rig.trayShell.calls.size(), before + 1);
  EXPECT_EQ(rig.trayShell.calls.back().data.szTip, ExpectedSummary(12, 34, 10, 4, 3, 4));
}

// ---- autostart and sound --------------------------------------------------------------

using Form1Config = Form1Commands;

TEST_F(Form1Config, AutostartTogglesAndExitAppliesTheFinalState) {
  Start(kRate10, {});
  Form().menAutostart_Click();
  EXPECT_FALSE(Menu().Item("menAutostart").checked);
  EXPECT_EQ(Form().CurrentSettings().autostart, 0);
  Form().menAutostart_Click();
  EXPECT_TRUE(Menu().Item("menAutostart").checked);
  EXPECT_EQ(Form().CurrentSettings().autostart, -1);
  EXPECT_FALSE(rig.registry.Find(kRunKey, u"Quorvex").has_value());  // only the unload writes it
  Form().menExit_Click();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), kRate10);
  EXPECT_TRUE(rig.registry.Find(kRunKey, u"Quorvex").has_value());
}

TEST_F(Form1Config, AutostartClearedRemovesTheRunValueAtExit) {
  rig.registry.values[{kRunKey, u"Quorvex"}] = Text(u"\"old\"");
  Start(kRate10, {});
  Form().menAutostart_Click();
  Form().menExit_Click();
  EXPECT_FALSE(rig.registry.Find(kRunKey, u"Quorvex").has_value());
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), "minPlayers= 4\r\ncheckTime= 10\r\nsound=1\r\nautostart=0\r\nsort=0\r\n");
}

TEST_F(Form1Config, SoundTogglesAndAnOffSoundSilencesTheNextAlert) {
  Start(kLimit16, {});
  Form().menSound_Click();
  EXPECT_FALSE(Menu().Item("menSound").checked);
  EXPECT_EQ(Form().CurrentSettings().sound, 0);
  rig.ServeServers({Server(u"Busy", u"127.0.0.1", 16)});
  rig.Poll();
  EXPECT_EQ(rig.trayShell.Balloons().size(), 1u);
  EXPECT_TRUE(rig.desktop.sounds.empty());

  Form().menSound_Click();
  EXPECT_TRUE(Menu().Item("menSound").checked);
  EXPECT_EQ(Form().CurrentSettings().sound, -1);
  Form().menExit_Click();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), kLimit16);  // -1 is stored as 1
}

// ---- the update rate ------------------------------------------------------------------

TEST_F(Form1Config, ARateMovesTheCheckAndTimer1sInterval) {
  Start(kRate10, {});
  ASSERT_EQ(CheckedItems(Menu(), "menRate"), std::vector<std::string>{"menRate[1]"});
  Form().menRate_Click(4);
  EXPECT_EQ(CheckedItems(Menu(), "menRate"), std::vector<std::string>{"menRate[4]"});
  EXPECT_EQ(Form().CurrentSettings().checkTime, 40);
  EXPECT_EQ(Form().GetTimer(TimerId::Timer1).Interval, 39750);
  const auto timer1 = rig.desktop.LastChange(TimerId::Timer1);
  ASSERT_TRUE(timer1.has_value());
  EXPECT_EQ(timer1->intervalMs, 39750);
  EXPECT_TRUE(timer1->enabled);  // the wait for the next poll goes on, now 40 s long

  Form().menRate_Click(4);  // the rate already checked stays checked
  EXPECT_EQ(CheckedItems(Menu(), "menRate"), std::vector<std::string>{"menRate[4]"});
  EXPECT_EQ(Form().CurrentSettings().checkTime, 40);

  Form().menRate_Click(2);
  EXPECT_EQ(CheckedItems(Menu(), "menRate"), std::vector<std::string>{"menRate[2]"});
  EXPECT_EQ(Form().GetTimer(TimerId::Timer1).Interval, 19750);
  Form().menExit_Click();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), "minPlayers= 4\r\ncheckTime= 20\r\nsound=1\r\nautostart=1\r\nsort=0\r\n");
}

TEST_F(Form1Config, ARateChosenDuringAPollLeavesThePollRunning) {
  rig.PutSettingsFile(kRate10);
  rig.ServeLatestVersion(u"1.80");
  rig.ServeServers({Server(u"Alpha", u"127.0.0.1", 2), Server(u"Bravo", u"127.0.0.2", 3)});
  rig.Load();
  const size_t before = rig.desktop.timerChanges.size();
  rig.desktop.onYield = [&](int n) {
    if (n == 5) Form().Click("menRate", 4, Form().Snapshot());
  };
  Form().Timer3_Timer();
  // Timer1 is not started inside the poll: it comes on once, at the poll's end.
  std::vector<TimerChange> timer1;
  for (size_t i = before; i < rig.desktop.timerChanges.size(); ++i)
    if (rig.desktop.timerChanges[i].timer == TimerId::Timer1) timer1.push_back(rig.desktop.timerChanges[i]);
  ASSERT_FALSE(timer1.empty());
  for (size_t i = 0; i + 1 < timer1.size(); ++i) EXPECT_FALSE(timer1[i].enabled) << i;
  EXPECT_TRUE(timer1.back().enabled);
  EXPECT_EQ(timer1.back().intervalMs, 39750);
  EXPECT_EQ(Menu().Item("menServer").caption, u"Servers (2)");
  EXPECT_EQ(Form().Tray().Data().szTip, ExpectedSummary(3, 5, 2, 4, 0));
}

// ---- the sort column ------------------------------------------------------------------

TEST_F(Form1Config, ASortColumnMovesTheCheckAndReordersTheMenuAtOnce) {
  rig.pinger.answers = {{u"127.0.0.1", u" 80"}, {u"127.0.0.2", u" 5"}, {u"127.0.0.3", u"999"}};
  Start(kRate10, {Server(u"Alpha", u"127.0.0.1", 6), Server(u"Bravo", u"127.0.0.2", 2), Server(u"Charlie", u"127.0.0.3", 10)});
  const auto firstNames = [&] {
    std::vector<Text> names;
    for (int slot = 1; slot <= 3; ++slot) {
      const Text& line = Menu().Item("menServername", 3 * slot - 2).caption;
      names.push_back(line.substr(0, line.find(u' ')));
    }
    return names;
  };
  EXPECT_EQ(firstNames(), (std::vector<Text>{u"Alpha", u"Bravo", u"Charlie"}));
  const size_t httpBefore = rig.http.opened.size();

  Form().menSort_Click(3);
  EXPECT_EQ(CheckedItems(Menu(), "menSort"), std::vector<std::string>{"menSort[3]"});
  EXPECT_EQ(Form().CurrentSettings().sort, 3);
  EXPECT_EQ(firstNames(), (std::vector<Text>{u"Charlie", u"Alpha", u"Bravo"}));
  EXPECT_NE(Menu().Item("menServerTitle").caption.find(u"Players\u00b9"), Text::npos);

  Form().menSort_Click(5);
  EXPECT_EQ(CheckedItems(Menu(), "menSort"), std::vector<std::string>{"menSort[5]"});
  EXPECT_EQ(firstNames(), (std::vector<Text>{u"Bravo", u"Alpha", u"Charlie"}));
  EXPECT_NE(Menu().Item("menServerTitle").caption.find(u"Ping\u00b9"), Text::npos);
  EXPECT_EQ(rig.http.opened.size(), httpBefore);  // a sort downloads nothing

  Form().menExit_Click();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), "minPlayers= 4\r\ncheckTime= 10\r\nsound=1\r\nautostart=1\r\nsort=5\r\n");
}

// ---- the about box and the tray callback ----------------------------------------------

TEST_F(Form1Config, TheAboutBoxShowsTheVersionAndACreditLine) {
  Start(kRate10, {});
  Form().menAbout_Click();
  ASSERT_EQ(rig.desktop.messageBoxes.size(), 1u);
  EXPECT_EQ(rig.desktop.messageBoxes[0].caption, u"    Quorvex v1.8.3   ");
  const Text& credit = rig.desktop.messageBoxes[0].text;
  ASSERT_GE(credit.size(), 3u);
  EXPECT_EQ(credit.front(), u' ');
  EXPECT_EQ(credit.back(), u' ');
  EXPECT_NE(credit.find_first_not_of(u' '), Text::npos);
  EXPECT_EQ(credit.find(u'\n'), Text::npos);  // a single line
}

TEST(Form1TrayCallback, OnlyARightButtonPressOpensThePopup) {
  Form1Rig rig;
  rig.Load();
  // Moves, left and middle buttons, right release, double clicks and balloon clicks.
  for (uint32_t message : {0x200u, 0x201u, 0x202u, 0x203u, 0x205u, 0x206u, 0x207u, 0x208u, 0x402u, 0x404u, 0x405u}) {
    rig.Form().Form_MouseMove(message);
    EXPECT_EQ(rig.desktop.popups, 0) << std::hex << message;
  }
  const size_t trayCalls = rig.trayShell.calls.size();
  rig.Form().Form_MouseMove(0x204);
  EXPECT_EQ(rig.desktop.popups, 1);
  EXPECT_EQ(rig.trayShell.calls.size(), trayCalls);
}

TEST(Form1TrayCallback, ARecreatedNotificationAreaGetsTheIconBackAsItStood) {
  Form1Rig rig;
  rig.Form().TaskbarCreated();  // before start-up there is no icon to bring back
  EXPECT_TRUE(rig.trayShell.calls.empty());

  rig.PutSettings(4, 20, 0, 1, 0);
  rig.ServeLatestVersion(u"1.80");
  rig.ServeServers({Server(u"Busy", u"127.0.0.1", 9)});
  rig.Load();
  rig.Form().Timer3_Timer();  // an alert: balloon, then the summary with the alert icon
  const TrayIconData shown = rig.Form().Tray().Data();
  rig.Form().TaskbarCreated();
  EXPECT_EQ(rig.trayShell.calls.back().message, kNimAdd);
  EXPECT_EQ(rig.trayShell.calls.back().data.szTip, shown.szTip);
  EXPECT_EQ(rig.trayShell.calls.back().data.hIcon, FakeDesktop::kAlertIcon);
  EXPECT_EQ(rig.trayShell.calls.back().data.uID, 1u);
  EXPECT_EQ(rig.trayShell.Balloons().size(), 1u);  // the old balloon is not shown again

  rig.Form().menExit_Click();
  const size_t calls = rig.trayShell.calls.size();
  rig.Form().TaskbarCreated();  // after Exit the icon stays gone
  EXPECT_EQ(rig.trayShell.calls.size(), calls);
}

// ---- clicks routed from a popup -------------------------------------------------------

TEST(Form1Click, EachItemReachesItsHandler) {
  Form1Rig rig;
  rig.PutSettings(4, 20, 1, 1, 0);
  rig.Load();
  const PopupSnapshot popup = rig.Form().Snapshot();
  rig.Form().Click("men", 3, popup);
  EXPECT_EQ(rig.Form().CurrentSettings().minPlayers, 3);
  rig.Form().Click("menRate", 1, popup);
  EXPECT_EQ(rig.Form().CurrentSettings().checkTime, 10);
  rig.Form().Click("menSort", 2, popup);
  EXPECT_EQ(rig.Form().CurrentSettings().sort, 2);
  rig.Form().Click("menSound", -1, popup);
  EXPECT_EQ(rig.Form().CurrentSettings().sound, 0);
  rig.Form().Click("menAutostart", -1, popup);
  EXPECT_EQ(rig.Form().CurrentSettings().autostart, 0);
  rig.Form().Click("menAbout", -1, popup);
  ASSERT_EQ(rig.desktop.messageBoxes.size(), 1u);
  EXPECT_EQ(rig.desktop.messageBoxes[0].caption, u"    Quorvex v1.8.3   ");

  // Submenus, separators and the header line do nothing.
  const Settings before = rig.Form().CurrentSettings();
  const auto menu = MenuLines(rig.Form().Menu());
  for (const char* name : {"menServer", "menPlayer", "menConfig", "menSorting", "menChecktime", "menA", "menb",
                           "menServerTitle", "menblub", "menPopup"})
    rig.Form().Click(name, -1, popup);
  EXPECT_EQ(rig.Form().CurrentSettings(), before);
  EXPECT_EQ(MenuLines(rig.Form().Menu()), menu);
  EXPECT_EQ(rig.desktop.messageBoxes.size(), 1u);
  EXPECT_EQ(rig.desktop.endProgramCalls, 0);

  rig.Form().Click("menExit", -1, popup);
  EXPECT_EQ(rig.desktop.endProgramCalls, 1);
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), "minPlayers= 16\r\ncheckTime= 10\r\nsound=0\r\nautostart=0\r\nsort=2\r\n");
  // A click that was on its way when the program exited changes nothing.
  rig.Form().Click("men", 5, popup);
  EXPECT_EQ(rig.Form().CurrentSettings().minPlayers, 3);
}

}  // namespace
}  // namespace quorvex::testing
