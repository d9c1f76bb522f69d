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

TEST(ScanListedServers, ReadsEveryServerElementBeyondTheSixteenOfTheTable) {
  Text reply = u"<?xml version=\"1.0\"?><result>";
  std::vector<ListedServer> expected;
  for (int n = 1; n <= 40; ++n) {
    const Text number = FormatPlain(n);
    reply += u"<server><name>S" + number + u"</name><map_name>Isle</map_name><address>10.0.0." + number +
             u"</address><port>2" + number + u"</port><current_players>" + number +
             u"</current_players><player_names>p" + number + u",q</player_names></server>";
    expected.push_back({u"S" + number, u"10.0.0." + number, u"2" + number, n, {u"p" + number, u"q"}});
  }
  EXPECT_EQ(ScanListedServers(reply + u"</result>"), expected);
}

// A missing tag leaves only that field of that server empty (the table's tag-by-tag scan
// would shift every later server's value instead); a field ends at the next "</" whatever
// closes there; a cut-off last element is no server.
TEST(ScanListedServers, AMissingTagEmptiesOnlyItsFieldAndACutOffElementIsSkipped) {
  const Text reply = u"<server><address>a</address><player_names>x</player_names></server>"
                     u"<server><name>B<b>c</b></name><port>7</port><current_players>3</current_players>"
                     u"<player_names>p, q</x>r</player_names></server><server></server>"
                     u"<server><name>C &amp; D</name><address>c</address><player_names>y";
  EXPECT_EQ(ScanListedServers(reply), (std::vector<ListedServer>{
                                          {u"", u"a", u"", {}, {u"x"}}, {u"B<b>c", u"", u"7", 3, {u"p", u"q"}}, {}}));
  EXPECT_TRUE(ScanListedServers(u"").empty());
  EXPECT_TRUE(ScanListedServers(u"<servers>12</servers>").empty());
}

// The player history reads the counts alone.
TEST(ScanListedServers, LeavesThePlayerNamesUnreadWhenAskedTo) {
  const Text reply = u"<server><name>A &amp; B</name><address>a</address><port>1</port>"
                     u"<current_players>2</current_players><player_names>p, q</player_names></server>";
  EXPECT_EQ(ScanListedServers(reply, false), (std::vector<ListedServer>{{u"A & B", u"a", u"1", 2, {}}}));
  EXPECT_EQ(ScanListedServers(reply, true), (std::vector<ListedServer>{{u"A & B", u"a", u"1", 2, {u"p", u"q"}}}));
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
