// How long sorting, laying out and rebuilding the servers menu take for 16 servers.
#include <benchmark/benchmark.h>

#include "bench/no_op_pump.h"
#include "bench/sample_reply.h"
#include "menu/line_layout.h"
#include "menu/server_menu.h"
#include "menu/sort.h"
#include "servers/server_list_parser.h"

namespace quorvex::bench {
namespace {

// The table as a poll leaves it: parsed and normalised, in reply order, pings measured.
ServerTable PolledTable() {
  ServerTable table;
  NoOpPump pump;
  ParseServerList(SampleServerListReply(), table, pump);
  for (int i = 1; i <= ServerTable::kSlots; ++i) {
    NormalisePlayerNames(table.at(i));
    NormaliseDedicated(table.at(i));
    table.at(i).ping = static_cast<int16_t>(i % 5 == 0 ? 999 : 20 + i * 17 % 180);
  }
  return table;
}

// Sort by the column given as the argument, then compose both lines of every slot.
void BM_SortAndLayout16(benchmark::State& state) {
  const ServerTable polled = PolledTable();
  const auto column = static_cast<int16_t>(state.range(0));
  NoOpPump pump;
  for (auto _ : state) {
    ServerTable table = polled;
    SortServers(table, ServerTable::kSlots, column, pump);
    for (int i = 1; i <= ServerTable::kSlots; ++i) {
      benchmark::DoNotOptimize(FormatServerLine(table.at(i)));
      benchmark::DoNotOptimize(FormatPlayerLine(table.at(i)));
    }
  }
}
BENCHMARK(BM_SortAndLayout16)->DenseRange(0, 5)->ArgName("sort");

void BM_RebuildServerMenu16(benchmark::State& state) {
  const ServerTable polled = PolledTable();
  MenuTree menu = MakeDesignMenu();
  ShownServers shown{};
  NoOpPump pump;
  for (auto _ : state) {
    ServerTable table = polled;
    RebuildServerMenu(menu, table, 16, 5, pump, shown);
    benchmark::DoNotOptimize(menu.Item("menServerTitle").caption);
  }
}
BENCHMARK(BM_RebuildServerMenu16);

}  // namespace
}  // namespace quorvex::bench
