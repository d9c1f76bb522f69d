#include "tray/join.h"

#include "common/numbers.h"

namespace quorvex {

namespace {

bool IsDottedIpv4(const Text& address) {
  int parts = 0;
  size_t i = 0;
  while (i <= address.size()) {
    size_t digits = 0;
    int value = 0;
    while (i < address.size() && address[i] >= u'0' && address[i] <= u'9' && digits < 4) {
      value = value * 10 + (address[i] - u'0');
      ++i;
      ++digits;
    }
    if (digits == 0 || digits > 3 || value > 255) return false;
    ++parts;
    if (i == address.size()) break;
    if (address[i] != u'.') return false;
    ++i;
  }
  return parts == 4;
}

bool IsHostName(const Text& address) {
  if (address.empty() || address.size() > 253) return false;
  for (char16_t c : address) {
    const bool ok = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' ||
                    c == u'.';
    if (!ok) return false;
  }
  return true;
}

// In a batch file "%" starts a variable even inside quotes.
Text EscapeForBatch(const Text& text) { return ReplaceAll(text, u"%", u"%%"); }

}  // namespace

bool IsJoinable(const ServerRecord& server) {
  return server.port >= 1 && (IsDottedIpv4(server.address) || IsHostName(server.address));
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
