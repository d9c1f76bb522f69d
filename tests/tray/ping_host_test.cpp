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
  std::optional<int32_t> Echo(uint32_t address, int timeoutMs) override {
    addresses.push_back(address);
    EXPECT_EQ(timeoutMs, 50);
    return answer;
  }
  std::optional<int32_t> answer = 7;
  std::vector<uint32_t> addresses;
};

TEST(PingHost, DottedAddressesAreEchoedWithoutTheResolverAndTheResultIsBlankAndMillisecondsOr999) {
  FakeResolver resolver;
  FakeEcho echo;
  const std::pair<Text, uint32_t> dotted[] = {{u"1.2.3.4", Address(1, 2, 3, 4)},
                                              {u"255.255.255.255", Address(255, 255, 255, 255)},
                                              {u"192.168.000.010", Address(192, 168, 0, 10)},  // decimal, not octal
                                              {u"0.0.0.9", Address(0, 0, 0, 9)}};
  for (const auto& [host, address] : dotted) {
    EXPECT_EQ(PingHost(host, resolver, echo), u" 7");
    EXPECT_EQ(echo.addresses.back(), address) << ToUtf8(host);
  }
  EXPECT_TRUE(resolver.asked.empty());
  for (const auto& [answer, shown] : {std::pair<std::optional<int32_t>, Text>{23, u" 23"}, {0, u" 0"}, {std::nullopt, u"999"}}) {
    echo.answer = answer;
    EXPECT_EQ(PingHost(u"10.0.0.1", resolver, echo), shown);
  }
}

TEST(PingHost, AnythingElseIsANameForTheResolverAndNoDestinationMeansNoEcho) {
  FakeResolver resolver;
  FakeEcho echo;
  resolver.names = {{u"server.example", Address(203, 0, 113, 5)}, {u"zero", 0}, {u"a", Address(10, 0, 0, 3)}};
  const std::vector<Text> names = {u"1.2.3", u"256.1.1.1", u"1.2.3.4.5", u" 1.2.3.4", u"1.2.3.4 ", u"1..3.4", u"1.2.3.",
                                   u".1.2.3", u"+1.2.3.4", u"1.-2.3.4", u"0x1.2.3.4", u"1.2.3.0004", u"1.2.3.4a",
                                   u"\uFF11.2.3.4", u"1,2,3,4", u"4294967295", u"nowhere.invalid", u"zero"};
  for (const Text& host : names) EXPECT_EQ(PingHost(host, resolver, echo), u"999") << ToUtf8(host);
  EXPECT_EQ(resolver.asked, names);
  EXPECT_EQ(PingHost(u"", resolver, echo), u"999");
  EXPECT_EQ(PingHost(Text(u"a\0b", 3), resolver, echo), u"999");  // a resolver would stop at the NUL
  EXPECT_EQ(PingHost(u"0.0.0.0", resolver, echo), u"999");         // address 0 is no server
  EXPECT_EQ(resolver.asked.size(), names.size());
  EXPECT_TRUE(echo.addresses.empty());
  EXPECT_EQ(PingHost(u"server.example", resolver, echo), u" 7");
  EXPECT_EQ(echo.addresses, std::vector<uint32_t>{Address(203, 0, 113, 5)});
}

TEST(PingHost, AHostOver64UnitsIsRefusedBeforeAnythingIsAsked) {
  FakeResolver resolver;
  auto owned = std::make_unique<FakeEcho>();
  FakeEcho& echo = *owned;
  const auto pinger = MakeEchoPinger(resolver, std::move(owned));  // the platforms' pinger over PingHost
  Text pairs64;
  for (int i = 0; i < 32; ++i) pairs64 += u"\U0001F600";  // 64 units
  EXPECT_EQ(pinger->PingHost(Text(64, u'a')), u"999");
  EXPECT_EQ(pinger->PingHost(pairs64), u"999");
  EXPECT_EQ(resolver.asked.size(), 2u);
  for (const Text& host : {Text(65, u'a'), pairs64 + u"\U0001F600", u"1.2.3.4" + Text(58, u' ')})
    EXPECT_THROW(pinger->PingHost(host), std::invalid_argument);
  EXPECT_EQ(resolver.asked.size(), 2u);
  EXPECT_EQ(pinger->PingHost(u"10.1.2.3"), u" 7");
  EXPECT_EQ(echo.addresses, std::vector<uint32_t>{Address(10, 1, 2, 3)});
}

}  // namespace
}  // namespace quorvex
