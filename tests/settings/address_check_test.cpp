#include "settings/address_check.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvex {
namespace {

// A host name of `length` characters in labels of 50.
std::string LongHost(size_t length) {
  std::string host(length, 'a');
  for (size_t dot = 50; dot + 1 < length; dot += 51) host[dot] = '.';
  return host;
}

TEST(AddressCheck, HostsWithAnOptionalPort) {
  const std::pair<std::string, bool> cases[] = {
      {"127.0.0.1:28780", true},      {"example.org", true},       {"a-b.example.org:80", true},
      {"x:65535", true},              {"x:1", true},               {"x:0", false},
      {"x:65536", false},             {"x:", false},               {":80", false},
      {"", false},                    {"-a.org", false},           {"a-.org", false},
      {"a..org", false},              {"a.org.", false},           {"a b.org", false},
      {"http://a.org", false},        {"a.org/x", false},          {"a.org:80:81", false},
      {std::string(63, 'a'), true},   {std::string(64, 'a'), false}, {LongHost(253), true},
      {LongHost(254), false},
  };
  for (const auto& [host, valid] : cases) EXPECT_EQ(IsHostWithOptionalPort(FromUtf8(host)), valid) << host;
  EXPECT_FALSE(IsHostWithOptionalPort(u"h\u00e9te.org"));
}

TEST(AddressCheck, HttpUrls) {
  const std::pair<std::string, bool> cases[] = {
      {"http://127.0.0.1:28780/latest_version.txt", true},
      {"http://example.org", true},
      {"HTTP://example.org", false},
      {"http://example.org/a/b?c=d&e=f", true},
      {"https://example.org/v.txt", false},
      {"ftp://example.org/v.txt", false},
      {"http://", false},
      {"http:///v.txt", false},
      {"http://example.org:0/v.txt", false},
      {"http://example.org/a b", false},
      {"http://user@example.org/", false},
      {"example.org/v.txt", false},
      {"http://example.org/" + std::string(2048, 'a'), false},
  };
  for (const auto& [url, valid] : cases) EXPECT_EQ(IsHttpUrl(FromUtf8(url)), valid) << url;
}

}  // namespace
}  // namespace quorvex
