// The news balloon's text: its lines, the 255-unit limit with "and N more", and the news
// that waits behind the player-limit balloon, the players' lines before the servers'.
#include "watch/news_balloon.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

#include "common/numbers.h"

namespace quorvex {
namespace {

// Each line names the server cut to 40 units, never inside a surrogate pair; a player's name is never cut.
TEST(NewsLines, SayOnMovedToHasPlayersOrTheServerWithTheServerNameCutTo40Units) {
  const Text forty(40, u's');
  const Text smile = u"\U0001F600";
  const std::pair<Text, Text> cases[] = {
      {PlayerNewsLine({u"Bob", PlayerEvent::kOnline, u"Isle & Co"}), u"Bob on Isle & Co"},
      {PlayerNewsLine({u"Bob", PlayerEvent::kMoved, u"Isle"}), u"Bob moved to Isle"},
      {PlayerNewsLine({u"Bob", PlayerEvent::kOnline, forty + u"x"}), u"Bob on " + forty},
      {PlayerNewsLine({u"Bob", PlayerEvent::kOnline, forty}), u"Bob on " + forty},
      {PlayerNewsLine({u"Bob", PlayerEvent::kOnline, forty.substr(1) + smile}), u"Bob on " + forty.substr(1)},
      {PlayerNewsLine({u"Bob", PlayerEvent::kOnline, forty.substr(2) + smile}), u"Bob on " + forty.substr(2) + smile},
      {PlayerNewsLine({Text(60, u'n'), PlayerEvent::kMoved, u""}), Text(60, u'n') + u" moved to "},
      {ServerNewsLine({u"Isle & Co", u"a", u"1", 12}), u"Isle & Co has 12 players"},
      {ServerNewsLine({forty + u"x", u"a", u"1", 999}), forty + u" has 999 players"},
      {OnlinePlayerLine({u"R&D_b", {u"Isle & Co", u"a", u"1"}}), u"R&D_b    Isle & Co"},
      {OnlinePlayerLine({Text(50, u'n'), {forty + u"x", u"a", u"1"}}), Text(50, u'n') + u"    " + forty},
      {OnlinePlayerLine({u"a", {forty.substr(1) + smile, u"a", u"1"}}), u"a    " + forty.substr(1)},
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(line, expected) << ToUtf8(expected);
}

// Lines of `units` units each, "1xxx", "2xxx", ...
std::vector<Text> Lines(size_t count, size_t units) {
  std::vector<Text> lines;
  for (size_t i = 1; i <= count; ++i) {
    const Text number = FormatPlain(static_cast<int64_t>(i));
    lines.push_back(number + Text(units - number.size(), u'x'));
  }
  return lines;
}

Text Joined(const std::vector<Text>& lines, size_t count, const Text& separator) {
  Text text;
  for (size_t i = 0; i < count; ++i) text += (i == 0 ? u"" : separator) + lines[i];
  return text;
}

TEST(JoinNewsLines, KeepsWholeLinesWithin255UnitsAndCountsTheRestInALastLine) {
  // 5 lines of 50 and 4 LF fill 254 units; of 51, 259; with CR LF 5 × 50 + 8 = 258. Then
  // as many lines as fit with the "and N more" line.
  const std::vector<Text> fifty = Lines(5, 50), fiftyOne = Lines(5, 51), many = Lines(40, 20);
  const std::vector<Text> tooLong = {Text(256, u'a'), u"b"};
  const std::tuple<std::vector<Text>, Text, Text, size_t> cases[] = {
      {{}, u"\n", u"", 0},
      {{u"one"}, u"\n", u"one", 1},
      {fifty, u"\n", Joined(fifty, 5, u"\n"), 5},
      {{Text(255, u'a')}, u"\r\n", Text(255, u'a'), 1},
      {fiftyOne, u"\n", Joined(fiftyOne, 4, u"\n") + u"\nand 1 more", 4},  // 207 + 11
      {fifty, u"\r\n", Joined(fifty, 4, u"\r\n") + u"\r\nand 1 more", 4},  // 206 + 12
      // 11 lines of 20 and 10 LF are 230; "\nand 29 more" would make 242, 12 lines 263.
      {many, u"\n", Joined(many, 11, u"\n") + u"\nand 29 more", 11},
      {tooLong, u"\n", u"and 2 more", 0},  // a line too long for the balloon leaves out all after it
      {{Text(256, u'a')}, u"\n", u"and 1 more", 0},
      // The last line must fit too: 250 units fit alone, not with "\nand 1 more".
      {{Text(250, u'a'), u"bbbbbb"}, u"\n", u"and 2 more", 0},
      {{Text(244, u'a'), Text(20, u'b'), u"c"}, u"\n", Text(244, u'a') + u"\nand 2 more", 1},  // 255 exactly
      {{Text(245, u'a'), Text(20, u'b'), u"c"}, u"\n", u"and 3 more", 0},
  };
  for (const auto& [lines, separator, text, wholeLines] : cases) {
    const JoinedNews joined = JoinNewsLines(lines, separator);
    EXPECT_EQ(joined.text, text) << ToUtf8(joined.text);
    EXPECT_EQ(joined.wholeLines, wholeLines) << ToUtf8(joined.text);
    EXPECT_LE(joined.text.size(), kNewsTextUnits);
  }
}

// A name is pending once with its latest event; a server (its address and port) once, in its
// first place, with its latest name and count, after the players' lines. What was taken is not held any more.
TEST(PendingNews, KeepsEachNameAndServerOnceWithItsLatestNewsPlayersFirstAndForgetsWhatWasTaken) {
  PendingNews pending;
  EXPECT_TRUE(pending.IsEmpty());
  EXPECT_EQ(pending.TakeBalloon(u"\n").text, u"");
  // Two polls while the player-limit balloon had the screen.
  pending.AddServerNews({{u"Isle", u"a", u"1", 12}, {u"Bay", u"b", u"1", 20}, {u"X", u"ab", u"c", 5}});
  pending.AddPlayerNews({{u"ann", PlayerEvent::kOnline, u"A"}, {u"bob", PlayerEvent::kOnline, u"A"}});
  pending.AddPlayerNews({{u"cid", PlayerEvent::kOnline, u"B"}, {u"ann", PlayerEvent::kMoved, u"B"}});
  pending.AddServerNews({{u"Isle 2", u"a", u"1", 14}, {u"Bay", u"b", u"2", 30}, {u"Y", u"a", u"bc", 6}});
  pending.AddPlayerNews({});
  EXPECT_FALSE(pending.IsEmpty());
  EXPECT_EQ(pending.TakeBalloon(u"\r\n").text,
            u"ann moved to B\r\nbob on A\r\ncid on B\r\nIsle 2 has 14 players\r\nBay has 20 players\r\n"
            u"X has 5 players\r\nBay has 30 players\r\nY has 6 players");
  EXPECT_TRUE(pending.IsEmpty());
  pending.AddPlayerNews({{u"bob", PlayerEvent::kMoved, u"C"}, {u"ann", PlayerEvent::kOnline, u"C"}});
  EXPECT_EQ(pending.TakeBalloon(u"\n").text, u"bob moved to C\nann on C");
  pending.AddServerNews({{u"Isle", u"a", u"1", 12}});
  EXPECT_FALSE(pending.IsEmpty());
  EXPECT_EQ(pending.TakeBalloon(u"\n").text, u"Isle has 12 players");
}

TEST(PendingNews, PlayersAndServersShareTheBalloonsLimitAndItsCount) {
  PendingNews pending;
  std::vector<PlayerNews> players;
  std::vector<ServerNews> servers;
  for (int i = 10; i < 20; ++i) players.push_back({u"p" + FormatPlain(i), PlayerEvent::kOnline, u"S"});
  for (int i = 10; i < 40; ++i) servers.push_back({u"s" + FormatPlain(i), FormatPlain(i), u"1", 5});
  pending.AddServerNews(servers);
  pending.AddPlayerNews(players);
  // 10 lines "p10 on S" and 9 LF are 89 units; then 8 lines "\ns10 has 5 players" (18 each)
  // and "\nand 22 more" make 245; a ninth server line would make 263.
  Text expected;
  for (int i = 10; i < 20; ++i) expected += u"p" + FormatPlain(i) + u" on S\n";
  for (int i = 10; i < 18; ++i) expected += u"s" + FormatPlain(i) + u" has 5 players\n";
  EXPECT_EQ(pending.TakeBalloon(u"\n").text, expected + u"and 22 more");
}

// A balloon remembers the server of its first line as shown: a player's line comes before the
// servers' whenever it was added, and a name pending over several polls shows its latest
// news. A balloon whose first line did not fit is about no single server.
TEST(PendingNews, ABalloonRemembersTheServerOfItsFirstLineAsShown) {
  const ServerPlace a{u"A", u"10.0.0.1", u"27015"}, b{u"B", u"10.0.0.2", u"27015"}, c{u"C", u"10.0.0.1", u"27016"};
  const Text longName(250, u'n');
  struct Poll {
    std::vector<PlayerNews> players;
    std::vector<ServerNews> servers;
  };
  const std::tuple<const char*, std::vector<Poll>, std::optional<ServerPlace>> cases[] = {
      {"no news", {}, std::nullopt},
      {"watch lines", {{{{u"ann", PlayerEvent::kOnline, a}, {u"bob", PlayerEvent::kOnline, b}}, {}}}, a},
      {"a rule line", {{{}, {{c, 5}, {b, 9}}}}, c},
      {"a watch line before the rule lines", {{{{u"bob", PlayerEvent::kMoved, b}}, {{c, 5}}}}, b},
      {"a watch line of a later poll", {{{}, {{c, 5}}}, {{{u"ann", PlayerEvent::kOnline, a}}, {}}}, a},
      {"the first name's latest news",
       {{{{u"ann", PlayerEvent::kOnline, a}, {u"bob", PlayerEvent::kOnline, a}}, {}},
        {{{u"ann", PlayerEvent::kMoved, c}}, {}}},
       c},
      {"the first server's latest count", {{{}, {{b, 5}, {a, 6}}}, {{}, {{a, 7}, {b, 8}}}}, b},
      {"a first line that only fits alone", {{{{longName, PlayerEvent::kOnline, a}}, {{b, 5}}}}, std::nullopt},
      {"a first line that fits", {{{{longName.substr(20), PlayerEvent::kOnline, a}}, {{b, 5}}}}, a},
  };
  for (const auto& [what, polls, remembered] : cases) {
    PendingNews pending;
    for (const Poll& poll : polls) {
      pending.AddPlayerNews(poll.players);
      pending.AddServerNews(poll.servers);
    }
    const NewsBalloon balloon = pending.TakeBalloon(u"\n");
    EXPECT_EQ(balloon.server, remembered) << what << ": " << ToUtf8(balloon.text);
  }
}

}  // namespace
}  // namespace quorvex
