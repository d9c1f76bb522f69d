// The one rule for hosts and ports: what the join, the pings and master= each accept.
#include "common/host_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace quorvex {
namespace {

// The verdicts of IsHostName (the join's address check), IsHostWithOptionalPort (master=) and
// ParseDottedIpv4 (pinged without a name look-up), and the texts that get them.
struct HostCase {
  bool hostName, hostWithOptionalPort, dottedIpv4;
  std::vector<std::string> texts;
};

TEST(HostRules, HostNamesPortsAndDottedAddresses) {
  const std::string label(63, 'a'), host253 = label + "." + label + "." + label + "." + std::string(61, 'a');
  const HostCase cases[] = {
      {true, true, true, {"127.0.0.1", "255.255.255.255", "0.0.0.0", "192.168.000.010"}},
      // Digits and dots out of an address's range are still a plain host name.
      {true, true, false, {"256.1.1.1", "1.2.3", "1.2.3.4.5", "1.2.3.0004", "1.2.3.4a", "0x1.2.3.4", "4294967295",
                           "eu-1.games.example", "a-b.example.org", "AZ-09.az", label, host253}},
      {false, true, false, {"127.0.0.1:28780", "x:1", "x:65535"}},
      // Bad ports; empty labels, hyphens at a label's ends, anything but ASCII letters, digits,
      // "-" and "." (what a shell or cmd.exe would read among it); a label over 63 units, a
      // name over 253.
      {false, false, false, {"x:0", "x:65536", "x:000080", "x:", ":80", "a:1:2", "", "-a.org", "a-.org", "1.-2.3.4",
                             "a..org", "1..3.4", "a.org.", "1.2.3.", ".1.2.3", "+1.2.3.4", " 1.2.3.4", "1.2.3.4 ",
                             "a b.org", "a.org/x", "1,2,3,4", "h\u00e9te.org", "\uFF11.2.3.4", std::string(64, 'a'),
                             host253 + "a", "1.2.3.4&del x", "1.2.3.4\"x", "%PATH%", "a^b", "a|b", "a\r\nb", "a<b",
                             "a>b", "a;b", "a`id`", "$(id)"}},
  };
  for (const HostCase& c : cases) {
    for (const std::string& text : c.texts) {
      EXPECT_EQ(IsHostName(FromUtf8(text)), c.hostName) << text;
      EXPECT_EQ(IsHostWithOptionalPort(FromUtf8(text)), c.hostWithOptionalPort) << text;
      EXPECT_EQ(ParseDottedIpv4(FromUtf8(text)).has_value(), c.dottedIpv4) << text;
    }
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
