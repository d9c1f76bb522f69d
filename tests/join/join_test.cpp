// What may reach a command line when the user joins a server, and the batch file's text.
// (The Steam command line and the batch file of a real click are checked by Form1's join tests.)
#include "join/join.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "join/game_start.h"

namespace quorvex {
namespace {

ServerRecord Server(const Text& address, uint16_t port = 27015) { return {.address = address, .port = port}; }

// The address is a host name by the one host rule (its whole table, shell characters
// included, is in host_rules_test.cpp); port 0 cannot be joined.
TEST(JoinTest, AHostNameOnANonZeroPortIsJoinableAndNothingElse) {
  for (const Text& address : {Text(u"127.0.0.1"), Text(u"256.1.1.1"), Text(u"eu-1.games.example")})
    EXPECT_TRUE(IsJoinable(Server(address))) << ToUtf8(address);
  for (const Text& address : {Text(u""), Text(u"1.2.3.4&del x"), Text(u"%PATH%"), Text(u"a\r\nb"), Text(64, u'a')})
    EXPECT_FALSE(IsJoinable(Server(address))) << ToUtf8(address);
  for (uint16_t port : {0, 1, 65535}) EXPECT_EQ(IsJoinable(Server(u"127.0.0.1", port)), port != 0) << port;
}

TEST(JoinTest, TheBatchFileQuotesTheFolderAndDoublesPercentSigns) {
  EXPECT_EQ(StartBatchText(u"C:\\R & D 100%", u"C:\\R & D 100%\\start.bat", Server(u"127.0.0.9")),
            u"pushd \"C:\\R & D 100%%\"\r\ncd..\r\nstart rwr_game.exe server_address=127.0.0.9 server_port=27015\r\n"
            u"del \"C:\\R & D 100%%\\start.bat\"\r\n");
}

// A running Steam client: every start is kept.
struct SteamRunning : Launcher {
  bool FindWindowByTitle(const Text& title) override { return title == u"Steam"; }
  void WriteBatchFile(const Text&, const Text&) override {}
  void StartHidden(const Text& commandLine) override { started.push_back(commandLine); }
  std::vector<Text> started;
};

// A server known by a reply's texts goes through the list's own reading of them and then the
// same checks as a menu line: a port that is no port leaves the record incomplete, an address
// with command characters is refused, a port with blanks or a fraction reads as in the table.
TEST(RecordToJoin, ReadsTheTextsAsTheListDoesAndJoinsOnlyWhatALineWould) {
  const Text incomplete = u"This server's entry is incomplete in the latest list.";
  const Text refused = u"This server's address cannot be joined.";
  const std::tuple<Text, Text, Text, Text> cases[] = {  // address, port, message, what starts
      {u"127.0.0.2", u"40000", u"", u"\"S\" -applaunch 270150  server_address=127.0.0.2 server_port=40000"},
      {u"eu.example", u" 27015.4 ", u"", u"\"S\" -applaunch 270150  server_address=eu.example server_port=27015"},
      {u"127.0.0.2", u"x", incomplete, u""},
      {u"127.0.0.2", u"65536", incomplete, u""},
      {u"127.0.0.2", u"", incomplete, u""},
      {u"127.0.0.2", u"0", refused, u""},
      {u"127.0.0.2&calc", u"40000", refused, u""},
      {u"", u"40000", refused, u""},
  };
  for (const auto& [address, port, message, start] : cases) {
    SteamRunning steam;
    const ServerRecord record = RecordToJoin(u"R&D", address, port);
    EXPECT_EQ(record.name, u"R&D");
    EXPECT_EQ(JoinServer(steam, {u"S", u"/q"}, record), message) << ToUtf8(address + u":" + port);
    EXPECT_EQ(steam.started, start.empty() ? std::vector<Text>{} : std::vector<Text>{start}) << ToUtf8(port);
  }
}

}  // namespace
}  // namespace quorvex
