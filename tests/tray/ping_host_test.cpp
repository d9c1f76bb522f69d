// PingHost's own decisions over a fake resolver and a fake echo: no name is ever resolved.
#include "tray/ping_host.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <stdexcept>
#include <vector>

namespace quorvex {
namespace {

uint32_t Address(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
  const uint8_t bytes[4] = {a, b, c, d};
  uint32_t address = 0;
  std::memcpy(&address, bytes, sizeof address);
  return address;
}

class FakeResolver : public Resolver {
 public:
  std::optional<uint32_t> ResolveIpv4(const Text& hostName) override {
    asked.push_back(hostName);
    const auto known = names.find(hostName);
    if (known == names.end()) return std::nullopt;
    return known->second;
  }
  std::map<Text, uint32_t> names;
  std::vector<Text> asked;
};

class FakeEcho : public IcmpEcho {
 public:
  std::optional<int32_t> Echo(uint32_t addressNetworkOrder, int timeoutMs) override {
    addresses.push_back(addressNetworkOrder);
    timeouts.push_back(timeoutMs);
    return answer;
  }
  std::optional<int32_t> answer = 7;
  std::vector<uint32_t> addresses;
  std::vector<int> timeouts;
};

class PingHostTest : public ::testing::Test {
 protected:
  Text Ping(const Text& host) { return PingHost(host, resolver, echo); }
  FakeResolver resolver;
  FakeEcho echo;
};

TEST_F(PingHostTest, ResultIsBlankAndMillisecondsOr999) {
  echo.answer = 23;
  EXPECT_EQ(Ping(u"10.0.0.1"), u" 23");
  echo.answer = 0;
  EXPECT_EQ(Ping(u"10.0.0.1"), u" 0");
  echo.answer = std::nullopt;
  EXPECT_EQ(Ping(u"10.0.0.1"), u"999");
  EXPECT_EQ(echo.timeouts, (std::vector<int>{50, 50, 50}));
}

TEST_F(PingHostTest, HostLengthLimitIs64CodeUnits) {
  const Text name64(64, u'a');
  resolver.names[name64] = Address(10, 0, 0, 2);
  EXPECT_EQ(Ping(name64), u" 7");

  // 32 surrogate pairs are 64 units; one more pair is 66.
  Text pairs64;
  for (int i = 0; i < 32; ++i) pairs64 += u"\U0001F600";
  EXPECT_NO_THROW(Ping(pairs64));

  resolver.asked.clear();
  echo.addresses.clear();
  EXPECT_THROW(Ping(Text(65, u'a')), std::invalid_argument);
  EXPECT_THROW(Ping(pairs64 + u"\U0001F600"), std::invalid_argument);
  EXPECT_THROW(Ping(u"1.2.3.4" + Text(58, u' ')), std::invalid_argument);
  EXPECT_TRUE(resolver.asked.empty());
  EXPECT_TRUE(echo.addresses.empty());
}

TEST_F(PingHostTest, NoDestinationGives999WithoutAnyEcho) {
  EXPECT_EQ(Ping(u""), u"999");
  EXPECT_TRUE(resolver.asked.empty());

  EXPECT_EQ(Ping(u"nowhere.invalid"), u"999");
  EXPECT_EQ(resolver.asked, (std::vector<Text>{u"nowhere.invalid"}));

  // A resolver would stop reading at the NUL and answer for another name.
  resolver.names[u"a"] = Address(10, 0, 0, 3);
  EXPECT_EQ(Ping(Text(u"a\0b", 3)), u"999");

  // Address 0, named or written, is no server.
  resolver.names[u"zero"] = 0;
  EXPECT_EQ(Ping(u"zero"), u"999");
  EXPECT_EQ(Ping(u"0.0.0.0"), u"999");

  EXPECT_TRUE(echo.addresses.empty());
}

TEST_F(PingHostTest, DottedAddressIsParsedWithoutTheResolver) {
  Ping(u"1.2.3.4");
  Ping(u"255.255.255.255");
  Ping(u"192.168.000.010");  // leading zeros are decimal, not octal
  Ping(u"0.0.0.9");
  EXPECT_TRUE(resolver.asked.empty());
  EXPECT_EQ(echo.addresses, (std::vector<uint32_t>{Address(1, 2, 3, 4), Address(255, 255, 255, 255),
                                                    Address(192, 168, 0, 10), Address(0, 0, 0, 9)}));
}

TEST_F(PingHostTest, AnythingNotExactlyFourDecimalPartsGoesToTheResolver) {
  const std::vector<Text> notDotted = {
      u"1.2.3",     u"256.1.1.1", u"1.2.3.4.5", u" 1.2.3.4", u"1.2.3.4 ", u"1..3.4",   u"1.2.3.",
      u".1.2.3",    u"+1.2.3.4",  u"1.-2.3.4",  u"0x1.2.3.4", u"1.2.3.0004", u"1.2.3.4a", u"\uFF11.2.3.4",
      u"1,2,3,4",   u"4294967295"};
  for (const Text& host : notDotted) {
    EXPECT_EQ(Ping(host), u"999") << ToUtf8(host);
  }
  EXPECT_EQ(resolver.asked, notDotted);
  EXPECT_TRUE(echo.addresses.empty());
}

TEST_F(PingHostTest, NameIsEchoedAtTheAddressItResolvesTo) {
  resolver.names[u"server.example"] = Address(203, 0, 113, 5);
  echo.answer = 41;
  EXPECT_EQ(Ping(u"server.example"), u" 41");
  EXPECT_EQ(resolver.asked, (std::vector<Text>{u"server.example"}));
  EXPECT_EQ(echo.addresses, (std::vector<uint32_t>{Address(203, 0, 113, 5)}));
}

TEST(EchoPingerTest, PlatformPingerRunsPingHostOverItsEcho) {
  FakeResolver resolver;
  auto echo = std::make_unique<FakeEcho>();
  FakeEcho& echoSeen = *echo;
  echo->answer = 12;
  auto pinger = MakeEchoPinger(resolver, std::move(echo));
  EXPECT_EQ(pinger->PingHost(u"10.1.2.3"), u" 12");
  EXPECT_EQ(echoSeen.addresses, (std::vector<uint32_t>{Address(10, 1, 2, 3)}));
  EXPECT_THROW(pinger->PingHost(Text(65, u'x')), std::invalid_argument);
}

}  // namespace
}  // namespace quorvex
