// The watch's reading of a list reply: every <server> element, the fields it needs, the
// player names and entities, and replies built to cost time or memory.
#include "watch/listed_servers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "common/numbers.h"

namespace quorvex {
namespace {

Text ServerElement(const Text& name, const Text& address, const Text& port, const Text& players, const Text& names) {
  return u"<server><name>" + name + u"</name><map_name>Isle</map_name><address>" + address + u"</address><port>" +
         port + u"</port><current_players>" + players + u"</current_players><player_names>" + names +
         u"</player_names></server>";
}

TEST(ScanListedServers, ReadsEveryServerElementBeyondTheSixteenOfTheTable) {
  Text reply = u"<?xml version=\"1.0\"?><result>";
  for (int n = 1; n <= 40; ++n)
    reply += ServerElement(u"S" + FormatPlain(n), u"10.0.0." + FormatPlain(n), u"2" + FormatPlain(n), FormatPlain(n),
                           u"p" + FormatPlain(n) + u",q");
  reply += u"</result>";
  const std::vector<ListedServer> servers = ScanListedServers(reply);
  ASSERT_EQ(servers.size(), 40u);
  for (int n = 1; n <= 40; ++n) {
    const ListedServer& server = servers[static_cast<size_t>(n) - 1];
    EXPECT_EQ(server.name, u"S" + FormatPlain(n));
    EXPECT_EQ(server.address, u"10.0.0." + FormatPlain(n));
    EXPECT_EQ(server.port, u"2" + FormatPlain(n));
    EXPECT_EQ(server.current_players, n);
    EXPECT_EQ(server.playerNames, (std::vector<Text>{u"p" + FormatPlain(n), u"q"}));
  }
}

// A missing tag leaves only that field of that server empty (the table's tag-by-tag scan
// would shift every later server's value instead); a cut-off last element is no server.
TEST(ScanListedServers, AMissingTagEmptiesOnlyItsFieldAndACutOffElementIsSkipped) {
  const Text reply = u"<server><address>a</address><player_names>x</player_names></server>"
                     u"<server><name>B</name><port>7</port><current_players>3</current_players></server>"
                     u"<server></server>"
                     u"<server><name>C &amp; D</name><address>c</address><player_names>y";
  const std::vector<ListedServer> servers = ScanListedServers(reply);
  ASSERT_EQ(servers.size(), 3u);
  EXPECT_EQ(servers[0].name, u"");
  EXPECT_EQ(servers[0].address, u"a");
  EXPECT_EQ(servers[0].current_players, std::nullopt);
  EXPECT_EQ(servers[0].playerNames, std::vector<Text>{u"x"});
  EXPECT_EQ(servers[1].name, u"B");
  EXPECT_EQ(servers[1].address, u"");
  EXPECT_EQ(servers[1].port, u"7");
  EXPECT_EQ(servers[1].current_players, 3);
  EXPECT_TRUE(servers[1].playerNames.empty());
  EXPECT_EQ(servers[2], (ListedServer{}));
  EXPECT_TRUE(ScanListedServers(u"").empty());
  EXPECT_TRUE(ScanListedServers(u"<servers>12</servers>").empty());
}

// A field ends at the next "</" whatever closes there, as in the server table.
TEST(ScanListedServers, AFieldRunsToTheNextClosingMark) {
  const std::vector<ListedServer> servers =
      ScanListedServers(u"<server><name>A<b>c</b></name><player_names>p, q</x>r</player_names></server>");
  ASSERT_EQ(servers.size(), 1u);
  EXPECT_EQ(servers[0].name, u"A<b>c");
  EXPECT_EQ(servers[0].playerNames, (std::vector<Text>{u"p", u"q"}));
}

TEST(SplitPlayerNames, SplitsAtCommasTrimsBlanksDropsEmptiesAndDecodesEntities) {
  const std::pair<Text, std::vector<Text>> cases[] = {
      {u"", {}},
      {u" , ,\t,", {}},
      {u"a", {u"a"}},
      {u" a b ,\tc\t,,d", {u"a b", u"c", u"d"}},
      {u"Tom &amp; Jerry,&lt;3&gt;,&quot;q&quot;,it&apos;s", {u"Tom & Jerry", u"<3>", u"\"q\"", u"it's"}},
      {u"&amp;lt;,&AMP;,&amp,&#38;,&", {u"&lt;", u"&AMP;", u"&amp", u"&#38;", u"&"}},
      {u"\u00c5sa,\U0001F600", {u"\u00c5sa", u"\U0001F600"}},
      {u"a\u00a0,b\r", {u"a\u00a0", u"b\r"}},  // only blanks and tabs are trimmed
  };
  for (const auto& [text, names] : cases) EXPECT_EQ(SplitPlayerNames(text), names) << ToUtf8(text);
}

TEST(WholeNumber, IsOnlyDigitsWithinBlanksThatFit31Bits) {
  const std::pair<Text, std::optional<int32_t>> cases[] = {
      {u"0", 0},           {u" 12\t", 12},      {u"007", 7},     {u"2147483647", INT32_MAX},
      {u"2147483648", {}}, {u"99999999999999999999", {}},         {u"", {}},
      {u" ", {}},          {u"-1", {}},         {u"+1", {}},     {u"1.0", {}},
      {u"1 2", {}},        {u"12a", {}},        {u"\u0661", {}},  // an Arabic-Indic one is no ASCII digit
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(WholeNumber(text), value) << ToUtf8(text);
}

// Replies made to cost: a million opening tags without an end, one element spanning them,
// a million commas, half a million one-letter names. Each is read in one pass.
TEST(ScanListedServers, HostileRepliesCostTimeAndMemoryInProportionToTheirLength) {
  const size_t n = 1'000'000;
  Text opens;
  for (size_t i = 0; i < n / 8; ++i) opens += u"<server>";
  const Text commas = u"<server><player_names>" + Text(n, u',') + u"</player_names></server>";
  Text manyNames = u"<server><player_names>";
  for (size_t i = 0; i < n / 2; ++i) manyNames += u"a,";
  manyNames += u"</player_names></server>";
  const std::tuple<Text, size_t, size_t> cases[] = {
      {opens, 0, 0},
      {opens + u"<name>x</name></server>", 1, 0},
      {commas, 1, 0},
      {manyNames, 1, n / 2},
  };
  const auto start = std::chrono::steady_clock::now();
  for (const auto& [reply, servers, names] : cases) {
    const std::vector<ListedServer> scanned = ScanListedServers(reply);
    ASSERT_EQ(scanned.size(), servers);
    if (servers > 0) {
      EXPECT_EQ(scanned[0].playerNames.size(), names);
    }
  }
  // Generous for a busy machine: a scan that is quadratic in any of them takes minutes.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

}  // namespace
}  // namespace quorvex
