// The pings' own decisions over a fake resolver and a fake echo (no name is ever
// resolved), and the name look-ups' time limit, stop and keeping.
#include "tray/ping_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <vector>

#include "common/steps.h"

namespace quorvex {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

uint32_t Address(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
  const uint8_t bytes[4] = {a, b, c, d};
  uint32_t address = 0;
  std::memcpy(&address, bytes, sizeof address);
  return address;
}

// Known names answer at once; a name in `held` answers only when let go. Asked from the
// look-up threads, so everything is under a lock.
class FakeResolver : public Resolver {
 public:
  std::optional<uint32_t> ResolveIpv4(const Text& hostName) override {
    std::unique_lock lock(mutex);
    asked.push_back(hostName);
    letGo.wait(lock, [&] { return held.count(hostName) == 0; });
    const auto known = names.find(hostName);
    return known == names.end() ? std::nullopt : std::optional<uint32_t>(known->second);
  }
  void LetGo() {
    const std::lock_guard lock(mutex);
    held.clear();
    letGo.notify_all();
  }
  // Sorted: the look-ups run at once, in no fixed order.
  std::vector<Text> Asked() {
    const std::lock_guard lock(mutex);
    std::vector<Text> sorted = asked;
    std::sort(sorted.begin(), sorted.end());
    return sorted;
  }
  std::mutex mutex;
  std::condition_variable letGo;
  std::map<Text, uint32_t> names;
  std::set<Text> held;
  std::vector<Text> asked;
};

class FakeEcho : public IcmpEcho {
 public:
  std::vector<std::optional<int32_t>> EchoAll(const std::vector<uint32_t>& addresses, int timeoutMs) override {
    calls.push_back(addresses);
    timeouts.push_back(timeoutMs);
    std::vector<std::optional<int32_t>> results;
    for (uint32_t address : addresses)
      results.push_back(answers.count(address) != 0 ? answers[address] : std::optional<int32_t>(7));
    return results;
  }
  std::map<uint32_t, std::optional<int32_t>> answers;
  std::vector<std::vector<uint32_t>> calls;
  std::vector<int> timeouts;
};

class PingAllTest : public ::testing::Test {
 protected:
  ~PingAllTest() override { resolver->LetGo(); }
  std::vector<Text> Ping(const std::vector<Text>& hosts) { return PingAll(hosts, lookups, echo); }
  std::shared_ptr<FakeResolver> resolver = std::make_shared<FakeResolver>();
  Clock::time_point now = Clock::now();
  NameLookups lookups{resolver, [this] { return now; }};
  FakeEcho echo;
};

TEST_F(PingAllTest, EveryHostIsEchoedInOneCallAndAnsweredInItsPlace) {
  resolver->names[u"server.example"] = Address(203, 0, 113, 5);
  resolver->names[u"zero"] = 0;
  echo.answers[Address(10, 0, 0, 2)] = std::nullopt;
  echo.answers[Address(10, 0, 0, 3)] = 0;
  echo.answers[Address(203, 0, 113, 5)] = 41;
  Text pairs32;  // 32 surrogate pairs: 64 units, the longest host that is pinged
  for (int i = 0; i < 32; ++i) pairs32 += u"\U0001F600";
  resolver->names[pairs32] = Address(10, 0, 0, 4);
  const std::vector<Text> hosts = {
      u"10.0.0.1",   u"10.0.0.2", u"10.0.0.3",       u"server.example", u"nowhere.invalid", u"",
      u"zero",       u"0.0.0.0",  Text(u"a\0b", 3),  Text(65, u'a'),    pairs32 + u"\U0001F600",
      pairs32,       u"10.0.0.1"};
  EXPECT_EQ(Ping(hosts), (std::vector<Text>{u" 7", u"999", u" 0", u" 41", u"999", u"999", u"999", u"999", u"999",
                                            u"999", u"999", u" 7", u" 7"}));
  // Only names go to the resolver; no text that is no host, no address 0 is echoed.
  EXPECT_EQ(resolver->Asked(), (std::vector<Text>{u"nowhere.invalid", u"server.example", u"zero", pairs32}));
  ASSERT_EQ(echo.calls.size(), 1u);
  EXPECT_EQ(echo.calls[0], (std::vector<uint32_t>{Address(10, 0, 0, 1), Address(10, 0, 0, 2), Address(10, 0, 0, 3),
                                                  Address(203, 0, 113, 5), Address(10, 0, 0, 4),
                                                  Address(10, 0, 0, 1)}));
  EXPECT_EQ(echo.timeouts, std::vector<int>{50});
}

TEST_F(PingAllTest, AnythingNotExactlyFourDecimalPartsIsAName) {
  const std::vector<Text> notDotted = {
      u"1.2.3",     u"256.1.1.1", u"1.2.3.4.5", u" 1.2.3.4", u"1.2.3.4 ", u"1..3.4",   u"1.2.3.",
      u".1.2.3",    u"+1.2.3.4",  u"1.-2.3.4",  u"0x1.2.3.4", u"1.2.3.0004", u"1.2.3.4a", u"\uFF11.2.3.4",
      u"1,2,3,4",   u"4294967295"};
  for (const Text& host : notDotted) EXPECT_FALSE(ParseDottedIpv4(host)) << ToUtf8(host);
  EXPECT_EQ(ParseDottedIpv4(u"192.168.000.010"), Address(192, 168, 0, 10));  // leading zeros are decimal
  EXPECT_EQ(ParseDottedIpv4(u"255.255.255.255"), Address(255, 255, 255, 255));
}

TEST_F(PingAllTest, ANameThatDoesNotAnswerInTimeIs999AndHoldsUpNothingElse) {
  resolver->names[u"quick.example"] = Address(10, 0, 0, 5);
  resolver->names[u"slow.example"] = Address(10, 0, 0, 6);
  resolver->held = {u"slow.example"};
  const auto start = Clock::now();
  const auto addresses = lookups.Resolve({u"slow.example", u"quick.example"}, milliseconds(200));
  const auto took = Clock::now() - start;
  EXPECT_EQ(addresses, (std::vector<std::optional<uint32_t>>{std::nullopt, Address(10, 0, 0, 5)}));
  EXPECT_GE(took, milliseconds(190));
  EXPECT_LT(took, milliseconds(1000));

  // The look-up still running is not started again; its answer, once in, is kept.
  lookups.Resolve({u"slow.example"}, milliseconds(0));
  resolver->LetGo();
  EXPECT_EQ(lookups.Resolve({u"slow.example"}, milliseconds(2000)).at(0), Address(10, 0, 0, 6));
  EXPECT_EQ(resolver->Asked(), (std::vector<Text>{u"quick.example", u"slow.example"}));
}

TEST_F(PingAllTest, AnAddressIsKeptFiveMinutesAndAFailedNameIsAskedAgain) {
  resolver->names[u"kept.example"] = Address(10, 0, 0, 7);
  const std::vector<Text> names = {u"kept.example", u"gone.example"};
  lookups.Resolve(names, milliseconds(2000));
  now += std::chrono::minutes(5) - milliseconds(1);
  lookups.Resolve(names, milliseconds(2000));
  now += milliseconds(1);
  EXPECT_EQ(lookups.Resolve(names, milliseconds(2000)).at(0), Address(10, 0, 0, 7));
  EXPECT_EQ(resolver->Asked(), (std::vector<Text>{u"gone.example", u"gone.example", u"gone.example",
                                                  u"kept.example", u"kept.example"}));
}

// A yield that throws (Exit) ends the pings at once, even with a name still unanswered.
class ExitingPump : public EventPump {
 public:
  void DoEvents() override {
    if (++yields == 3) throw HandlerAborted{};
  }
  int yields = 0;
};

TEST(EchoPingerTest, PingsRunWhileEventsDoAndAnExitEndsThemAtOnce) {
  auto resolver = std::make_shared<FakeResolver>();
  resolver->held = {u"held.example"};
  auto pinger = MakeEchoPinger(resolver, std::make_unique<FakeEcho>());
  ExitingPump pump;
  const auto start = Clock::now();
  EXPECT_THROW(pinger->PingHosts({u"10.0.0.1", u"held.example"}, pump), HandlerAborted);
  EXPECT_LT(Clock::now() - start, milliseconds(500));
  EXPECT_EQ(pump.yields, 3);
  resolver->LetGo();

  pump.yields = -1000;
  EXPECT_EQ(pinger->PingHosts({u"10.0.0.1", u"held.example"}, pump), (std::vector<Text>{u" 7", u"999"}));
}

}  // namespace
}  // namespace quorvex
