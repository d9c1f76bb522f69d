// Joining a server from its menu line: through the Steam window or through start.bat,
// what is refused before anything reaches a command line, and which server a click means.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/files.h"
#include "support/form1_fakes.h"

namespace quorvex::testing {
namespace {

const Text kSteamExe = u"C:\\Program Files (x86)\\Steam\\steam.exe";

class Form1Join : public ::testing::Test {
 protected:
  // Alpha in slot 1, Bravo in slot 2 (sorted by name); Bravo listens above 32,767.
  void Start(bool steamInstalled = true) {
    if (steamInstalled) rig.InstallSteam(kSteamExe);
    ServerRecord bravo = Server(u"Bravo", u"127.0.0.6", 3);
    bravo.port = 40001;
    rig.ServeLatestVersion(u"1.80");
    rig.ServeServers({bravo, Server(u"Alpha", u"127.0.0.5", 8)});
    rig.Load();
    rig.Form().Timer3_Timer();
  }
  void ClickLine(int index) { rig.Form().Click("menServername", index, rig.Form().Snapshot()); }
  Text BatchPath() const { return JoinPath(rig.Folder(), u"start.bat"); }
  // The folder as a batch line must hold it: "%" starts a variable there, even in quotes.
  static Text ForBatch(const Text& path) { return ReplaceAll(path, u"%", u"%%"); }
  bool NothingLaunched() const {
    return rig.launcher.batchFiles.empty() && rig.launcher.started.empty() && !rig.FileExists("start.bat");
  }

  Form1Rig rig;
};

TEST_F(Form1Join, SeparatorLinesDoNothing) {
  Start();
  rig.launcher.steamWindow = true;
  for (int index : {3, 6, 9, 45, 48}) ClickLine(index);
  EXPECT_TRUE(rig.launcher.titlesLookedFor.empty());
  EXPECT_TRUE(NothingLaunched());
  EXPECT_TRUE(rig.desktop.messageBoxes.empty());
}

TEST_F(Form1Join, WithASteamWindowSteamStartsTheGameOnTheServerOfTheLine) {
  Start();
  rig.launcher.steamWindow = true;
  ClickLine(1);
  ClickLine(2);  // the player line belongs to the same server
  ClickLine(4);
  ClickLine(5);
  const Text alpha = u"\"C:\\Program Files (x86)\\Steam\\steam.exe\" -applaunch 270150  server_address=127.0.0.5 "
                     u"server_port=27015";
  const Text bravo = u"\"C:\\Program Files (x86)\\Steam\\steam.exe\" -applaunch 270150  server_address=127.0.0.6 "
                     u"server_port=40001";
  EXPECT_EQ(rig.launcher.started, (std::vector<Text>{alpha, alpha, bravo, bravo}));
  EXPECT_EQ(rig.launcher.titlesLookedFor, std::vector<Text>(4, u"Steam"));
  EXPECT_TRUE(rig.launcher.batchFiles.empty());
  EXPECT_FALSE(rig.FileExists("start.bat"));
  EXPECT_TRUE(rig.desktop.messageBoxes.empty());
}

TEST_F(Form1Join, WithoutASteamWindowStartBatStartsTheGameFromTheParentFolder) {
  Start();
  ClickLine(2);
  const Text folder = rig.Folder();
  ASSERT_NE(folder.find(u'%'), Text::npos);  // the rig's folder holds a "%" and a blank
  ASSERT_EQ(rig.launcher.batchFiles.size(), 1u);
  EXPECT_EQ(rig.launcher.batchFiles[0].first, BatchPath());
  EXPECT_EQ(rig.launcher.batchFiles[0].second,
            u"pushd \"" + ForBatch(folder) + u"\"\r\n" +                                //
                u"cd..\r\n" +                                                             //
                u"start rwr_game.exe server_address=127.0.0.5 server_port=27015\r\n" +  //
                u"del \"" + ForBatch(BatchPath()) + u"\"\r\n");
  EXPECT_EQ(rig.launcher.started, std::vector<Text>{u"\"" + BatchPath() + u" \""});
  EXPECT_TRUE(AppearInOrder(rig.log.entries, {"find-window Steam", "write " + ToUtf8(BatchPath()),
                                              "start \"" + ToUtf8(BatchPath()) + " \""}));
}

TEST_F(Form1Join, APortAbove32767GoesIntoTheBatchFileInDecimal) {
  Start();
  ClickLine(4);
  ASSERT_EQ(rig.launcher.batchFiles.size(), 1u);
  EXPECT_NE(rig.launcher.batchFiles[0].second.find(u"\r\nstart rwr_game.exe server_address=127.0.0.6 server_port=40001\r\n"),
            Text::npos);
}

TEST_F(Form1Join, ASteamWindowWithoutASteamPathUsesStartBat) {
  Start(/*steamInstalled=*/false);
  ASSERT_EQ(rig.Form().SteamExePath(), u"");
  rig.launcher.steamWindow = true;
  ClickLine(1);
  ASSERT_EQ(rig.launcher.batchFiles.size(), 1u);
  EXPECT_EQ(rig.launcher.started, std::vector<Text>{u"\"" + BatchPath() + u" \""});
}

TEST_F(Form1Join, AHostNameGoesThroughUnchanged) {
  Start();
  rig.launcher.steamWindow = true;
  ServerRecord local = Server(u"Local", u"localhost", 1);
  local.port = 65535;
  rig.Form().menServername_Click(1, local);
  EXPECT_EQ(rig.launcher.started,
            std::vector<Text>{u"\"" + kSteamExe + u"\" -applaunch 270150  server_address=localhost server_port=65535"});
}

TEST_F(Form1Join, AnAddressOrPortAShellWouldMisreadIsRefusedBeforeAnythingIsWritten) {
  Start();
  struct Case {
    const char* what;
    Text address;
    uint16_t port;
  };
  const std::vector<Case> cases = {
      {"ampersand", u"127.0.0.1&del x", 27015}, {"quote", u"127.0.0.1\" x", 27015},
      {"percent", u"%COMSPEC%", 27015},          {"caret", u"127.0.0.1^x", 27015},
      {"pipe", u"127.0.0.1|x", 27015},          {"line feed", u"127.0.0.1\nx", 27015},
      {"254 letters", Text(254, u'a'), 27015},   {"empty", u"", 27015},
      {"port 0", u"127.0.0.1", 0},
  };
  for (bool steamWindow : {false, true}) {
    rig.launcher.steamWindow = steamWindow;
    for (const Case& c : cases) {
      rig.desktop.messageBoxes.clear();
      ServerRecord hostile = Server(u"Hostile", c.address, 1);
      hostile.port = c.port;
      rig.Form().menServername_Click(1, hostile);
      ASSERT_EQ(rig.desktop.messageBoxes.size(), 1u) << c.what;
      EXPECT_EQ(rig.desktop.messageBoxes[0].caption, u"Quorvex") << c.what;
      EXPECT_FALSE(rig.desktop.messageBoxes[0].text.empty()) << c.what;
      EXPECT_TRUE(NothingLaunched()) << c.what;
    }
  }
}

TEST_F(Form1Join, AHostileAddressFromTheMasterListIsRefusedFromItsLine) {
  rig.ServeLatestVersion(u"1.80");
  rig.ServeServers({Server(u"Evil", u"127.0.0.1&calc", 4)});
  rig.Load();
  rig.Form().Timer3_Timer();
  ClickLine(1);
  ASSERT_EQ(rig.desktop.messageBoxes.size(), 1u);
  EXPECT_EQ(rig.desktop.messageBoxes[0].caption, u"Quorvex");
  EXPECT_TRUE(NothingLaunched());
}

TEST_F(Form1Join, ABatchFileThatCannotBeWrittenIsReportedAndNothingStarts) {
  Start();
  rig.launcher.writeFailure = "the folder is read-only";
  ClickLine(1);
  ASSERT_EQ(rig.desktop.messageBoxes.size(), 1u);
  EXPECT_EQ(rig.desktop.messageBoxes[0].caption, u"Quorvex");
  EXPECT_NE(rig.desktop.messageBoxes[0].text.find(u"the folder is read-only"), Text::npos);
  EXPECT_TRUE(rig.launcher.started.empty());
}

TEST_F(Form1Join, AStartThatFailsIsReportedAndLeavesNoBatchFile) {
  Start();
  rig.launcher.startFailure = "cmd.exe is missing";
  ClickLine(1);
  ASSERT_EQ(rig.desktop.messageBoxes.size(), 1u);
  EXPECT_EQ(rig.desktop.messageBoxes[0].caption, u"Quorvex");
  EXPECT_NE(rig.desktop.messageBoxes[0].text.find(u"cmd.exe is missing"), Text::npos);
  EXPECT_FALSE(rig.FileExists("start.bat"));

  rig.desktop.messageBoxes.clear();
  rig.launcher.steamWindow = true;
  rig.launcher.startFailure = "steam.exe is missing";
  ClickLine(1);
  ASSERT_EQ(rig.desktop.messageBoxes.size(), 1u);
  EXPECT_NE(rig.desktop.messageBoxes[0].text.find(u"steam.exe is missing"), Text::npos);
}

TEST_F(Form1Join, WhereSteamsCommandIsTheWayOnlyItStartsTheGame) {
  Start(false);
  rig.launcher.steamCommand = true;
  ClickLine(4);
  EXPECT_EQ(rig.launcher.started,
            (std::vector<Text>{u"steam -applaunch 270150 server_address=127.0.0.6 server_port=40001"}));
  EXPECT_TRUE(rig.launcher.titlesLookedFor.empty());
  EXPECT_TRUE(rig.launcher.batchFiles.empty());

  rig.launcher.startFailure = "Steam was not found";
  ClickLine(1);
  ASSERT_EQ(rig.desktop.messageBoxes.size(), 1u);
  EXPECT_NE(rig.desktop.messageBoxes[0].text.find(u"Steam was not found"), Text::npos);
  EXPECT_EQ(rig.launcher.started.size(), 1u);
  EXPECT_FALSE(rig.FileExists("start.bat"));
}

// A record whose name, address or port the latest reply did not write holds fields of
// different servers; its line shows them as they are, but a click starts nothing.
TEST_F(Form1Join, OnlyAServerTheLatestListGaveWholeIsJoined) {
  rig.launcher.steamWindow = true;
  rig.InstallSteam(kSteamExe);
  rig.PutSettings(4, 20, 1, 1, /*sort=*/3);  // by players
  std::vector<ServerRecord> servers = {Server(u"Alpha", u"127.0.0.1", 9), Server(u"Bravo", u"127.0.0.2", 5),
                                       Server(u"Charlie", u"127.0.0.3", 1)};
  for (uint16_t i = 0; i < 3; ++i) servers[i].port = 1001 + i;
  rig.ServeLatestVersion(u"1.80");
  rig.ServeServers(servers);
  rig.Load();
  rig.Form().Timer3_Timer();

  // Charlie comes first with a port of letters: the port scan stops at it.
  servers[2].current_players = 12;
  rig.ServeServers({servers[2], servers[0], servers[1]});
  Text& list = rig.http.replies[Form1Rig::ListUrl(3)].body;
  list = ReplaceAll(list, u"<port>1003<", u"<port>x<");
  rig.Poll();
  for (int line : {1, 4, 7}) ClickLine(line);
  // Three servers announced, one listed: the other two records are an earlier poll's.
  rig.http.replies[Form1Rig::ListUrl(3)] = {ListReply({servers[1]})};
  rig.Poll();
  for (int line : {1, 4, 7}) ClickLine(line);

  EXPECT_EQ(rig.launcher.started,
            std::vector<Text>{u"\"" + kSteamExe + u"\" -applaunch 270150  server_address=127.0.0.2 server_port=1002"});
  ASSERT_EQ(rig.desktop.messageBoxes.size(), 5u);
  for (const MessageBoxShown& box : rig.desktop.messageBoxes)
    EXPECT_EQ(box.text, u"This server's entry is incomplete in the latest list.");
}

TEST_F(Form1Join, AClickActsOnTheServerThePopupShowedEvenAfterALaterPoll) {
  rig.launcher.steamWindow = true;
  rig.InstallSteam(kSteamExe);
  rig.ServeLatestVersion(u"1.80");
  rig.ServeServers({Server(u"Bravo", u"127.0.0.6", 3), Server(u"Charlie", u"127.0.0.7", 2)});
  rig.Load();
  rig.Form().Timer3_Timer();
  const PopupSnapshot popup = rig.Form().Snapshot();  // slot 1 shows Bravo

  // A poll while the popup is open moves Alpha into slot 1.
  rig.ServeServers({Server(u"Bravo", u"127.0.0.6", 3), Server(u"Charlie", u"127.0.0.7", 2), Server(u"Alpha", u"127.0.0.5", 1)});
  rig.Poll();
  ASSERT_EQ(rig.Form().Servers().at(1).address, u"127.0.0.5");

  rig.Form().Click("menServername", 1, popup);
  rig.Form().Click("menServername", 5, rig.Form().Snapshot());  // slot 2 of the new menu: Bravo
  rig.Form().Click("menServername", 2, rig.Form().Snapshot());  // slot 1 of the new menu: Alpha
  ASSERT_EQ(rig.launcher.started.size(), 3u);
  EXPECT_NE(rig.launcher.started[0].find(u"server_address=127.0.0.6 "), Text::npos);
  EXPECT_NE(rig.launcher.started[1].find(u"server_address=127.0.0.6 "), Text::npos);
  EXPECT_NE(rig.launcher.started[2].find(u"server_address=127.0.0.5 "), Text::npos);
}

}  // namespace
}  // namespace quorvex::testing
