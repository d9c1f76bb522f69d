// How long the watch takes over a big reply: 1,000 servers of 32 players and 32 patterns,
// from the reply's text to the news balloon's text.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "common/numbers.h"
#include "watch/listed_servers.h"
#include "watch/news_balloon.h"
#include "watch/player_watch.h"

namespace quorvex::bench {
namespace {

constexpr int kServers = 1000, kPlayersEach = 32;

// Names of mixed shapes: plain, clan-tagged, with characters beyond ASCII and entities.
Text PlayerName(int server, int player) {
  const int n = server * kPlayersEach + player;
  switch (n % 4) {
    case 0: return u"Player" + FormatPlain(n);
    case 1: return u"[CLAN" + FormatPlain(n % 50) + u"] Soldier" + FormatPlain(n);
    case 2: return u"\u00d8degaard_" + FormatPlain(n);
    default: return u"Tom &amp; Jerry " + FormatPlain(n);
  }
}

Text BigReply() {
  Text xml = u"<result query_id=\"servers\">";
  for (int s = 0; s < kServers; ++s) {
    Text names;
    for (int p = 0; p < kPlayersEach; ++p) names += (p == 0 ? u"" : u", ") + PlayerName(s, p);
    xml += u"<server><name>Server number " + FormatPlain(s) + u" [EU] Official</name><map_id>m</map_id>"
           u"<map_name>Moorland</map_name><address>203.0.113." + FormatPlain(s % 250) + u"</address><port>" +
           FormatPlain(27000 + s) + u"</port><current_players>32</current_players><max_players>32</max_players>"
           u"<version>1.9</version><player_names>" + names + u"</player_names><mode>COOP</mode></server>";
  }
  return xml + u"</result>";
}

// 16 whole names (half of them playing), 8 clan prefixes, 4 runs inside, 4 with "?".
std::vector<Text> Patterns() {
  std::vector<Text> patterns;
  for (int i = 0; i < 16; ++i) patterns.push_back(u"player" + FormatPlain(i % 2 == 0 ? i * 1000 : 99'000'000 + i));
  for (int i = 0; i < 8; ++i) patterns.push_back(u"[clan" + FormatPlain(i) + u"]*");
  for (const char16_t* inside : {u"*sniper*", u"*jerry 7*", u"*_314*", u"*\u00f8*"}) patterns.push_back(inside);
  for (const char16_t* one : {u"Player1?", u"?degaard_2", u"Tom ? Jerry 5", u"x*y?z"}) patterns.push_back(one);
  return patterns;
}

// One poll as Form1 makes it: the scan, the watch, the news text. `fresh` starts each poll
// with a new watch, so every watched name is news (the first reply after start-up).
void WatchPass(benchmark::State& state, bool fresh) {
  const Text reply = BigReply();
  const std::vector<Text> patterns = Patterns();
  PlayerWatch steady(patterns);
  int64_t nowMs = 0;
  size_t news = 0;
  for (auto _ : state) {
    PlayerWatch firstReply(patterns);
    PlayerWatch& watch = fresh ? firstReply : steady;
    PendingNews pending;
    pending.AddPlayerNews(watch.TakeReply(ScanListedServers(reply), nowMs += 20'000));
    news = pending.IsEmpty() ? 0 : 1;
    benchmark::DoNotOptimize(pending.TakeBalloon(u"\r\n"));
  }
  state.SetLabel(std::to_string(reply.size()) + " UTF-16 units" + (news ? ", news" : ""));
}

void BM_WatchFirstReply(benchmark::State& state) { WatchPass(state, true); }
void BM_WatchLaterReply(benchmark::State& state) { WatchPass(state, false); }
BENCHMARK(BM_WatchFirstReply)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WatchLaterReply)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvex::bench
