// The steam:// link a join hands a link handler and a notifyCommand finds in QUORVEX_JOIN_URL.
#include "join/join_link.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(JoinLinkTest, TheLinkRunsTheGameWithTheServersAddressAndPort) {
  EXPECT_EQ(SteamRunLink({.address = u"127.0.0.2", .port = 40000}),
            u"steam://run/270150//server_address%3D127.0.0.2%20server_port%3D40000/");
  EXPECT_EQ(SteamRunLink({.address = u"localhost", .port = 1}),
            u"steam://run/270150//server_address%3Dlocalhost%20server_port%3D1/");
}

TEST(JoinLinkTest, PercentEncodingKeepsOnlyLettersDigitsAndHyphenDotUnderscoreTilde) {
  const struct {
    Text text, encoded;
  } rows[] = {
      {u"", u""},
      {u"AZaz09-._~", u"AZaz09-._~"},
      {u" =/?#%&+:@", u"%20%3D%2F%3F%23%25%26%2B%3A%40"},
      {u"\n\t\x7f", u"%0A%09%7F"},
      {u"\u00e9\u20ac", u"%C3%A9%E2%82%AC"},
      {u"\U0001F600", u"%F0%9F%98%80"},
  };
  for (const auto& row : rows) EXPECT_EQ(PercentEncoded(row.text), row.encoded) << ToUtf8(row.text);
}

}  // namespace
}  // namespace quorvex
