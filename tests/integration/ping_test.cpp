// The platform's pings against this machine and the namespaced hosts of tests/integration/ping-hosts:
// one answering after 23 ms, one after 80 ms (later than a ping waits) and a silent one.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "common/numbers.h"
#include "ping/echoer.h"
#include "ping/ping.h"
#include "tests/support/counting_pump.h"

namespace quorvex {
namespace {

using std::chrono::milliseconds;

// The least and the most milliseconds a result may show; 999 is no answer within 50 ms.
using Answer = std::pair<int32_t, int32_t>;
constexpr Answer kNone{999, 999}, kZero{0, 0}, kQuick{22, 26}, kAny{0, 49};

struct Call {
  std::vector<Text> hosts;
  std::vector<Answer> answers;
  milliseconds below{150};  // room for a busy machine
};

void ExpectCall(Pinger& pinger, const Call& call) {
  testing::CountingPump pump;
  const auto start = std::chrono::steady_clock::now();
  const std::vector<Text> results = pinger.PingHosts(call.hosts, pump);
  const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  ASSERT_EQ(results.size(), call.answers.size());
  for (size_t i = 0; i < results.size(); ++i) {
    const int32_t ms = results[i] == u"999" ? 999 : results[i][0] == u' ' ? ToInt32(results[i]) : -1;
    EXPECT_TRUE(ms >= call.answers[i].first && ms <= call.answers[i].second) << i << ": " << ToUtf8(results[i]);
    if (ms == 999) {
      EXPECT_GE(took, milliseconds(45)) << "gave up before the time-out";
    }
  }
  EXPECT_LT(took, call.below);
  EXPECT_GE(pump.yields, 1);
}

TEST(PingTest, ThisMachineAnswersEveryCall) {
  const auto pinger = MakeSystemPinger();
  // Wine counts the start of its ICMP machinery, about 2 ms, into a process's first echo.
  ExpectCall(*pinger, {{u"127.0.0.1"}, {kAny}});
  ExpectCall(*pinger, {{u"127.0.0.1"}, {kZero}});
  // localhost is looked up on this machine only; a name of 65 letters is never looked up.
  testing::CountingPump pump;
  EXPECT_EQ(pinger->PingHosts({u"localhost", Text(65, u'a')}, pump), (std::vector<Text>{u" 0", u"999"}));
  // A reply buffer left zeroed is no answer (Wine's echo to address 0 completes so at once).
  EXPECT_EQ(MakeSystemEchoer()->Echo({0}, 50), std::vector<std::optional<int32_t>>{std::nullopt});
}

TEST(PingTest, EachHostGetsItsOwnAnswerAndNothingCarriesOver) {
  std::vector<Text> hosts;  // quick, late, silent
  for (const char* variable : {"QUORVEX_PING_23", "QUORVEX_PING_80", "QUORVEX_PING_SILENT"}) {
    if (std::getenv(variable) == nullptr) GTEST_SKIP() << "run under tests/integration/ping-hosts for " << variable;
    hosts.push_back(FromUtf8(std::getenv(variable)));
  }
  const Text q = hosts[0], l = hosts[1], s = hosts[2];
  const Call calls[] = {
      {{s, q, u"127.0.0.1", l, q}, {kNone, kQuick, kAny, kNone, kQuick}},
      // An answer must not show through in the next call; the 80 ms host answers the
      // first echo 30 ms into the second, and that reply is not the second echo's.
      {{q}, {kQuick}},
      {{s}, {kNone}},
      {{l}, {kNone}},
      {{l}, {kNone}},
      {{s}, {kNone}},
      // All at once: one and a half time-outs and Wine's millisecond to hand over each
      // echo. One after the other they would take 800 ms.
      {std::vector<Text>(16, s), std::vector<Answer>(16, kNone), milliseconds(75 + 16 * 2)},
  };
  const auto pinger = MakeSystemPinger();
  for (const Call& call : calls) ExpectCall(*pinger, call);
}

}  // namespace
}  // namespace quorvex
