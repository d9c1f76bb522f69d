// What the player history costs: recording one poll of a 1,000-server reply, and drawing 30
// days of files with 20 busy servers in every bucket (about 180,000 rows, 11 MB).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "history/bucket_recorder.h"
#include "history/player_history.h"
#include "history/utc_time.h"
#include "watch/listed_servers.h"

namespace quorvex::bench {
namespace {

constexpr int64_t kDec8 = 1796688000000;  // 2026-12-08T00:00Z

// 1,000 servers of up to 32 players each, names and player lists as a busy list has them.
Text ThousandServerReply() {
  Text xml = u"<result query_id=\"servers\">";
  for (int s = 0; s < 1000; ++s) {
    const int players = s % 33;
    Text names;
    for (int p = 0; p < players; ++p) names += (p == 0 ? u"" : u",") + (u"Player" + FormatPlain(s * 32 + p));
    xml += u"<server><name>Server number " + FormatPlain(s) + u" [EU] Official</name><map_name>Moorland</map_name>"
           u"<address>203.0.113." + FormatPlain(s % 250) + u"</address><port>" + FormatPlain(27000 + s) +
           u"</port><current_players>" + FormatPlain(players) + u"</current_players><version>1.9</version>"
           u"<player_names>" + names + u"</player_names></server>";
  }
  return xml + u"</result>";
}

struct ScratchFolder {
  ScratchFolder() { std::filesystem::create_directories(path); }
  ~ScratchFolder() { std::filesystem::remove_all(path); }
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("quorvex-history-bench-" + std::to_string(std::random_device{}()));
};

// One poll every 20 s of the clock: the reply read for its servers and taken into the open
// bucket, and every 15th poll the bucket before it appended to its file (1,001 rows).
void BM_RecordPollOf1000Servers(benchmark::State& state) {
  const Text reply = ThousandServerReply();
  ScratchFolder scratch;
  PlayerHistory history(MakeHistoryFolder(FromUtf8(scratch.path.string())), 30);
  int64_t now = kDec8;
  for (auto _ : state) {
    benchmark::DoNotOptimize(history.TakeReply(ScanListedServers(reply, false), now));
    now += 20'000;
  }
  state.SetLabel(std::to_string(ScanListedServers(reply).size()) + " servers");
}

// 30 days before 2026-12-08T00:00Z: every bucket a total and 20 servers with players.
void WriteThirtyDays(const std::filesystem::path& folder) {
  PlayerHistory history(MakeHistoryFolder(FromUtf8(folder.string())), 366);
  std::vector<ListedServer> servers;
  for (int s = 0; s < 20; ++s)
    servers.push_back({u"[EU] Busy server number " + FormatPlain(s), u"203.0.113." + FormatPlain(s),
                       FormatPlain(27000 + s), 1 + s, {}});
  for (int64_t at = kDec8 - 30 * kDayMs; at < kDec8; at += kBucketMs) {
    for (ListedServer& server : servers) server.current_players = 1 + (*server.current_players + 7) % 40;
    history.TakeReply(servers, at);
  }
  history.Flush();
}

void BM_ChartThirtyDaysOf20Servers(benchmark::State& state) {
  ScratchFolder scratch;
  WriteThirtyDays(scratch.path);
  uintmax_t bytes = 0;
  for (const auto& file : std::filesystem::directory_iterator(scratch.path)) bytes += file.file_size();
  PlayerHistory history(MakeHistoryFolder(FromUtf8(scratch.path.string())), 366);
  size_t points = 0;
  for (auto _ : state) {
    const HistoryChart chart = history.Chart(ChartRange::Month, kDec8 - 1, [](int64_t) { return 60; });
    points = 0;
    for (const ChartSeries& series : chart.series)
      for (const ChartSegment& segment : series.segments) points += segment.players.size();
    benchmark::DoNotOptimize(chart);
  }
  state.SetLabel(std::to_string(bytes / 1000) + " kB of files, " + std::to_string(points) + " points drawn");
}

// The two halves of a poll's recording: reading the reply's servers (without their player
// names), and taking them into the open bucket.
void BM_ScanCountsOf1000Servers(benchmark::State& state) {
  const Text reply = ThousandServerReply();
  for (auto _ : state) benchmark::DoNotOptimize(ScanListedServers(reply, false));
}

void BM_TakeCountsOf1000Servers(benchmark::State& state) {
  const std::vector<ListedServer> servers = ScanListedServers(ThousandServerReply(), false);
  BucketRecorder recorder;
  int64_t now = kDec8;
  for (auto _ : state) {
    benchmark::DoNotOptimize(recorder.TakeReply(servers, now));
    now += 20'000;
  }
}

BENCHMARK(BM_RecordPollOf1000Servers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanCountsOf1000Servers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TakeCountsOf1000Servers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartThirtyDaysOf20Servers)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvex::bench
