// What may reach a command line when the user joins a server, and the texts that do.
#include "tray/join.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

ServerRecord Server(const Text& address, uint16_t port) {
  ServerRecord server;
  server.address = address;
  server.port = port;
  return server;
}

TEST(JoinTest, DottedAddressesAndHostNamesAreJoinable) {
  for (const Text& address : {Text(u"127.0.0.1"), Text(u"255.255.255.255"), Text(u"0.0.0.0"), Text(u"localhost"),
                              Text(u"eu-1.games.example"), Text(u"AZ-09.az"), Text(253, u'a')}) {
    EXPECT_TRUE(IsJoinable(Server(address, 27015))) << ToUtf8(address);
  }
  EXPECT_TRUE(IsJoinable(Server(u"127.0.0.1", 1)));
  EXPECT_TRUE(IsJoinable(Server(u"127.0.0.1", 65535)));
}

TEST(JoinTest, AnythingAShellWouldReadIsRefused) {
  for (const Text& address :
       {Text(u""), Text(u"1.2.3.4&del x"), Text(u"1.2.3.4\"x"), Text(u"%PATH%"), Text(u"a^b"), Text(u"a|b"),
        Text(u"a\r\nb"), Text(u"a b"), Text(u"a<b"), Text(u"a>b"), Text(u"a;b"), Text(u"\u00e9t\u00e9"), Text(254, u'a')}) {
    EXPECT_FALSE(IsJoinable(Server(address, 27015))) << ToUtf8(address);
  }
  EXPECT_FALSE(IsJoinable(Server(u"127.0.0.1", 0)));
}

TEST(JoinTest, ANumericAddressOutOfRangeIsStillAPlainHostName) {
  // Digits and dots only: harmless on a command line, so it goes through as a name.
  EXPECT_TRUE(IsJoinable(Server(u"256.1.1.1", 27015)));
  EXPECT_TRUE(IsJoinable(Server(u"1.2.3", 27015)));
}

TEST(JoinTest, TheSteamCommandLineHasTwoBlanksBeforeTheAddress) {
  EXPECT_EQ(SteamCommandLine(u"C:\\Program Files (x86)\\Steam\\steam.exe", Server(u"127.0.0.5", 40001)),
            u"\"C:\\Program Files (x86)\\Steam\\steam.exe\" -applaunch 270150  server_address=127.0.0.5 "
            u"server_port=40001");
}

TEST(JoinTest, TheBatchFileQuotesTheFolderAndDoublesPercentSigns) {
  const Text folder = u"C:\\Games\\R & D 100%\\Quorvex";
  const Text batch = folder + u"\\start.bat";
  EXPECT_EQ(StartBatchText(folder, batch, Server(u"127.0.0.9", 27015)),
            u"pushd \"C:\\Games\\R & D 100%%\\Quorvex\"\r\n"
            u"cd..\r\n"
            u"start rwr_game.exe server_address=127.0.0.9 server_port=27015\r\n"
            u"del \"C:\\Games\\R & D 100%%\\Quorvex\\start.bat\"\r\n");
  EXPECT_EQ(StartBatchCommand(batch), u"\"C:\\Games\\R & D 100%\\Quorvex\\start.bat \"");
}

}  // namespace
}  // namespace quorvex
