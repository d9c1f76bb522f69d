// What may reach a command line when the user joins a server, and the batch file's text.
// (The Steam command line and the batch file of a real click are checked by Form1's join tests.)
#include "join/join.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quorvex
