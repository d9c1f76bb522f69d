// The platform's pings against this machine and against the namespaced hosts that
// tests/integration/ping-hosts makes (a 23 ms host, an 80 ms host and a silent one).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "tray/icmp.h"
#include "tray/icmp_echo.h"

namespace quorvex {
namespace {

// A silent host costs the 50 ms time-out; the rest is room for a busy machine.
constexpr auto kLongestCall = std::chrono::milliseconds(150);

struct TimedPings {
  std::vector<Text> results;
  std::chrono::microseconds took;
  int yields;
};

// Counts the yields of a wait.
class CountingPump : public EventPump {
 public:
  void DoEvents() override { ++yields; }
  int yields = 0;
};

class PingTest : public ::testing::Test {
 protected:
  void SetUp() override { pinger_ = MakePinger(); }

  // The host's address from the environment ping-hosts sets, or skips the test.
  Text HostFromEnvironment(const char* variable) {
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0') {
      hostMissing_ = true;
      return {};
    }
    return FromUtf8(value);
  }

  TimedPings TimePings(const std::vector<Text>& hosts) {
    CountingPump pump;
    const auto start = std::chrono::steady_clock::now();
    std::vector<Text> results = pinger_->PingHosts(hosts, pump);
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    std::string shown;
    for (size_t i = 0; i < hosts.size(); ++i) shown += " " + ToUtf8(hosts[i]) + "=\"" + ToUtf8(results.at(i)) + "\"";
    std::printf("[ measured ]%s in %.2f ms\n", shown.c_str(), took.count() / 1000.0);
    return {results, took, pump.yields};
  }
  Text TimePing(const Text& host) { return TimePings({host}).results.at(0); }

  bool hostMissing_ = false;
  std::unique_ptr<Pinger> pinger_;
};

#define SKIP_WITHOUT_HOSTS() \
  if (hostMissing_) GTEST_SKIP() << "run under tests/integration/ping-hosts for the namespaced hosts"

TEST_F(PingTest, LoopbackAnswersWithinAMillisecond) {
  // Wine counts the start of its ICMP machinery, about 2 ms, into the first echo of a
  // process; that first answer only has to be a time.
  EXPECT_NE(TimePing(u"127.0.0.1"), u"999");
  const TimedPings ping = TimePings({u"127.0.0.1"});
  EXPECT_EQ(ping.results, std::vector<Text>{u" 0"});
  EXPECT_LT(ping.took, kLongestCall);
  EXPECT_GE(ping.yields, 1);
}

TEST_F(PingTest, EachHostOfACallGetsItsOwnAnswer) {
  const Text quick = HostFromEnvironment("QUORVEX_PING_23");
  const Text late = HostFromEnvironment("QUORVEX_PING_80");
  const Text silent = HostFromEnvironment("QUORVEX_PING_SILENT");
  SKIP_WITHOUT_HOSTS();
  const TimedPings pings = TimePings({silent, quick, u"127.0.0.1", late, quick});
  ASSERT_EQ(pings.results.size(), 5u);
  EXPECT_EQ(pings.results[0], u"999");
  for (size_t i : {1, 4}) {
    ASSERT_EQ(pings.results[i].substr(0, 1), u" ") << i;
    EXPECT_GE(ToInt32(pings.results[i]), 22) << i;
    EXPECT_LE(ToInt32(pings.results[i]), 26) << i;
  }
  EXPECT_NE(pings.results[2], u"999");
  EXPECT_EQ(pings.results[3], u"999");  // answers after 80 ms: too late
  EXPECT_GE(pings.took, std::chrono::milliseconds(45)) << "gave up before the time-out";
  EXPECT_LT(pings.took, kLongestCall);
}

TEST_F(PingTest, SixteenSilentHostsCostOneTimeOut) {
  const Text silent = HostFromEnvironment("QUORVEX_PING_SILENT");
  SKIP_WITHOUT_HOSTS();
  const TimedPings pings = TimePings(std::vector<Text>(16, silent));
  EXPECT_EQ(pings.results, std::vector<Text>(16, u"999"));
  // One and a half time-outs, and the handing over of the requests: Wine's echo takes
  // about a millisecond for each. Sixteen echoes one after the other would take 800 ms.
  EXPECT_LT(pings.took, std::chrono::milliseconds(75 + 16 * 2));
}

TEST_F(PingTest, NothingCarriesOverFromAnEarlierCall) {
  const Text quick = HostFromEnvironment("QUORVEX_PING_23");
  const Text late = HostFromEnvironment("QUORVEX_PING_80");
  const Text silent = HostFromEnvironment("QUORVEX_PING_SILENT");
  SKIP_WITHOUT_HOSTS();
  // A good answer must not show through in the call after it.
  EXPECT_EQ(TimePing(u"127.0.0.1"), u" 0");
  EXPECT_EQ(TimePing(silent), u"999");
  EXPECT_NE(TimePing(quick), u"999");
  EXPECT_EQ(TimePing(silent), u"999");
  // The 80 ms host answers the first echo 30 ms into the second; that reply is not the
  // second echo's.
  EXPECT_EQ(TimePing(late), u"999");
  EXPECT_EQ(TimePing(late), u"999");
  EXPECT_EQ(TimePing(silent), u"999");
}

// Open descriptors of this process where the system shows them (Linux), else nullopt.
std::optional<size_t> OpenDescriptorCount() {
  std::error_code error;
  std::filesystem::directory_iterator entries("/proc/self/fd", error);
  if (error) return std::nullopt;
  return static_cast<size_t>(std::distance(entries, std::filesystem::directory_iterator()));
}

TEST_F(PingTest, ManyCallsLeaveNothingOpen) {
  TimePing(u"127.0.0.1");  // anything opened once per process is open by now
  const auto before = OpenDescriptorCount();
  CountingPump pump;
  for (int i = 0; i < 100; ++i) {
    // Exactly " 0" is too much to ask of 100 calls on a busy machine; an answer is not.
    const auto results = pinger_->PingHosts({u"127.0.0.1", u"127.0.0.1"}, pump);
    for (const Text& result : results) ASSERT_TRUE(result.size() == 2 && result[0] == u' ') << "call " << i;
  }
  if (before) {
    EXPECT_EQ(OpenDescriptorCount(), before);
  }
}

TEST(IcmpEchoTest, EchoToAddressZeroIsNoAnswer) {
  // PingAll never sends one; the echo itself must still not read a reply into a failure.
  // (Wine's echo completes at once here and leaves the zeroed buffer, status 0, time 0.)
  const auto echo = MakeSystemIcmpEcho();
  EXPECT_EQ(echo->EchoAll({0}, 50), std::vector<std::optional<int32_t>>{std::nullopt});
}

TEST_F(PingTest, NameOfThisMachineResolvesAndAnswers) {
  // localhost is looked up on this machine only; no lookup leaves it.
  EXPECT_EQ(TimePings({u"localhost", Text(65, u'a')}).results, (std::vector<Text>{u" 0", u"999"}));
}

}  // namespace
}  // namespace quorvex
