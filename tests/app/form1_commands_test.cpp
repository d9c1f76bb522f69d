// The menu commands, the tray callback, click routing and joining a server from its line.
#include <gtest/gtest.h>

#include "common/files.h"
#include "servers/poll_summary.h"
#include "support/form1_fakes.h"

namespace quorvex::testing {
namespace {

const std::string kRate10 = SettingsFile(4, 10, 1, 1, 0);

std::vector<ServerRecord> TenServers() {
  std::vector<ServerRecord> servers;
  const int16_t players[] = {12, 10, 5, 3, 2, 1, 1, 0, 0, 0};
  for (int i = 0; i < 10; ++i) servers.push_back(Server(u"S" + FormatPlain(i), u"127.0.0." + FormatPlain(i + 1), players[i]));
  servers[0].watchers = 3;
  return servers;
}

TEST(Form1Commands, ALimitMovesItsCheckCaptionAndTooltipButOnlyAPollAlerts) {
  Form1Rig rig;
  Form1& form = rig.Start(SettingsFile(64, 10, 1, 1, 0), TenServers());
  const int writes = rig.registry.writes;
  form.men_Click(3);
  EXPECT_EQ(Checked(form.Menu(), "men"), std::vector<int>{3});
  EXPECT_EQ(form.Menu().Item("menPlayer").caption, u"Player-Limit (16)");
  // 130 characters with four blanks after "Max Players:": the tray keeps 127.
  EXPECT_EQ(rig.Tip(), u"\r\nMax Players:     12\r\n__________________\r\n\r\nTotal Players:    34\r\n"
                       u"Servers Online: 10\r\nPlayer-Limit:     16\r\nServer Watchers: 3");
  EXPECT_EQ(form.Tray().Data().hIcon, FakeDesktop::kNormalIcon);  // 12 is below 16, but it is no poll
  EXPECT_EQ(rig.trayShell.Balloons(), 0u);
  form.men_Click(1);
  form.men_Click(1);  // the checked limit stays checked
  EXPECT_EQ(Checked(form.Menu(), "men"), std::vector<int>{1});
  EXPECT_EQ(rig.Tip(), CutUnits(SummaryText({12, 34, 10, 4, 3}, 4), 127));
  EXPECT_EQ(rig.trayShell.Balloons(), 0u);
  EXPECT_EQ(rig.registry.writes, writes);  // nothing is saved before Exit
  rig.Poll();
  EXPECT_EQ(rig.trayShell.Balloons(), 1u);
  form.men_Click(5);  // above the busiest server, but the latch and its icon wait for a poll
  EXPECT_EQ(form.Tray().Data().hIcon, FakeDesktop::kAlertIcon);
  rig.Poll();
  EXPECT_EQ(form.Tray().Data().hIcon, FakeDesktop::kNormalIcon);
  form.menExit_Click();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), SettingsFile(64, 10, 1, 1, 0));
}

TEST(Form1Commands, TogglesRateAndSortAreKeptAndSavedAtExit) {
  Form1Rig rig;
  Form1& form = rig.Start(kRate10, {Server(u"Alpha", u"127.0.0.1", 6), Server(u"Bravo", u"127.0.0.2", 2),
                                    Server(u"Charlie", u"127.0.0.3", 10)});
  rig.pinger.answers = {{u"127.0.0.1", u" 80"}, {u"127.0.0.2", u" 5"}, {u"127.0.0.3", u"999"}};
  rig.Poll();
  const size_t opened = rig.http.opened.size();
  form.menSound_Click();
  form.menAutostart_Click();
  EXPECT_EQ(form.CurrentSettings().sound, 0);
  EXPECT_FALSE(form.Menu().Item("menAutostart").checked);
  form.menAutostart_Click();
  EXPECT_EQ(form.CurrentSettings().autostart, -1);
  EXPECT_TRUE(form.Menu().Item("menAutostart").checked);
  form.menRate_Click(4);
  form.menRate_Click(4);  // the checked rate stays checked
  EXPECT_EQ(Checked(form.Menu(), "menRate"), std::vector<int>{4});
  EXPECT_EQ(form.GetTimer(TimerId::Timer1).Interval, 39750);
  EXPECT_TRUE(rig.LastChange(TimerId::Timer1)->enabled);  // the wait goes on, now 40 s long
  form.menSort_Click(3);
  EXPECT_EQ(form.Menu().Item("menServername", 1).caption.substr(0, 7), u"Charlie");
  form.menSort_Click(5);
  EXPECT_EQ(Checked(form.Menu(), "menSort"), std::vector<int>{5});
  EXPECT_EQ(form.Menu().Item("menServername", 1).caption.substr(0, 5), u"Bravo");
  EXPECT_NE(form.Menu().Item("menServerTitle").caption.find(u"Ping\u00b9"), Text::npos);
  EXPECT_EQ(rig.http.opened.size(), opened);  // a sort downloads nothing
  EXPECT_FALSE(rig.registry.Find(kRunKey, u"Quorvex"));  // only the unload writes it
  form.menExit_Click();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), SettingsFile(4, 40, 0, 1, 5));
  EXPECT_TRUE(rig.registry.Find(kRunKey, u"Quorvex"));
}

TEST(Form1Commands, ARateChosenDuringAPollLeavesThePollRunning) {
  Form1Rig rig;
  rig.Start(kRate10, {Server(u"Alpha", u"127.0.0.1", 2), Server(u"Bravo", u"127.0.0.2", 3)}, false);
  rig.desktop.onYield = [&](int n) {
    if (n == 5) rig.Form().Click("menRate", 4, rig.Form().Snapshot());
  };
  rig.log.clear();
  rig.Form().Timer3_Timer();
  // Timer1 is not started inside the poll: it comes on once, at the poll's end.
  EXPECT_EQ(std::count_if(rig.log.begin(), rig.log.end(), [](const std::string& e) { return e.rfind("timer Timer1 on", 0) == 0; }), 1);
  EXPECT_EQ(rig.log.back(), "timer Timer1 on 39750");
  EXPECT_EQ(rig.Tip(), CutUnits(SummaryText({3, 5, 2, 4, 0}, 2), 127));
}

TEST(Form1Commands, TheAboutBoxTheTrayCallbackAndARecreatedNotificationArea) {
  Form1Rig rig;
  rig.Form().TaskbarCreated();  // before start-up there is no icon to bring back
  EXPECT_TRUE(rig.trayShell.calls.empty());
  Form1& form = rig.Start(SettingsFile(4, 20, 0, 1, 0), {Server(u"Busy", u"127.0.0.1", 9)});
  form.menAbout_Click();
  EXPECT_EQ(rig.desktop.messageBoxes,
            std::vector<Text>{u"    Quorvex v1.8.3   |     Watching the servers so you do not have to.     "});
  for (uint32_t message : {0x200u, 0x201u, 0x202u, 0x203u, 0x205u, 0x206u, 0x207u, 0x208u, 0x402u, 0x404u, 0x405u})
    form.Form_MouseMove(message);
  EXPECT_EQ(rig.desktop.popups, 0);
  form.Form_MouseMove(0x204);  // a right-button press
  EXPECT_EQ(rig.desktop.popups, 1);
  TrayIconData shown = form.Tray().Data();  // the summary with the alert icon after a balloon
  form.TaskbarCreated();
  shown.uFlags &= ~kNifInfo;  // the old balloon is not shown again
  EXPECT_EQ(rig.trayShell.calls.back().message, kNimAdd);
  EXPECT_EQ(rig.trayShell.calls.back().data, shown);
  form.menExit_Click();
  const size_t calls = rig.trayShell.calls.size();
  form.TaskbarCreated();  // after Exit the icon stays gone
  form.Form_MouseMove(0x204);
  EXPECT_EQ(rig.trayShell.calls.size(), calls);
  EXPECT_EQ(rig.desktop.popups, 1);
}

TEST(Form1Click, EachItemReachesItsHandlerWhichCountsTheMenuRevisions) {
  Form1Rig rig;
  Form1& form = rig.Start(SettingsFile(4, 20, 1, 1, 5), {});
  EXPECT_EQ(form.MenuRevision(), 2u);  // start-up's checks, the first poll's rebuild
  const PopupSnapshot popup = form.Snapshot();
  struct Case {
    const char* name;
    int index;
    uint64_t revisions;  // how many times the handler wrote the menu
  };
  for (const Case& c : {Case{"men", 3, 1}, Case{"menRate", 1, 1}, Case{"menSort", 2, 2}, Case{"menSound", -1, 1},
                        Case{"menAutostart", -1, 1}, Case{"menAbout", -1, 0}, Case{"menServer", -1, 0},
                        Case{"menPlayer", -1, 0}, Case{"menConfig", -1, 0}, Case{"menA", -1, 0},
                        Case{"menServerTitle", -1, 0}, Case{"menblub", -1, 0}, Case{"menPopup", -1, 0},
                        Case{"menServerTitle", 1, 0}, Case{"menServername", 49, 0}, Case{"menServername", 0, 0}}) {
    const uint64_t before = form.MenuRevision();
    form.Click(c.name, c.index, popup);
    EXPECT_EQ(form.MenuRevision(), before + c.revisions) << c.name;  // a sort writes its check and rebuilds
  }
  EXPECT_EQ(form.CurrentSettings(), (Settings{3, 10, 0, 0, 2}));
  EXPECT_EQ(Checked(form.Menu(), "menSort"), std::vector<int>{2});  // the check left column 5
  EXPECT_EQ(rig.desktop.messageBoxes.size(), 1u);
  form.Click("menExit", -1, popup);
  form.Click("men", 5, popup);  // a click on its way when the program exited changes nothing
  EXPECT_EQ(rig.desktop.endProgramCalls, 1);
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), SettingsFile(16, 10, 0, 0, 2));
}

// ---- joining --------------------------------------------------------------------------

const Text kSteamExe = u"C:\\Program Files (x86)\\Steam\\steam.exe";

Text SteamLineOf(const Text& address, const Text& port) {
  return u"\"" + kSteamExe + u"\" -applaunch 270150  server_address=" + address + u" server_port=" + port;
}

class Form1Join : public ::testing::Test {
 protected:
  // Alpha in slot 1, Bravo in slot 2 (sorted by name); Bravo listens above 32,767.
  void SetUp() override {
    rig.InstallSteam(kSteamExe);
    ServerRecord bravo = Server(u"Bravo", u"127.0.0.6", 3);
    bravo.port = 40001;
    rig.Start("", {bravo, Server(u"Alpha", u"127.0.0.5", 8)});
  }
  void ClickLine(int index) { rig.Form().Click("menServername", index, rig.Form().Snapshot()); }
  Text BatchPath() const { return JoinPath(rig.Folder(), u"start.bat"); }
  static Text SteamLine(const Text& address, const Text& port) { return SteamLineOf(address, port); }

  Form1Rig rig;
};

TEST_F(Form1Join, SteamStartsTheGameOnTheServerOfTheLineAndSeparatorsDoNothing) {
  rig.launcher.steamWindow = true;
  for (int index : {1, 2, 3, 4, 5, 6, 45, 48}) ClickLine(index);  // a player line belongs to its server
  EXPECT_EQ(rig.launcher.started, (std::vector<Text>{SteamLine(u"127.0.0.5", u"27015"), SteamLine(u"127.0.0.5", u"27015"),
                                                     SteamLine(u"127.0.0.6", u"40001"), SteamLine(u"127.0.0.6", u"40001")}));
  EXPECT_TRUE(rig.launcher.batchFiles.empty());
  EXPECT_TRUE(rig.desktop.messageBoxes.empty());
}

TEST_F(Form1Join, WithoutASteamWindowOrSteamPathStartBatStartsTheGameFromTheParentFolder) {
  ClickLine(4);
  rig.registry.values.clear();
  Form1Rig noSteam;  // a Steam window, but no Steam path
  noSteam.launcher.steamWindow = true;
  noSteam.Start("", {Server(u"Alpha", u"127.0.0.5", 8)});
  noSteam.Form().Click("menServername", 1, noSteam.Form().Snapshot());
  for (Form1Rig* r : {&rig, &noSteam}) {
    const Text folder = r->Folder(), batch = JoinPath(folder, u"start.bat");
    auto forBatch = [](const Text& path) { return ReplaceAll(path, u"%", u"%%"); };  // "%" starts a variable
    ASSERT_EQ(r->launcher.batchFiles.size(), 1u);
    EXPECT_EQ(r->launcher.batchFiles[0].first, batch);
    EXPECT_EQ(r->launcher.batchFiles[0].second,
              u"pushd \"" + forBatch(folder) + u"\"\r\ncd..\r\nstart rwr_game.exe server_address=" +
                  (r == &rig ? u"127.0.0.6 server_port=40001" : u"127.0.0.5 server_port=27015") + u"\r\ndel \"" +
                  forBatch(batch) + u"\"\r\n");
    EXPECT_EQ(r->launcher.started, std::vector<Text>{u"\"" + batch + u" \""});
  }
  EXPECT_TRUE(AppearInOrder(rig.log, {"find-window Steam", "write " + ToUtf8(BatchPath()), "start \"" + ToUtf8(BatchPath()) + " \""}));
}

TEST_F(Form1Join, AnAddressOrPortAShellWouldMisreadIsRefusedBeforeAnythingIsWritten) {
  const std::pair<Text, uint16_t> hostile[] = {
      {u"127.0.0.1&del x", 27015}, {u"127.0.0.1\" x", 27015}, {u"%COMSPEC%", 27015}, {u"127.0.0.1^x", 27015},
      {u"127.0.0.1|x", 27015},     {u"127.0.0.1\nx", 27015},  {Text(254, u'a'), 27015}, {u"", 27015}, {u"127.0.0.1", 0}};
  for (bool steamWindow : {false, true}) {
    rig.launcher.steamWindow = steamWindow;
    for (const auto& [address, port] : hostile) {
      ServerRecord server = Server(u"Hostile", address, 1);
      server.port = port;
      rig.Form().menServername_Click(1, server);
    }
  }
  EXPECT_EQ(rig.desktop.messageBoxes, std::vector<Text>(18, u"Quorvex|This server's address cannot be joined."));
  EXPECT_TRUE(rig.launcher.batchFiles.empty() && rig.launcher.started.empty());
  rig.launcher.steamWindow = true;  // a host name goes through unchanged
  ServerRecord local = Server(u"Local", u"localhost", 1);
  local.port = 65535;
  rig.Form().menServername_Click(1, local);
  EXPECT_EQ(rig.launcher.started, std::vector<Text>{SteamLine(u"localhost", u"65535")});
}

TEST_F(Form1Join, AFailedWriteOrStartIsReportedAndLeavesNoBatchFile) {
  rig.launcher.writeFailure = "the folder is read-only";
  ClickLine(1);
  rig.launcher.writeFailure.reset();
  rig.launcher.startFailure = "cmd.exe is missing";
  ClickLine(1);
  EXPECT_FALSE(rig.FileExists("start.bat"));
  rig.launcher.steamWindow = true;
  ClickLine(1);
  EXPECT_EQ(rig.desktop.messageBoxes, (std::vector<Text>{u"Quorvex|The game could not be started: the folder is read-only",
                                                         u"Quorvex|The game could not be started: cmd.exe is missing",
                                                         u"Quorvex|The game could not be started: cmd.exe is missing"}));
}

TEST_F(Form1Join, WhereSteamsCommandIsTheWayOnlyItStartsTheGame) {
  rig.launcher.steamCommand = true;
  rig.launcher.steamWindow = true;
  rig.log.clear();
  ClickLine(4);
  EXPECT_EQ(rig.launcher.started, std::vector<Text>{u"steam -applaunch 270150 server_address=127.0.0.6 server_port=40001"});
  EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), "find-window Steam"), 0);
  rig.launcher.startFailure = "Steam was not found";
  ClickLine(1);
  EXPECT_EQ(rig.desktop.messageBoxes, std::vector<Text>{u"Quorvex|The game could not be started: Steam was not found"});
  EXPECT_TRUE(rig.launcher.batchFiles.empty());
  EXPECT_FALSE(rig.FileExists("start.bat"));
}

// A record whose name, address or port the latest reply did not write holds fields of
// different servers; its line shows them as they are, but a click starts nothing.
TEST(Form1JoinWhole, OnlyAServerTheLatestListGaveWholeIsJoined) {
  Form1Rig rig;
  rig.launcher.steamWindow = true;
  rig.InstallSteam(kSteamExe);
  std::vector<ServerRecord> servers = {Server(u"Alpha", u"127.0.0.1", 9), Server(u"Bravo", u"127.0.0.2", 5),
                                       Server(u"Charlie", u"127.0.0.3", 1)};
  for (uint16_t i = 0; i < 3; ++i) servers[i].port = 1001 + i;
  rig.Start(SettingsFile(4, 20, 1, 1, /*sort by players*/ 3), servers);
  auto clickEveryLine = [&] {
    for (int line : {1, 4, 7}) rig.Form().Click("menServername", line, rig.Form().Snapshot());
  };
  // Charlie comes first with a port of letters: the port scan stops at it.
  servers[2].current_players = 12;
  rig.Serve({servers[2], servers[0], servers[1]});
  Text& list = rig.http.replies[Form1Rig::ListUrl(3)].body;
  list = ReplaceAll(list, u"<port>1003<", u"<port>x<");
  rig.Poll();
  clickEveryLine();
  // Three servers announced, one listed: the other two records are an earlier poll's.
  rig.http.replies[Form1Rig::ListUrl(3)] = {ListReply({servers[1]})};
  rig.Poll();
  clickEveryLine();
  EXPECT_EQ(rig.launcher.started, std::vector<Text>{SteamLineOf(u"127.0.0.2", u"1002")});
  EXPECT_EQ(rig.desktop.messageBoxes, std::vector<Text>(5, u"Quorvex|This server's entry is incomplete in the latest list."));
}

TEST_F(Form1Join, AClickActsOnTheServerThePopupShowedEvenAfterALaterPoll) {
  rig.launcher.steamWindow = true;
  const PopupSnapshot popup = rig.Form().Snapshot();  // slot 1 shows Alpha
  rig.Serve({Server(u"Bravo", u"127.0.0.6", 3), Server(u"Aaron", u"127.0.0.7", 1)});
  rig.Poll();
  ASSERT_EQ(rig.Form().Servers().at(1).address, u"127.0.0.7");
  rig.Form().Click("menServername", 1, popup);
  ClickLine(1);
  EXPECT_EQ(rig.launcher.started, (std::vector<Text>{SteamLine(u"127.0.0.5", u"27015"), SteamLine(u"127.0.0.7", u"27015")}));
}

}  // namespace
}  // namespace quorvex::testing
