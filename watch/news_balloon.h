// The one "news" balloon a poll may show: a line per watched player that came online or
// moved, then a line per server that reached an alert= rule, waiting while the player-limit
// balloon has the screen; and the server a click on it joins.
#pragma once
#include <cstddef>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/text.h"
#include "watch/player_watch.h"
#include "watch/server_alerts.h"

namespace quorvex {

// What a balloon text holds at most, in UTF-16 units, and what a line keeps of a server name.
constexpr size_t kNewsTextUnits = 255;
constexpr size_t kNewsServerNameUnits = 40;

// A server name as every watch line shows it: its first 40 units, never half a surrogate pair.
Text CutServerName(const Text& serverName);

// "NAME on SERVER" or "NAME moved to SERVER", the server name cut.
Text PlayerNewsLine(const PlayerNews& news);
// "SERVER has P players", the server name cut.
Text ServerNewsLine(const ServerNews& news);
// "NAME    SERVER" (four blanks), the server name cut: a line of the Players submenu.
Text OnlinePlayerLine(const OnlinePlayer& player);

struct JoinedNews {
  Text text;
  size_t wholeLines = 0;  // how many of the lines it holds, from the first
};

// The lines joined by `separator` (CR LF on Windows, LF on Linux) when they fit in 255 units;
// otherwise as many whole lines from the first as leave room for a last line "and N more",
// N counting the lines left out.
JoinedNews JoinNewsLines(const std::vector<Text>& lines, std::u16string_view separator);

// A balloon of news, and the server of its first line, which a click on it joins; none when
// not even the first line fits and the balloon only says "and N more".
struct NewsBalloon {
  Text text;
  std::optional<ServerPlace> server;
  // The notifyCommand was already told all of it (news held back and told now): not again.
  bool commandTold = false;
};

// The news not shown yet. A poll adds its news; the caller takes the text at the first poll
// that shows no player-limit balloon.
class PendingNews {
 public:
  // A name already pending keeps its place and takes the latest event and server.
  void AddPlayerNews(const std::vector<PlayerNews>& news);
  // A server (address and port) already pending keeps its place and takes the latest name
  // and count.
  void AddServerNews(const std::vector<ServerNews>& news);
  bool IsEmpty() const { return players_.empty() && servers_.empty(); }
  // The balloon of everything pending, which is then forgotten.
  NewsBalloon TakeBalloon(std::u16string_view separator);

 private:
  // The lines in balloon order, the players' lines first, then the servers', and the server
  // of each.
  std::vector<Text> Lines() const;
  std::vector<ServerPlace> ServersOfLines() const;

  std::vector<PlayerNews> players_;
  std::unordered_map<Text, size_t> placeOfName_;  // index into players_
  std::vector<ServerNews> servers_;
  // Index into servers_ by address and port, kept as one text: the address's length, ":",
  // the address and the port, which no two servers share.
  std::unordered_map<Text, size_t> placeOfServer_;
};

}  // namespace quorvex
