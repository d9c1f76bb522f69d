// A master reply from its bytes to all the program makes of it. As a count reply: the count
// is a number of servers or the failure one of the program's own errors, which the poll
// skips. As a list reply: decoding, the tag scans, the normalisation, the menu lines, the sort
// by every column, the tooltip and the join texts; nothing crashes, a sorted table is in order
// and a joinable server puts nothing a command interpreter would act on into a command line.
// As the watch reads it: every server's player names are non-empty, trimmed and comma-free,
// each matches itself as a pattern and "*" matches it, the reply's first 64 units as a pattern
// never cost more than pattern × name steps, and the news balloon keeps 255 units. As the
// alert= rules read it: "*" with a count of 1 tells each server with players once, by its
// first element, and the same reply ten minutes later tells nothing.
#include <algorithm>
#include <set>
#include <utility>

#include "common/numbers.h"
#include "common/steps.h"
#include "fuzz_support.h"
#include "join/join.h"
#include "menu/line_layout.h"
#include "menu/sort.h"
#include "servers/server_download.h"
#include "servers/server_list_parser.h"
#include "tests/support/counting_pump.h"
#include "tray/tooltip_text.h"
#include "tray/trayicon.h"
#include "watch/listed_servers.h"
#include "watch/news_balloon.h"
#include "watch/player_watch.h"
#include "watch/server_alerts.h"
#include "watch/wildcard.h"

namespace quorvex::fuzz {
namespace {

struct NoShell : TrayShell {
  void NotifyIcon(uint32_t, const TrayIconData&) override {}
};

void CheckJoinTexts(const ServerRecord& server) {
  IsCompleteInLatestList(server);
  if (!IsJoinable(server)) return;
  // The address goes unquoted into a command line and a batch file.
  Require(server.address.find_first_of(u"\"&|<>^%()!;,= \t\r\n") == Text::npos,
          "a joinable address holds nothing a command interpreter acts on");
  LaunchArguments(server);
  SteamCommandLine(u"C:\\Steam\\steam.exe", server);
  StartBatchText(u"C:\\Games\\Quorvex", u"C:\\Games\\Quorvex\\start.bat", server);
}

void SortAndCheck(ServerTable& table, int16_t column, EventPump& pump) {
  SortServers(table, ServerTable::kSlots, column, pump);
  const bool descending = column == kSortPlayers || column == kSortBots;
  for (int slot = 1; slot < ServerTable::kSlots; ++slot) {
    const SortKeyValue a = SortKey(column, table.at(slot)), b = SortKey(column, table.at(slot + 1));
    Require(descending ? !(a < b) : !(a > b), "the sorted table is in order");
  }
}

void CheckName(const Text& name, const Text& pattern) {
  Require(!name.empty() && name.front() != u' ' && name.back() != u' ' && name.find(u',') == Text::npos,
          "a player name is non-empty, trimmed and holds no comma");
  Require(WildcardMatch(name, name) && WildcardMatch(u"*", name), "a name matches itself and \"*\"");
  size_t steps = 0;
  WildcardMatch(pattern, name, &steps);
  Require(steps <= (pattern.size() + 1) * (name.size() + 1), "a match costs at most pattern x name steps");
}

// The servers with players by their first element, as the "*" rule with a count of 1 tells.
std::vector<ServerNews> ServersWithPlayers(const std::vector<ListedServer>& servers) {
  std::set<std::pair<Text, Text>> seen;
  std::vector<ServerNews> busy;
  for (const ListedServer& server : servers) {
    if (seen.insert({server.address, server.port}).second && server.current_players.value_or(0) >= 1)
      busy.push_back({PlaceOf(server), *server.current_players});
  }
  return busy;
}

void CheckWatch(const Text& reply) {
  const std::vector<ListedServer> servers = ScanListedServers(reply);
  const Text pattern = CutUnits(reply, kMaxPatternCharacters);
  for (const ListedServer& server : servers) {
    for (const Text& name : server.playerNames) CheckName(name, pattern);
  }
  PlayerWatch watch({pattern, u"*"});
  ServerAlerts alerts({{1, pattern}, {1, u"*"}, {kMaxAlertPlayers, u"*"}});
  PendingNews pending;
  pending.AddPlayerNews(watch.TakeReply(servers, 0));
  const std::vector<ServerNews> told = alerts.TakeReply(servers, 0);
  Require(told == ServersWithPlayers(servers), "each server with players is told once, by its first element");
  pending.AddServerNews(told);
  Require(watch.TakeReply(servers, 1000).empty(), "the same reply again has no news");
  Require(alerts.TakeReply(servers, ServerAlerts::kRearmDelayMs).empty(), "no rule re-arms above its count");
  const NewsBalloon balloon = pending.TakeBalloon(u"\r\n");
  Require(balloon.text.size() <= kNewsTextUnits, "the news balloon keeps 255 units");
  const auto listed = [&](const ServerPlace& place) {
    return std::any_of(servers.begin(), servers.end(), [&](const ListedServer& s) { return PlaceOf(s) == place; });
  };
  Require(!balloon.server || listed(*balloon.server), "a balloon remembers a server of the reply");
  std::set<Text> online;
  for (const OnlinePlayer& player : watch.OnlineNow()) {
    Require(online.insert(player.name).second && listed(player.server), "each player online once, on a listed server");
  }
}

}  // namespace
}  // namespace quorvex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvex;
  using namespace quorvex::fuzz;
  const Text reply = FromUtf8(Bytes(data, size));
  try {
    Require(ParseServerCount(reply) >= 0, "a server count is never negative");
  } catch (const ConversionError&) {
  } catch (const OverflowError&) {
  }
  testing::CountingPump pump;
  ServerTable table;
  ParseServerList(reply, table, pump);
  PollFigures figures{.serverCount = ServerTable::kSlots, .playerLimit = 4, .watchers = table.at(1).watchers};
  for (int slot = 1; slot <= ServerTable::kSlots; ++slot) {
    ServerRecord& server = table.at(slot);
    RunStep([&] { figures.totalPlayers = AddInt16(figures.totalPlayers, server.current_players); });
    figures.maxPlayers = std::max(figures.maxPlayers, server.current_players);
    NormalisePlayerNames(server);
    NormaliseDedicated(server);
    FormatServerLine(server);
    FormatPlayerLine(server);
    CheckJoinTexts(server);
  }
  for (int16_t column = kSortServer; column <= kSortPing; ++column) SortAndCheck(table, column, pump);
  CheckWatch(reply);
  NoShell shell;
  TrayIcon(shell, 1).ModifyTrayIcon(SummaryText(figures, 2), 2);
  return 0;
}
