// How long the twelve tag scans take over a full 16-server reply.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/no_op_pump.h"
#include "bench/sample_reply.h"
#include "servers/server_list_parser.h"

namespace quorvex::bench {
namespace {

void BM_ParseServerList16(benchmark::State& state) {
  const Text reply = SampleServerListReply();
  NoOpPump pump;
  for (auto _ : state) {
    ServerTable table;
    ParseServerList(reply, table, pump);
    benchmark::DoNotOptimize(table);
  }
  state.SetLabel(std::to_string(reply.size()) + " UTF-16 units");
}
BENCHMARK(BM_ParseServerList16);

}  // namespace
}  // namespace quorvex::bench
