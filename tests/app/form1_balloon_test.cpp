// A click on a balloon: the server each balloon remembers, and the join a click starts, which
// is a menu line's join. What a news balloon's lines are is the watch's own tests'.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "common/files.h"
#include "support/form1_fakes.h"

namespace quorvex::testing {
namespace {

const Text kSteamExe = u"C:\\Steam\\steam.exe";

std::string SteamLine(const std::string& address, int port) {
  return "\"" + ToUtf8(kSteamExe) + "\" -applaunch 270150  server_address=" + address +
         " server_port=" + std::to_string(port);
}

// A server of the latest version on 127.0.0.N, port 40000 + N, with these players.
ServerRecord On(int n, int16_t players, const Text& names = u"", const Text& version = u"1.80") {
  ServerRecord server = Server(u"S" + FormatPlain(n), u"127.0.0." + FormatPlain(n), players, version);
  server.port = static_cast<uint16_t>(40000 + n);
  server.player_names = names;
  return server;
}

// A rig with Steam running, started with the limit 8 and these lines after the five.
void StartWithSteam(Form1Rig& rig, const std::string& lines, const std::vector<ServerRecord>& servers) {
  rig.steamWindow = true;
  rig.values = {{kInstalledValue, int32_t{1}}, {kSteamExeValue, kSteamExe}};
  rig.Start(SettingsFile(8, 20, 0, 0, 0) + lines, servers);
}

// Clicks the balloon as the shell reports it and returns what started ("" for nothing).
std::string ClickBalloon(Form1Rig& rig) {
  rig.log.clear();
  rig.Form().Form_MouseMove(kBalloonUserClick);
  const Log started = rig.Entries("start ");
  EXPECT_LE(started.size(), 1u);
  return started.empty() ? "" : started[0];
}

// The join the latest notifyCommand was told of, as a click would start it ("" for none).
std::string ToldJoin(Form1Rig& rig) {
  const std::vector<CommandRequest> commands = rig.Commands();
  if (commands.empty()) return "";
  std::map<Text, Text> variables(commands.back().environment.begin(), commands.back().environment.end());
  const std::string address = ToUtf8(variables.at(u"QUORVEX_SERVER_ADDRESS"));
  if (address.empty()) return "";
  const std::string port = ToUtf8(variables.at(u"QUORVEX_SERVER_PORT"));
  EXPECT_EQ(ToUtf8(variables.at(u"QUORVEX_JOIN_URL")),
            "steam://run/270150//server_address%3D" + address + "%20server_port%3D" + port + "/");
  return SteamLine(address, std::stoi(port));
}

struct BalloonCase {
  const char* what;
  std::string lines;
  std::vector<std::vector<ServerRecord>> polls;  // the first at start-up; a click after each
  std::vector<std::string> joined;               // by each click
};

// The limit balloon remembers the busiest server of the latest version (the first of equals),
// a news balloon the server of its first line as shown, a later balloon replaces an earlier
// one, and a balloon about no single server, or none yet, remembers nothing.
TEST(Form1Balloon, EachBalloonRemembersItsServerAndAClickJoinsIt) {
  const Text longName(250, u'n');
  const BalloonCase cases[] = {
      {"no balloon yet", "", {{On(1, 3)}}, {""}},
      {"the limit balloon",
       "",
       {{On(1, 3), On(2, 9), On(3, 12, u"", u"1.70"), On(4, 9)}},
       {SteamLine("127.0.0.2", 40002)}},
      {"a watched player's news", "watch=ann\r\nwatch=cy\r\n", {{On(1, 1, u"Bo"), On(2, 1, u"Cy"), On(3, 1, u"Ann")}},
       {SteamLine("127.0.0.2", 40002)}},
      {"a rule's news", "alert=2 s3\r\n", {{On(1, 1), On(2, 1), On(3, 2)}}, {SteamLine("127.0.0.3", 40003)}},
      {"news that waited behind the limit balloon, merged with the next poll's",
       "watch=ann\r\nwatch=bo\r\n",
       {{On(1, 9, u"Ann"), On(2, 1, u"Bo")}, {On(1, 3), On(2, 1, u"Bo"), On(3, 1, u"Ann")}},
       {SteamLine("127.0.0.1", 40001), SteamLine("127.0.0.3", 40003)}},
      {"a later balloon about no single server",
       "watch=n*\r\n",
       {{On(1, 9)}, {On(1, 3), On(2, 1, longName)}},
       {SteamLine("127.0.0.1", 40001), ""}},
  };
  for (const BalloonCase& test : cases) {
    SCOPED_TRACE(test.what);
    Form1Rig rig;
    StartWithSteam(rig, test.lines + "notifyCommand=ok\r\n", test.polls[0]);
    std::vector<std::string> joined = {ClickBalloon(rig)}, told = {ToldJoin(rig)};
    for (size_t poll = 1; poll < test.polls.size(); ++poll) {
      rig.Serve(test.polls[poll]);
      rig.Poll();
      joined.push_back(ClickBalloon(rig));
      told.push_back(ToldJoin(rig));
    }
    EXPECT_EQ(joined, test.joined);
    EXPECT_EQ(told, test.joined);  // the notifyCommand is told the server the click joins
    EXPECT_EQ(rig.Entries("msgbox "), Log{});
  }
}

// The join is a menu line's: through Steam or start.bat, by the remembered address and port
// whatever the list says now. Names with shell or batch characters never reach the command
// line; an address that may not goes through the same refusal as a line's. The balloon's
// other news, a click after Exit and a click during a poll are as a menu click is then.
TEST(Form1Balloon, AClickJoinsTheRememberedServerAsItsMenuLineWould) {
  Form1Rig rig;
  StartWithSteam(rig, "watch=a*\r\n", {On(1, 1), On(2, 1, u"a&b %PATH% | del *")});
  rig.Serve({On(5, 1)});  // the balloon's server is no longer listed
  rig.Poll();
  EXPECT_EQ(ClickBalloon(rig), SteamLine("127.0.0.2", 40002));
  rig.log.clear();
  for (uint32_t other : {0x402u, 0x403u, 0x404u, 0x200u, 0x201u}) rig.Form().Form_MouseMove(other);
  EXPECT_EQ(rig.Entries("start "), Log{});
  rig.steamWindow = false;
  const std::string batch = ToUtf8(JoinPath(rig.Folder(), u"start.bat"));
  EXPECT_EQ(ClickBalloon(rig), "\"" + batch + " \"");
  EXPECT_NE(rig.FileBytes("start.bat").find("start rwr_game.exe server_address=127.0.0.2 server_port=40002\r\n"),
            std::string::npos);
  rig.steamWindow = true;

  // A click in the middle of a poll joins the balloon shown before it.
  std::vector<ServerRecord> hostile = {On(6, 1, u"ann")};
  hostile[0].address = u"127.0.0.6&calc";
  rig.Serve(hostile);
  RunHandler([&] { rig.Form().TimerTick(TimerId::Timer1); });
  const int firstYield = rig.yields + 1;
  rig.onYield = [&](int n) {
    if (n == firstYield) rig.Form().Form_MouseMove(kBalloonUserClick);
  };
  rig.log.clear();
  RunHandler([&] { rig.Form().TimerTick(TimerId::Timer3); });
  rig.onYield = nullptr;
  EXPECT_EQ(rig.Entries("start "), Log{SteamLine("127.0.0.2", 40002)});
  // Ann's balloon remembers an address no command line may hold.
  EXPECT_EQ(ClickBalloon(rig), "");
  EXPECT_EQ(rig.Entries("msgbox "), Log{"Quorvex|This server's address cannot be joined."});

  // A port that is no port leaves the remembered record incomplete, as the table's reading would.
  rig.Serve({On(7, 1, u"amy")});
  rig.replies[Form1Rig::ListUrl(1)] = ReplaceAll(rig.replies[Form1Rig::ListUrl(1)], u"<port>40007<", u"<port>x<");
  rig.Poll();
  EXPECT_EQ(ClickBalloon(rig), "");
  EXPECT_EQ(rig.Entries("msgbox "), Log{"Quorvex|This server's entry is incomplete in the latest list."});

  // A front end that keeps each balloon's server clicks an older one; one about none does nothing.
  rig.log.clear();
  rig.Form().BalloonClick(On(9, 1));
  rig.Form().BalloonClick(std::nullopt);
  EXPECT_EQ(rig.log, Log{"start " + SteamLine("127.0.0.9", 40009)});

  rig.Form().menExit_Click();
  rig.log.clear();
  rig.Form().Form_MouseMove(kBalloonUserClick);
  rig.Form().BalloonClick(On(9, 1));
  EXPECT_EQ(rig.log, Log{});
}

}  // namespace
}  // namespace quorvex::testing
