// The one rule for hosts and ports: what the join, the pings and master= each accept.
#include "common/host_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace quorvex {
namespace {

struct HostCase {
  std::string text;
  bool hostName;             // the join's address check
  bool hostWithOptionalPort;  // master=
  bool dottedIpv4;           // pinged without a name look-up
};

TEST(HostRules, HostNamesPortsAndDottedAddresses) {
  const std::string label(63, 'a'), host253 = label + "." + label + "." + label + "." + std::string(61, 'a');
  const HostCase cases[] = {
      // Dotted addresses are host names too.
      {"127.0.0.1", true, true, true},
      {"255.255.255.255", true, true, true},
      {"0.0.0.0", true, true, true},
      {"192.168.000.010", true, true, true},
      // Digits and dots out of an address's range are still a plain host name.
      {"256.1.1.1", true, true, false},
      {"1.2.3", true, true, false},
      {"1.2.3.4.5", true, true, false},
      {"1.2.3.0004", true, true, false},
      {"1.2.3.4a", true, true, false},
      {"0x1.2.3.4", true, true, false},
      {"4294967295", true, true, false},
      {"eu-1.games.example", true, true, false},
      {"a-b.example.org", true, true, false},
      {"AZ-09.az", true, true, false},
      {label, true, true, false},
      {host253, true, true, false},
      // A port only where one may follow.
      {"127.0.0.1:28780", false, true, false},
      {"x:1", false, true, false},
      {"x:65535", false, true, false},
      {"x:0", false, false, false},
      {"x:65536", false, false, false},
      {"x:000080", false, false, false},
      {"x:", false, false, false},
      {":80", false, false, false},
      {"a:1:2", false, false, false},
      // Empty labels, hyphens at a label's ends, anything but ASCII letters, digits, "-", ".".
      {"", false, false, false},
      {"-a.org", false, false, false},
      {"a-.org", false, false, false},
      {"1.-2.3.4", false, false, false},
      {"a..org", false, false, false},
      {"1..3.4", false, false, false},
      {"a.org.", false, false, false},
      {"1.2.3.", false, false, false},
      {".1.2.3", false, false, false},
      {"+1.2.3.4", false, false, false},
      {" 1.2.3.4", false, false, false},
      {"1.2.3.4 ", false, false, false},
      {"a b.org", false, false, false},
      {"a.org/x", false, false, false},
      {"1,2,3,4", false, false, false},
      {"h\u00e9te.org", false, false, false},
      {"\uFF11.2.3.4", false, false, false},
      // No label over 63 units, no name over 253.
      {std::string(64, 'a'), false, false, false},
      {host253 + "a", false, false, false},
  };
  for (const HostCase& c : cases) {
    const Text text = FromUtf8(c.text);
    EXPECT_EQ(IsHostName(text), c.hostName) << c.text;
    EXPECT_EQ(IsHostWithOptionalPort(text), c.hostWithOptionalPort) << c.text;
    EXPECT_EQ(ParseDottedIpv4(text).has_value(), c.dottedIpv4) << c.text;
  }
}

TEST(HostRules, ADottedAddressIsReadInDecimalAndKeptInNetworkOrder) {
  EXPECT_EQ(ParseDottedIpv4(u"192.168.000.010"), ParseDottedIpv4(u"192.168.0.10"));  // leading zeros are decimal
  EXPECT_EQ(ParseDottedIpv4(u"255.255.255.255"), UINT32_MAX);
  const uint32_t address = *ParseDottedIpv4(u"1.2.3.4");
  const uint8_t inOrder[] = {1, 2, 3, 4};
  EXPECT_EQ(std::memcmp(&address, inOrder, sizeof inOrder), 0);
}

TEST(HostRules, HttpUrls) {
  const std::string urls[] = {"http://127.0.0.1:28780/v.txt", "http://h", "http://h/a/b?c=d&e=f", "http://h/!~"};
  const std::string notUrls[] = {"https://h/v", "HTTP://h", "http://", "http:///v", "http://h:0/v", "http://h/a b",
                                 "http://u@h/", "h/v", "http://h/\u00e9", "http://h/" + std::string(2048, 'a')};
  for (const std::string& url : urls) EXPECT_TRUE(IsHttpUrl(FromUtf8(url))) << url;
  for (const std::string& url : notUrls) EXPECT_FALSE(IsHttpUrl(FromUtf8(url))) << url;
}

}  // namespace
}  // namespace quorvex
