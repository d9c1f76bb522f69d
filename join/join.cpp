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

std::vector<Text> GameArguments(const ServerRecord& server) {
  return {u"server_address=" + server.address, u"server_port=" + FormatPlain(server.port)};
}

Text LaunchArguments(const ServerRecord& server) {
  Text text;
  for (const Text& argument : GameArguments(server)) text += u" " + argument;
  return text;
}

Text SteamCommandLine(const Text& steamExePath, const ServerRecord& server) {
  return u"\"" + steamExePath + u"\" -applaunch " + kSteamAppId + u" " + LaunchArguments(server);
}

std::vector<Text> SteamCommandArguments(const ServerRecord& server) {
  std::vector<Text> arguments{u"-applaunch", kSteamAppId};
  for (Text& argument : GameArguments(server)) arguments.push_back(std::move(argument));
  return arguments;
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
