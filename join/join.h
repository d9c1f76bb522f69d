// The command lines and the batch file that start the game on a server.
#pragma once
#include <vector>

#include "common/text.h"
#include "servers/server_table.h"

namespace quorvex {

// Whether the address and port can go into a command line safely: a host name or dotted
// IPv4 address by IsHostName (common/host_rules.h) and a port 1..65535. Both come from the
// network, and a command interpreter would run anything else.
bool IsJoinable(const ServerRecord& server);

// Whether the latest list reply wrote the record's name, address and port: a record whose
// fields come from different polls (a port scan that stopped early, a list shorter than its
// count) would join a server other than the one its line names.
bool IsCompleteInLatestList(const ServerRecord& server);

// The game's Steam application id.
inline constexpr char16_t kSteamAppId[] = u"270150";

// " server_address=ADDRESS server_port=PORT"; begins with a blank.
Text LaunchArguments(const ServerRecord& server);
// The same as the game's own arguments: server_address=ADDRESS and server_port=PORT.
std::vector<Text> GameArguments(const ServerRecord& server);
// "\"STEAM\" -applaunch 270150  server_address=... server_port=..." (two blanks, as written).
Text SteamCommandLine(const Text& steamExePath, const ServerRecord& server);
// The steam command's arguments: -applaunch 270150 server_address=... server_port=...
std::vector<Text> SteamCommandArguments(const ServerRecord& server);
// The four CR LF lines of start.bat: change to the program folder, go up, start, delete.
Text StartBatchText(const Text& programFolder, const Text& batchPath, const ServerRecord& server);
// The quoted batch path, with the blank before the closing quote.
Text StartBatchCommand(const Text& batchPath);

}  // namespace quorvex
