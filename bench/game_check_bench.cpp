// The look for the game a poll makes, with 500 other processes running (started and ended by
// the benchmark) and no game among them: the whole process list is walked each time, the names
// read as the check reads them over many polls (a young process's at every look, an older
// one's at every eighth), so the mean is what a poll costs once the check has run a while.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "quiet/game_check.h"
#include "support/standin_process_posix.h"

namespace quorvex::bench {
namespace {

constexpr int kOtherProcesses = 500;

void BM_GameCheckOver500Processes(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / ("quorvex-bench-" + std::to_string(::getpid()));
  const auto program = folder / "some_program";
  testing::CopySleepTo(program);
  std::vector<std::unique_ptr<testing::StandInProcess>> running;
  for (int i = 0; i < kOtherProcesses; ++i) running.push_back(std::make_unique<testing::StandInProcess>(program));
  const std::unique_ptr<GameCheck> check = MakeGameCheck();
  for (auto _ : state) benchmark::DoNotOptimize(check->GameRuns());
  running.clear();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_GameCheckOver500Processes)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvex::bench
