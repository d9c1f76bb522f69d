// The pings' own decisions over a fake resolver and a fake echo (no name is ever resolved), and
// the name look-ups' time limit, stop and keeping. (Byte order is checked by the integration
// tests' echoes to loopback.)
#include "ping/ping.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <vector>

#include "common/host_rules.h"
#include "common/numbers.h"
#include "common/steps.h"
#include "support/counting_pump.h"

namespace quorvex {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

uint32_t Address(uint8_t last) { return *ParseDottedIpv4(u"10.0.0." + FormatPlain(last)); }

// Known names answer at once, any other name with no address; a name starting with "held"
// answers only once let go. Asked from the look-up threads, so everything is under a lock.
class FakeResolver : public Resolver {
 public:
  std::optional<uint32_t> ResolveIpv4(const Text& hostName) override {
    std::unique_lock lock(mutex);
    asked.insert(hostName);
    letGo.wait(lock, [&] { return released || !hostName.starts_with(u"held"); });
    const auto known = names.find(hostName);
    return known == names.end() ? std::nullopt : std::optional<uint32_t>(known->second);
  }
  void LetGo() {
    const std::lock_guard lock(mutex);
    released = true;
    letGo.notify_all();
  }
  std::multiset<Text> Asked() {  // sorted: the look-ups run at once, in no fixed order
    const std::lock_guard lock(mutex);
    return asked;
  }
  std::mutex mutex;
  std::condition_variable letGo;
  std::map<Text, uint32_t> names;
  bool released = false;
  std::multiset<Text> asked;
};

// Answers 7 ms unless told otherwise, for the first `answered` addresses only.
class FakeEchoer : public Echoer {
 public:
  std::vector<std::optional<int32_t>> Echo(const std::vector<uint32_t>& addresses, int timeoutMs) override {
    calls.emplace_back(addresses, timeoutMs);
    std::vector<std::optional<int32_t>> results;
    for (size_t i = 0; i < addresses.size() && i < answered; ++i)
      results.push_back(answers.count(addresses[i]) != 0 ? answers[addresses[i]] : std::optional<int32_t>(7));
    return results;
  }
  std::map<uint32_t, std::optional<int32_t>> answers;
  size_t answered = SIZE_MAX;
  std::vector<std::pair<std::vector<uint32_t>, int>> calls;  // the addresses and the time-out of each
};

class PingTest : public ::testing::Test {
 protected:
  ~PingTest() override { resolver->LetGo(); }
  std::vector<Text> Ping(const std::vector<Text>& hosts) { return PingHostsBlocking(hosts, lookups, echo); }
  std::shared_ptr<FakeResolver> resolver = std::make_shared<FakeResolver>();
  Clock::time_point now = Clock::now();
  NameLookups lookups{resolver, [this] { return now; }};
  FakeEchoer echo;
};

TEST_F(PingTest, EveryHostIsEchoedInOneCallAndAnsweredInItsPlace) {
  const Text longest = Text(60, u'b') + u".com", tooLong = Text(61, u'a') + u".com";  // 64 and 65 characters
  // Texts that are no host name by the join's rule, though a resolver would know them.
  const std::vector<Text> noHosts = {u"bad_name.example", u"a b", Text(64, u'c'), u"example.org.", u"-a.example"};
  resolver->names = {{u"server.example", Address(5)}, {u"zero", 0}, {longest, Address(4)}};
  for (const Text& text : noHosts) resolver->names[text] = Address(6);
  echo.answers = {{Address(2), std::nullopt}, {Address(3), 0}, {Address(5), 41}};
  std::vector<Text> hosts = {u"10.0.0.1", u"10.0.0.2", u"10.0.0.3",  u"server.example", u"nowhere.invalid",
                             u"",         u"zero",     u"0.0.0.0",   Text(u"a\0b", 3),  tooLong,
                             longest,     u"10.0.0.1"};
  hosts.insert(hosts.end(), noHosts.begin(), noHosts.end());
  std::vector<Text> results = {u" 7",  u"999", u" 0",  u" 41", u"999", u"999",
                               u"999", u"999", u"999", u"999", u" 7",  u" 7"};
  results.resize(hosts.size(), u"999");
  EXPECT_EQ(Ping(hosts), results);
  // Only names go to the resolver; no text that is no host, no address 0 is echoed.
  EXPECT_EQ(resolver->Asked(), (std::multiset<Text>{longest, u"nowhere.invalid", u"server.example", u"zero"}));
  const std::vector<uint32_t> echoed = {Address(1), Address(2), Address(3), Address(5), Address(4), Address(1)};
  EXPECT_EQ(echo.calls, (decltype(echo.calls){{echoed, 50}}));

  echo.answered = 0;  // an echo that gives back fewer results than it was asked for
  EXPECT_EQ(Ping({u"10.0.0.1", u"10.0.0.2"}), (std::vector<Text>{u"999", u"999"}));
}

TEST_F(PingTest, ANameLateForTheTimeLimitHoldsUpNothingAndAnAddressIsKept) {
  resolver->names = {{u"quick.example", Address(5)}, {u"held.example", Address(6)}};
  const auto start = Clock::now();
  const auto addresses = lookups.Resolve({u"held.example", u"quick.example"}, milliseconds(200));
  const auto took = Clock::now() - start;
  EXPECT_EQ(addresses, (std::vector<std::optional<uint32_t>>{std::nullopt, Address(5)}));
  EXPECT_GE(took, milliseconds(190));

  // The look-up still running is not started again; its answer, once in, is kept.
  lookups.Resolve({u"held.example"}, milliseconds(0));
  resolver->LetGo();
  EXPECT_EQ(lookups.Resolve({u"held.example"}, milliseconds(2000)).at(0), Address(6));
  EXPECT_EQ(resolver->Asked(), (std::multiset<Text>{u"quick.example", u"held.example"}));

  // An address is kept five minutes; a failed name is asked again.
  resolver->names[u"kept.example"] = Address(7);
  const std::vector<Text> names = {u"kept.example", u"gone.example"};
  lookups.Resolve(names, milliseconds(2000));
  now += std::chrono::minutes(5) - milliseconds(1);
  lookups.Resolve(names, milliseconds(2000));
  now += milliseconds(1);
  EXPECT_EQ(lookups.Resolve(names, milliseconds(2000)).at(0), Address(7));
  EXPECT_EQ(resolver->Asked(), (std::multiset<Text>{u"gone.example", u"gone.example", u"gone.example", u"kept.example",
                                                    u"kept.example", u"quick.example", u"held.example"}));
}

// Events run while the pings do; an Exit inside a yield ends them at once, even with a
// name still unanswered. (The answers of the real pings are the integration tests'.)
TEST_F(PingTest, AnExitEndsThePingsAtOnce) {
  testing::CountingPump pump;
  pump.onYield = [&pump](int yields) {
    if (yields == 3) pump.exited = true;
  };
  const auto start = Clock::now();
  EXPECT_THROW(MakePinger(resolver, std::make_unique<FakeEchoer>())->PingHosts({u"10.0.0.1", u"held.example"}, pump),
               HandlerAborted);
  EXPECT_LT(Clock::now() - start, milliseconds(500));
}

}  // namespace
}  // namespace quorvex
