#include "join/join.h"

#include "common/host_rules.h"
#include "common/numbers.h"

namespace quorvex {

namespace {

// In a batch file "%" starts a variable even inside quotes.
Text EscapeForBatch(const Text& text) { return ReplaceAll(text, u"%", u"%%"); }

}  // namespace

bool IsJoinable(const ServerRecord& server) {
  return IsPortNumber(server.port) && IsHostName(server.address);
}

bool IsCompleteInLatestList(const ServerRecord& server) {
  constexpr uint16_t kJoinFields = kNameBit | kAddressBit | kPortBit;
  return (server.fromLatestReply & kJoinFields) == kJoinFields;
}

Text LaunchArguments(const ServerRecord& server) {
  return u" server_address=" + server.address + u" server_port=" + FormatPlain(server.port);
}

Text SteamCommandLine(const Text& steamExePath, const ServerRecord& server) {
  return u"\"" + steamExePath + u"\"" + u" -applaunch 270150 " + LaunchArguments(server);
}

std::vector<Text> SteamCommandArguments(const ServerRecord& server) {
  return {u"-applaunch", u"270150", u"server_address=" + server.address, u"server_port=" + FormatPlain(server.port)};
}

Text StartBatchText(const Text& programFolder, const Text& batchPath, const ServerRecord& server) {
  const Text crlf = u"\r\n";
  return u"pushd \"" + EscapeForBatch(programFolder) + u"\"" + crlf +  //
         u"cd.." + crlf +                                              //
         u"start rwr_game.exe" + LaunchArguments(server) + crlf +      //
         u"del \"" + EscapeForBatch(batchPath) + u"\"" + crlf;
}

Text StartBatchCommand(const Text& batchPath) { return u"\"" + batchPath + u" \""; }

}  // namespace quorvex
