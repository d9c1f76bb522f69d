// The platform's PingHost against this machine and against the namespaced hosts that
// tests/integration/ping-hosts makes (a 23 ms host, an 80 ms host and a silent one).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>

#include "common/numbers.h"
#include "tray/icmp.h"
#include "tray/icmp_echo.h"

namespace quorvex {
namespace {

// A silent host costs the 50 ms time-out; the rest is room for a busy machine.
constexpr auto kLongestCall = std::chrono::milliseconds(150);

struct TimedPing {
  Text result;
  std::chrono::microseconds took;
};

class PingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resolver_ = MakeSystemResolver();
    pinger_ = MakePinger(*resolver_);
  }

  // The host's address from the environment ping-hosts sets, or skips the test.
  Text HostFromEnvironment(const char* variable) {
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0') {
      hostMissing_ = true;
      return {};
    }
    return FromUtf8(value);
  }

  TimedPing TimePing(const Text& host) {
    const auto start = std::chrono::steady_clock::now();
    Text result = pinger_->PingHost(host);
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    std::printf("[ measured ] %s -> \"%s\" in %.2f ms\n", ToUtf8(host).c_str(), ToUtf8(result).c_str(),
                took.count() / 1000.0);
    return {result, took};
  }

  bool hostMissing_ = false;
  std::unique_ptr<Resolver> resolver_;
  std::unique_ptr<Pinger> pinger_;
};

#define SKIP_WITHOUT_HOSTS() \
  if (hostMissing_) GTEST_SKIP() << "run under tests/integration/ping-hosts for the namespaced hosts"

TEST_F(PingTest, LoopbackAnswersWithinAMillisecond) {
  // Wine counts the start of its ICMP machinery, about 2 ms, into the first echo of a
  // process; that first answer only has to be a time.
  EXPECT_NE(TimePing(u"127.0.0.1").result, u"999");
  const TimedPing ping = TimePing(u"127.0.0.1");
  EXPECT_EQ(ping.result, u" 0");
  EXPECT_LT(ping.took, kLongestCall);
}

TEST_F(PingTest, HostAnsweringAfter23MsGivesItsTime) {
  const Text host = HostFromEnvironment("QUORVEX_PING_23");
  SKIP_WITHOUT_HOSTS();
  const TimedPing ping = TimePing(host);
  ASSERT_EQ(ping.result.substr(0, 1), u" ");
  const int32_t ms = ToInt32(ping.result);
  EXPECT_GE(ms, 22);
  EXPECT_LE(ms, 26);
  EXPECT_LT(ping.took, kLongestCall);
}

TEST_F(PingTest, LateAndSilentHostsGive999WithinTheTimeout) {
  const Text late = HostFromEnvironment("QUORVEX_PING_80");
  const Text silent = HostFromEnvironment("QUORVEX_PING_SILENT");
  SKIP_WITHOUT_HOSTS();
  for (const Text& host : {late, silent}) {
    const TimedPing ping = TimePing(host);
    EXPECT_EQ(ping.result, u"999") << ToUtf8(host);
    EXPECT_GE(ping.took, std::chrono::milliseconds(45)) << ToUtf8(host) << " gave up before the time-out";
    EXPECT_LT(ping.took, kLongestCall) << ToUtf8(host);
  }
}

TEST_F(PingTest, NothingCarriesOverFromAnEarlierCall) {
  const Text quick = HostFromEnvironment("QUORVEX_PING_23");
  const Text late = HostFromEnvironment("QUORVEX_PING_80");
  const Text silent = HostFromEnvironment("QUORVEX_PING_SILENT");
  SKIP_WITHOUT_HOSTS();
  // A good answer must not show through in the call after it.
  EXPECT_EQ(TimePing(u"127.0.0.1").result, u" 0");
  EXPECT_EQ(TimePing(silent).result, u"999");
  EXPECT_NE(TimePing(quick).result, u"999");
  EXPECT_EQ(TimePing(silent).result, u"999");
  // The 80 ms host answers the first echo 30 ms into the second; that reply is not the
  // second echo's.
  EXPECT_EQ(TimePing(late).result, u"999");
  EXPECT_EQ(TimePing(late).result, u"999");
  EXPECT_EQ(TimePing(silent).result, u"999");
}

// Open descriptors of this process where the system shows them (Linux), else nullopt.
std::optional<size_t> OpenDescriptorCount() {
  std::error_code error;
  std::filesystem::directory_iterator entries("/proc/self/fd", error);
  if (error) return std::nullopt;
  return static_cast<size_t>(std::distance(entries, std::filesystem::directory_iterator()));
}

TEST_F(PingTest, ManyCallsLeaveNothingOpen) {
  pinger_->PingHost(u"127.0.0.1");  // anything opened once per process is open by now
  const auto before = OpenDescriptorCount();
  for (int i = 0; i < 200; ++i) {
    // Exactly " 0" is too much to ask of 200 calls on a busy machine; an answer is not.
    const Text result = pinger_->PingHost(u"127.0.0.1");
    ASSERT_TRUE(result.size() == 2 && result[0] == u' ') << "call " << i << ": " << ToUtf8(result);
  }
  if (before) {
    EXPECT_EQ(OpenDescriptorCount(), before);
  }
}

TEST(IcmpEchoTest, EchoToAddressZeroIsNoAnswer) {
  // PingHost never sends one; the echo itself must still not read a reply into a failure.
  // (Wine's IcmpSendEcho returns 0 here and leaves the zeroed buffer, status 0, time 0.)
  const auto echo = MakeSystemIcmpEcho();
  EXPECT_EQ(echo->Echo(0, 50), std::nullopt);
}

TEST_F(PingTest, NameOfThisMachineResolvesAndAnswers) {
  // localhost is looked up on this machine only; no lookup leaves it.
  EXPECT_EQ(pinger_->PingHost(u"localhost"), u" 0");
  EXPECT_THROW(pinger_->PingHost(Text(65, u'a')), std::invalid_argument);
}

}  // namespace
}  // namespace quorvex
