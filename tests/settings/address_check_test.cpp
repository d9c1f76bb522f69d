#include "settings/address_check.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvex {
namespace {

TEST(AddressCheck, HostsWithAnOptionalPortAndHttpUrls) {
  const std::string label(63, 'a'), host253 = label + "." + label + "." + label + "." + std::string(61, 'a');
  const std::string hosts[] = {"127.0.0.1:28780", "a-b.example.org", "AZ-09.az", "x:1", "x:65535", host253};
  const std::string notHosts[] = {"", "x:0", "x:65536", "x:000080", "x:", ":80", "-a.org", "a-.org", "a..org", "a.org.",
                                  "a b.org", "a.org/x", "a:1:2", "h\u00e9te.org", host253 + "a", std::string(64, 'a')};
  const std::string urls[] = {"http://127.0.0.1:28780/v.txt", "http://h", "http://h/a/b?c=d&e=f", "http://h/!~"};
  const std::string notUrls[] = {"https://h/v", "HTTP://h", "http://", "http:///v", "http://h:0/v", "http://h/a b",
                                 "http://u@h/", "h/v", "http://h/\u00e9", "http://h/" + std::string(2048, 'a')};
  for (const std::string& host : hosts) EXPECT_TRUE(IsHostWithOptionalPort(FromUtf8(host))) << host;
  for (const std::string& host : notHosts) EXPECT_FALSE(IsHostWithOptionalPort(FromUtf8(host))) << host;
  for (const std::string& url : urls) EXPECT_TRUE(IsHttpUrl(FromUtf8(url))) << url;
  for (const std::string& url : notUrls) EXPECT_FALSE(IsHttpUrl(FromUtf8(url))) << url;
}

}  // namespace
}  // namespace quorvex
