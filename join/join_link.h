// The steam:// link that starts the game on a server: what a desktop's link handler is given
// to join (join/steam_on_linux.h), and what the notifyCommand is told (QUORVEX_JOIN_URL).
#pragma once
#include "common/text.h"
#include "servers/server_table.h"

namespace quorvex {

// Steam's link that runs an application with a command line, steam://run/APPID//COMMAND LINE/
// (the empty segment is the language), the game's arguments joined by blanks and
// percent-encoded, so that no character of them ends the segment or reaches a shell:
//   steam://run/270150//server_address%3DA%20server_port%3DP/
Text SteamRunLink(const ServerRecord& server);

// The UTF-8 bytes of `text`, each one but the letters, digits and "-._~" written as %XX.
Text PercentEncoded(const Text& text);

}  // namespace quorvex
