// The list reply from its bytes to all the program makes of it: decoding, the tag scans,
// the per-server normalisation, the menu lines, the sort by every column, the tooltip and
// the join texts. Whatever the master sends, nothing crashes, a sorted table is in order
// and a server that may be joined puts nothing a command interpreter would act on into
// the command lines.
#include <algorithm>

#include "common/numbers.h"
#include "common/steps.h"
#include "fuzz_support.h"
#include "menu/line_layout.h"
#include "menu/sort.h"
#include "servers/poll_summary.h"
#include "servers/server_list_parser.h"
#include "tray/join.h"
#include "tray/trayicon.h"

namespace quorvex::fuzz {
namespace {

class NoShell : public TrayShell {
 public:
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

void CheckSorted(const ServerTable& table, int16_t column) {
  const bool descending = column == kSortPlayers || column == kSortBots;
  for (int slot = 1; slot < ServerTable::kSlots; ++slot) {
    const SortKeyValue a = SortKey(column, table.at(slot));
    const SortKeyValue b = SortKey(column, table.at(slot + 1));
    Require(descending ? !(a < b) : !(a > b), "the sorted table is in order");
  }
}

}  // namespace
}  // namespace quorvex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvex;
  using namespace quorvex::fuzz;
  NoEvents pump;
  ServerTable table;
  ParseServerList(FromUtf8(Bytes(data, size)), table, pump);

  PollFigures figures;
  figures.serverCount = ServerTable::kSlots;
  figures.playerLimit = 4;
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
  for (int16_t column = kSortServer; column <= kSortPing; ++column) {
    SortServers(table, ServerTable::kSlots, column, pump);
    CheckSorted(table, column);
  }
  figures.watchers = table.at(1).watchers;
  NoShell shell;
  TrayIcon icon(shell, 1);
  icon.ModifyTrayIcon(SummaryText(figures, 2), 2);
  return 0;
}
