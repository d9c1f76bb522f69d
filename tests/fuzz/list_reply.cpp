// A master reply from its bytes to all the program makes of it. As a count reply: the count
// is a number of servers or the failure one of the program's own errors, which the poll
// skips. As a list reply: decoding, the tag scans, the normalisation, the menu lines, the sort
// by every column, the tooltip and the join texts; nothing crashes, a sorted table is in order
// and a joinable server puts nothing a command interpreter would act on into a command line.
#include <algorithm>

#include "common/numbers.h"
#include "common/steps.h"
#include "fuzz_support.h"
#include "menu/line_layout.h"
#include "menu/sort.h"
#include "servers/server_download.h"
#include "servers/server_list_parser.h"
#include "tests/support/counting_pump.h"
#include "tray/join.h"
#include "tray/tooltip_text.h"
#include "tray/trayicon.h"

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
  NoShell shell;
  TrayIcon(shell, 1).ModifyTrayIcon(SummaryText(figures, 2), 2);
  return 0;
}
