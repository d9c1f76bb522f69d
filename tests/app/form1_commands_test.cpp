// The menu commands, the tray callback, click routing and joining a server from its line.
#include <gtest/gtest.h>

#include "common/files.h"
#include "servers/poll_summary.h"
#include "support/form1_fakes.h"

namespace quorvex::testing {
namespace {

TEST(Form1Commands, ALimitMovesItsCheckCaptionAndTooltipButOnlyAPollAlerts) {
  Form1Rig rig;
  std::vector<ServerRecord> servers(8, Server(u"S", u"127.0.0.3", 0));
  servers.push_back(Server(u"A", u"127.0.0.1", 12));
  servers.push_back(Server(u"B", u"127.0.0.2", 22, u"1.79"));
  servers[8].watchers = 3;  // the first record's, sorted by name
  Form1& form = rig.Start(SettingsFile(64, 10, 1, 1, 0), servers);
  form.men_Click(1);
  form.men_Click(1);  // the checked limit stays checked
  EXPECT_EQ(Checked(form.Menu(), "men"), std::vector<int>{1});
  EXPECT_EQ(form.Menu().Item("menPlayer").caption, u"Player-Limit (4)");
  EXPECT_EQ(rig.Tip(), CutUnits(SummaryText({12, 34, 10, 4, 3}, 4), 127));  // four blanks after "Max Players:"
  EXPECT_EQ(rig.Icon(), Form1Rig::kNormalIcon);  // 12 is above 4, but it is no poll
  rig.Poll();
  EXPECT_EQ(rig.Entries("tray balloon").size(), 1u);
  form.men_Click(5);  // above the busiest server, but the latch and its icon wait for a poll
  EXPECT_EQ(rig.Icon(), Form1Rig::kAlertIcon);
  rig.Poll();
  EXPECT_EQ(rig.Icon(), Form1Rig::kNormalIcon);
}

TEST(Form1Commands, TheAboutBoxTheTrayCallbackAndARecreatedNotificationArea) {
  Form1Rig rig;
  rig.Form().TaskbarCreated();  // before start-up there is no icon to bring back
  EXPECT_TRUE(rig.log.empty());
  Form1& form = rig.Start(SettingsFile(4, 20, 0, 1, 0), {Server(u"Busy", u"127.0.0.1", 9)});
  form.menAbout_Click();
  for (uint32_t message : {0x200u, 0x201u, 0x202u, 0x203u, 0x204u, 0x205u, 0x206u, 0x404u}) form.Form_MouseMove(message);
  TrayIconData shown = form.Tray().Data();  // the summary with the alert icon after a balloon
  form.TaskbarCreated();
  shown.uFlags &= ~kNifInfo;  // the old balloon is not shown again
  EXPECT_EQ(rig.trayData.back(), shown);
  form.menExit_Click();
  form.TaskbarCreated();  // after Exit the icon stays gone
  form.Form_MouseMove(0x204);
  EXPECT_EQ(rig.log.back(), "end");
  EXPECT_EQ(rig.Entries("popup").size(), 1u);  // for the right-button press before Exit only
  EXPECT_EQ(rig.Entries("msgbox "), Log{"    Quorvex v1.8.3   |     Watching the servers so you do not have to.     "});
}

// Each item reaches its handler, which writes the menu (counted by its revisions) and the
// settings, but downloads and saves nothing before Exit; a checked item chosen again stays
// checked. A rate chosen during a poll leaves the poll running: Timer1 comes on at its end.
TEST(Form1Click, EachItemReachesItsHandlerAndOnlyExitSaves) {
  Form1Rig rig;
  Form1& form = rig.Start(SettingsFile(4, 10, 1, 1, 5), WithPlayers({6, 2, 10}), false);
  rig.answers = {{u"127.0.0.1", u" 80"}, {u"127.0.0.2", u" 5"}, {u"127.0.0.3", u"999"}};
  rig.onYield = [&](int n) {
    if (n == 5) form.Click("menRate", 4, form.Snapshot());
  };
  form.Timer3_Timer();
  EXPECT_EQ(rig.Entries("timer Timer1 "), (Log{"off 9750", "off 9750", "off 39750", "on 39750"}));
  EXPECT_EQ(form.MenuRevision(), 3u);  // start-up's checks, the rate, the poll's rebuild
  EXPECT_EQ(form.Menu().Item("menServername", 1).caption.substr(0, 2), u"S2");  // by ping
  const size_t entries = rig.log.size();
  const PopupSnapshot popup = form.Snapshot();
  const std::tuple<const char*, int, uint64_t> clicks[] = {  // the item, and how often it writes the menu
      {"men", 3, 1},           {"menRate", 4, 1},        {"menSort", 3, 2},        {"menSound", -1, 1},
      {"menAutostart", -1, 1}, {"menAutostart", -1, 1},  {"menAutostart", -1, 1},  {"menAbout", -1, 0},
      {"menServer", -1, 0},    {"menConfig", -1, 0},     {"menblub", -1, 0},       {"menServerTitle", 1, 0},
      {"menServername", 49, 0}, {"menServername", 0, 0}};
  for (const auto& [name, index, revisions] : clicks) {
    const uint64_t before = form.MenuRevision();
    form.Click(name, index, popup);
    EXPECT_EQ(form.MenuRevision(), before + revisions) << name;  // a sort writes its check and rebuilds
  }
  EXPECT_EQ(form.CurrentSettings(), (Settings{3, 40, 0, 0, 3}));
  EXPECT_EQ(Checked(form.Menu(), "men"), std::vector<int>{3});
  EXPECT_EQ(Checked(form.Menu(), "menRate"), std::vector<int>{4});
  EXPECT_EQ(Checked(form.Menu(), "menSort"), std::vector<int>{3});  // the check left column 5
  EXPECT_FALSE(form.Menu().Item("menAutostart").checked || form.Menu().Item("menSound").checked);
  EXPECT_EQ(form.Menu().Item("menServername", 1).caption.substr(0, 2), u"S3");
  EXPECT_NE(form.Menu().Item("menServerTitle").caption.find(u"Players\u00b9"), Text::npos);
  EXPECT_EQ(rig.log.size(), entries + 3);  // the limit's tooltip, the rate's timer change, the about box
  form.Click("menExit", -1, popup);
  form.Click("men", 5, popup);  // a click on its way when the program exited changes nothing
  EXPECT_EQ(rig.Entries("end").size(), 1u);
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), SettingsFile(16, 40, 0, 0, 3));
}

// ---- joining --------------------------------------------------------------------------

const Text kSteamExe = u"C:\\Program Files (x86)\\Steam\\steam.exe";

std::string SteamLine(const std::string& address, const std::string& port) {
  return "\"" + ToUtf8(kSteamExe) + "\" -applaunch 270150  server_address=" + address + " server_port=" + port;
}

// Alpha in slot 1, Bravo (listening above 32,767) in slot 2, Steam running.
class Form1Join : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.steamWindow = true;
    rig.values[kInstalledValue] = int32_t{1};
    rig.values[kSteamExeValue] = kSteamExe;
    ServerRecord bravo = Server(u"Bravo", u"127.0.0.6", 3);
    bravo.port = 40001;
    rig.Start("", {bravo, Server(u"Alpha", u"127.0.0.5", 8)});
  }
  void ClickLine(int index) { rig.Form().Click("menServername", index, rig.Form().Snapshot()); }

  Form1Rig rig;
};

// A player line belongs to the server above it; a click acts on the server the popup showed,
// even after a later poll moved another into its slot.
TEST_F(Form1Join, SteamStartsTheGameOnTheServerOfTheLineAndSeparatorsDoNothing) {
  const PopupSnapshot popup = rig.Form().Snapshot();
  for (int index : {1, 2, 3, 4, 5, 6, 45, 48}) ClickLine(index);
  rig.Serve({Server(u"Bravo", u"127.0.0.6", 3), Server(u"Aaron", u"127.0.0.7", 1)});
  rig.Poll();
  rig.Form().Click("menServername", 1, popup);
  EXPECT_EQ(rig.Entries("start "), (Log{SteamLine("127.0.0.5", "27015"), SteamLine("127.0.0.5", "27015"),
                                       SteamLine("127.0.0.6", "40001"), SteamLine("127.0.0.6", "40001"),
                                       SteamLine("127.0.0.5", "27015")}));
  EXPECT_TRUE(rig.Entries("write").empty() && rig.Entries("msgbox").empty());
}

// Through the steam command where that is the way (as on Linux), else through a running Steam
// whose path is known, else through start.bat. An address a shell would misread is refused
// first; a failed write or start is reported and leaves no batch file.
TEST(Form1JoinWay, EachWayOfStartingTheGameAndEachRefusal) {
  const std::string steamLine = SteamLine("127.0.0.5", "27015"), batch = "batch",
                    steamCommand = "steam -applaunch 270150 server_address=127.0.0.5 server_port=27015",
                    refused = "This server's address cannot be joined.", failed = "The game could not be started: ";
  const struct {
    bool steamWindow, steamPath, steamCommand;
    Text address;
    std::optional<std::string> writeFailure, startFailure;
    std::string started, box;
  } cases[] = {{true, true, false, u"127.0.0.5", {}, {}, steamLine, ""},
               {false, true, false, u"127.0.0.5", {}, {}, batch, ""},
               {true, false, false, u"127.0.0.5", {}, {}, batch, ""},
               {true, true, true, u"127.0.0.5", {}, {}, steamCommand, ""},
               {true, true, false, u"127.0.0.5&del x", {}, {}, "", refused},
               {false, true, false, u"127.0.0.5&del x", {}, {}, "", refused},
               {false, true, false, u"127.0.0.5", "read-only", {}, "", failed + "read-only"},
               {false, true, false, u"127.0.0.5", {}, "no cmd.exe", batch, failed + "no cmd.exe"},
               {true, true, false, u"127.0.0.5", {}, "no Steam", steamLine, failed + "no Steam"},
               {true, true, true, u"127.0.0.5", {}, "no Steam", steamCommand, failed + "no Steam"}};
  for (const auto& c : cases) {
    Form1Rig rig;
    rig.steamWindow = c.steamWindow;
    rig.steamCommand = c.steamCommand;
    if (c.steamPath) rig.values = {{kInstalledValue, int32_t{1}}, {kSteamExeValue, kSteamExe}};
    rig.Start("", {Server(u"Alpha", c.address, 8)});
    rig.writeFailure = c.writeFailure;
    rig.startFailure = c.startFailure;
    rig.Form().Click("menServername", 1, rig.Form().Snapshot());
    const std::string batchCommand = "\"" + ToUtf8(JoinPath(rig.Folder(), u"start.bat")) + " \"";
    SCOPED_TRACE(c.started + " " + c.box);
    EXPECT_EQ(rig.Entries("start "), c.started.empty() ? Log{} : Log{c.started == batch ? batchCommand : c.started});
    EXPECT_EQ(rig.Entries("msgbox Quorvex|"), c.box.empty() ? Log{} : Log{c.box});
    const bool batchStays = c.started == batch && !c.startFailure;
    EXPECT_EQ(rig.FileBytes("start.bat").find("start rwr_game.exe server_address=127.0.0.5 server_port=27015\r\n") <
                  std::string::npos,
              batchStays);
  }
}

// A record whose name, address or port the latest reply did not write holds fields of
// different servers; its line shows them as they are, but a click starts nothing.
TEST_F(Form1Join, OnlyAServerTheLatestListGaveWholeIsJoined) {
  std::vector<ServerRecord> servers = {Server(u"Alpha", u"127.0.0.1", 9), Server(u"Bravo", u"127.0.0.2", 5),
                                       Server(u"Charlie", u"127.0.0.3", 1)};
  for (uint16_t i = 0; i < 3; ++i) servers[i].port = 1001 + i;
  rig.Serve(servers);
  rig.Poll();
  rig.Form().menSort_Click(3);
  servers[2].current_players = 12;  // Charlie comes first with a port of letters: the port scan stops at it
  rig.Serve({servers[2], servers[0], servers[1]});
  rig.replies[Form1Rig::ListUrl(3)] = ReplaceAll(rig.replies[Form1Rig::ListUrl(3)], u"<port>1003<", u"<port>x<");
  rig.Poll();
  for (int line : {1, 4, 7}) ClickLine(line);
  rig.replies[Form1Rig::ListUrl(3)] = ListReply({servers[1]});  // three announced, one listed
  rig.Poll();
  for (int line : {1, 4, 7}) ClickLine(line);
  EXPECT_EQ(rig.Entries("start "), Log{SteamLine("127.0.0.2", "1002")});
  EXPECT_EQ(rig.Entries("msgbox "), Log(5, "Quorvex|This server's entry is incomplete in the latest list."));
}

}  // namespace
}  // namespace quorvex::testing
