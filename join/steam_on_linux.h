// Joining on Linux, where Steam is the steam command, Valve's Flatpak, the Snap, or only the
// desktop's handler of steam:// links: which program starts the game, with which arguments,
// for the Steam that was found. Looking for them is the front end's part.
#pragma once
#include <optional>
#include <vector>

#include "common/text.h"
#include "join/join_link.h"
#include "servers/server_table.h"

namespace quorvex {

// The Steam client's application on Flathub.
inline constexpr char16_t kSteamFlatpakId[] = u"com.valvesoftware.Steam";

// The ways into Steam a desktop has. The first in this order is taken: the steam command is
// Steam's own, the Flatpak and the Snap take the same arguments through their runners, and a
// steam:// link goes to whatever program the desktop chose for it.
struct FoundSteam {
  bool command = false;      // `steam` on the PATH
  bool flatpak = false;      // `flatpak` on the PATH and com.valvesoftware.Steam installed
  bool snap = false;         // `snap` on the PATH and the steam Snap installed
  bool linkHandler = false;  // `xdg-open` on the PATH and a desktop entry that opens steam:// links
};

// A program and its arguments, each one entry of its argv: no shell ever reads them.
struct ProgramStart {
  Text program;  // a command name, looked up on the PATH
  std::vector<Text> arguments;

  bool operator==(const ProgramStart&) const = default;
};

// How the first Steam found starts the game on `server`; nothing when none was found.
//   steam -applaunch 270150 server_address=A server_port=P
//   flatpak run com.valvesoftware.Steam -applaunch 270150 server_address=A server_port=P
//   snap run steam -applaunch 270150 server_address=A server_port=P
//   xdg-open steam://run/270150//server_address%3DA%20server_port%3DP/
std::optional<ProgramStart> SteamJoinStart(const FoundSteam& found, const ServerRecord& server);

// What the box says when no Steam was found: every way that was looked for.
Text SteamNotFoundMessage();

// Whether a desktop entry (the text of a .desktop file) opens steam:// links: a MimeType key
// of its [Desktop Entry] group lists x-scheme-handler/steam, and it is not Hidden.
bool OpensSteamLinks(const Text& desktopEntry);

}  // namespace quorvex
