// The menu commands, the tray callback, click routing and joining a server from its line.
#include <gtest/gtest.h>

#include "common/files.h"
#include "support/form1_fakes.h"
#include "tray/tooltip_text.h"

namespace quorvex::testing {
namespace {

// Each item reaches its handler, which writes the menu (counted by its revisions) and settings,
// but downloads and saves nothing before Exit; a checked item chosen again stays checked; a rate
// chosen during a poll lets Timer1 come on at its end. Only a right-button press opens the popup;
// a re-created notification area gets the icon back without its balloon, if it was ever there.
TEST(Form1Click, EachItemReachesItsHandlerAndOnlyExitSaves) {
  Form1Rig rig;
  rig.Form().TaskbarCreated();
  EXPECT_TRUE(rig.log.empty());
  Form1& form = rig.Start(SettingsFile(4, 10, 1, 1, 5), WithPlayers({6, 2, 10}), false);
  rig.answers = {{u"127.0.0.1", u" 80"}, {u"127.0.0.2", u" 5"}, {u"127.0.0.3", u"999"}};
  rig.onYield = [&](int n) {
    if (n == 5) form.Click("menRate", 4, form.Snapshot());
  };
  form.Timer3_Timer();
  EXPECT_EQ(rig.Entries("timer Timer1 "), (Log{"off 9750", "off 9750", "off 39750", "on 39750"}));
  EXPECT_EQ(form.MenuRevision(), 3u);  // start-up's checks, the rate, the poll's rebuild
  const size_t entries = rig.log.size();
  const PopupSnapshot popup = form.Snapshot();
  const std::tuple<const char*, int, uint64_t> clicks[] = {  // the item, and how often it writes the menu
      {"men", 3, 1},          {"men", 3, 1},           {"menRate", 4, 1},        {"menSort", 3, 2},
      {"menSound", -1, 1},    {"menAutostart", -1, 1}, {"menAutostart", -1, 1},  {"menAutostart", -1, 1},
      {"menAbout", -1, 0},    {"menServer", -1, 0},    {"menConfig", -1, 0},     {"menblub", -1, 0},
      {"menServerTitle", 1, 0}, {"menServername", 49, 0}, {"menServername", 0, 0}};
  for (const auto& [name, index, revisions] : clicks) {
    const uint64_t before = form.MenuRevision();
    form.Click(name, index, popup);
    EXPECT_EQ(form.MenuRevision(), before + revisions) << name;  // a sort writes its check and rebuilds
  }
  EXPECT_EQ(form.CurrentSettings(), (Settings{3, 40, 0, 0, 3}));
  EXPECT_EQ(Checked(form.Menu(), "men"), std::vector<int>{3});
  EXPECT_EQ(form.Menu().Item("menPlayer").caption, u"Player-Limit (16)");
  EXPECT_EQ(rig.Tip(), CutUnits(SummaryText({10, 18, 3, 16, 0}, 4), 127));  // four blanks after "Max Players:"
  EXPECT_EQ(Checked(form.Menu(), "menRate"), std::vector<int>{4});
  EXPECT_EQ(Checked(form.Menu(), "menSort"), std::vector<int>{3});  // the check left column 5
  EXPECT_FALSE(form.Menu().Item("menAutostart").checked || form.Menu().Item("menSound").checked);
  EXPECT_EQ(form.Menu().Item("menServername", 1).caption.substr(0, 2), u"S3");
  EXPECT_NE(form.Menu().Item("menServerTitle").caption.find(u"Players\u00b9"), Text::npos);
  EXPECT_EQ(Log(rig.log.begin() + entries, rig.log.end()),
            (Log{"tray modify " + ToUtf8(rig.Tip()), "tray modify " + ToUtf8(rig.Tip()), "timer Timer1 on 39750",
                 "msgbox     Quorvex v1.8.3   |     Watching the servers so you do not have to.     "}));
  for (uint32_t message : {0x200u, 0x201u, 0x202u, 0x203u, 0x204u, 0x205u, 0x206u, 0x404u})
    form.Form_MouseMove(message);
  TrayIconData shown = form.Tray().Data();  // after a balloon: limit 4, 10 players
  form.TaskbarCreated();
  shown.uFlags &= ~kNifInfo;
  EXPECT_EQ(rig.trayData.back(), shown);
  form.Click("menExit", -1, popup);
  form.Click("men", 5, popup);  // a click on its way when the program exited changes nothing
  form.TaskbarCreated();
  form.Form_MouseMove(0x204);
  EXPECT_EQ(rig.log.back(), "end");
  EXPECT_EQ(rig.Entries("popup").size(), 1u);
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), SettingsFile(16, 40, 0, 0, 3));
}

const Text kSteamExe = u"C:\\Program Files (x86)\\Steam\\steam.exe";

std::string SteamLine(const std::string& address, const std::string& port) {
  return "\"" + ToUtf8(kSteamExe) + "\" -applaunch 270150  server_address=" + address + " server_port=" + port;
}

// Alpha in slot 1, Bravo (listening above 32,767) in slot 2, Steam running.
class Form1Join : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.steamWindow = true;
    rig.values = {{kInstalledValue, int32_t{1}}, {kSteamExeValue, kSteamExe}};
    std::vector<ServerRecord> servers = {Server(u"Bravo", u"127.0.0.6", 3), Server(u"Alpha", u"127.0.0.5", 8)};
    servers[0].port = 40001;
    rig.Start("", servers);
  }
  void ClickLine(int index) { rig.Form().Click("menServername", index, rig.Form().Snapshot()); }

  Form1Rig rig;
};

// A line's click starts the server the popup showed, even after a poll moved another into its
// slot; without Steam's window through start.bat (the steam command is qt-e2e's). A hostile
// address is refused; a failed start is reported and leaves no batch file.
TEST_F(Form1Join, TheServerOfTheLineThroughSteamOrStartBat) {
  const PopupSnapshot popup = rig.Form().Snapshot();
  for (int index : {1, 2, 3, 4, 5, 6, 45, 48}) ClickLine(index);
  rig.Serve({Server(u"Bravo", u"127.0.0.6", 3), Server(u"Aaron", u"127.0.0.7", 1)});
  rig.Poll();
  rig.Form().Click("menServername", 1, popup);
  EXPECT_EQ(rig.Entries("start "), (Log{SteamLine("127.0.0.5", "27015"), SteamLine("127.0.0.5", "27015"),
                                       SteamLine("127.0.0.6", "40001"), SteamLine("127.0.0.6", "40001"),
                                       SteamLine("127.0.0.5", "27015")}));
  rig.steamWindow = false;
  rig.log.clear();
  ClickLine(4);
  const std::string batch = ToUtf8(JoinPath(rig.Folder(), u"start.bat"));
  EXPECT_EQ(rig.log, (Log{"write " + batch, "start \"" + batch + " \""}));
  EXPECT_NE(rig.FileBytes("start.bat").find("server_address=127.0.0.6 server_port=27015"), std::string::npos);
  rig.Form().menServername_Click(1, Server(u"Hostile", u"127.0.0.5&del x", 1));
  rig.startFailure = "x";
  ClickLine(1);
  EXPECT_EQ(rig.Entries("msgbox Quorvex|"),
            (Log{"This server's address cannot be joined.", "The game could not be started: x"}));
  EXPECT_EQ(rig.FileBytes("start.bat"), "(none)");
}

// A record whose name, address or port the latest reply did not write holds fields of
// different servers; its line shows them as they are, but a click starts nothing.
TEST_F(Form1Join, OnlyAServerTheLatestListGaveWholeIsJoined) {
  std::vector<ServerRecord> servers = WithPlayers({9, 5, 1});
  for (uint16_t i = 0; i < 3; ++i) servers[i].port = 1001 + i;
  rig.Serve(servers);
  rig.Poll();
  rig.Form().menSort_Click(3);
  servers[2].current_players = 12;  // S3 comes first with a port of letters: the port scan stops at it
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
