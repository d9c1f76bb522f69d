// Ordering the table by a menu column: directions, ties, texts by code unit, the passes.
#include "menu/sort.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "common/steps.h"
#include "tests/support/counting_pump.h"

namespace quorvex {
namespace {

// Records named "a", "b", ... in slots 1..n with `values` set by `set`, sorted by `column`;
// the names in their new order.
template <typename Value, typename Set>
Text Sorted(const std::vector<Value>& values, int16_t column, Set set, testing::CountingPump& pump) {
  ServerTable table;
  const int n = static_cast<int>(values.size());
  for (int i = 1; i <= n; ++i) {
    table.at(i).address = Text(1, static_cast<char16_t>(u'a' + i - 1));
    set(table.at(i), values[static_cast<size_t>(i - 1)]);
  }
  SortServers(table, n, column, pump);
  Text order;
  for (int i = 1; i <= n; ++i) order += table.at(i).address;
  return order;
}

template <typename Value, typename Set>
Text Sorted(const std::vector<Value>& values, int16_t column, Set set) {
  testing::CountingPump pump;
  return Sorted(values, column, set, pump);
}

const auto kPing = [](ServerRecord& r, int16_t v) { r.ping = v; };

TEST(SortServers, EachColumnHasItsKeyAndDirectionAndTiesKeepTheirOrder) {
  EXPECT_EQ(Sorted<int16_t>({999, 40, 12, 999, 40, 0}, kSortPing, kPing), u"fcbead");
  EXPECT_EQ(Sorted<int16_t>({3, 20, 3, -1, 20}, kSortPlayers, [](ServerRecord& r, int16_t v) { r.current_players = v; }),
            u"beacd");
  EXPECT_EQ(Sorted<int16_t>({0, 45, 0, 45}, kSortBots, [](ServerRecord& r, int16_t v) { r.bots = v; }), u"bdac");
  // Capitals first, a prefix before its extensions, the empty text first; U+1F600 starts
  // with the unit D83D, so it comes before U+FF21 although its code point is higher.
  EXPECT_EQ(Sorted<Text>({u"apple", u"Zulu", u"alpha", u"Zulu", u"alph", u"", u"\uFF21", u"\U0001F600"}, kSortServer,
                         [](ServerRecord& r, const Text& v) { r.name = v; }),
            u"fbdecahg");
  EXPECT_EQ(Sorted<Text>({u"1.9", u"1.31", u"1.10"}, kSortVersion, [](ServerRecord& r, const Text& v) { r.version = v; }),
            u"cba");
  // map_name alone, even where the line shows the map_id instead.
  EXPECT_EQ(Sorted<Text>({u"b", u"", u"a", u""}, kSortMap,
                         [](ServerRecord& r, const Text& v) {
                           r.map_name = v;
                           r.map_id = u"pack/" + r.address;
                         }),
            u"bdca");
  // A column that does not exist orders nothing.
  for (int16_t column : {int16_t{6}, int16_t{-1}}) {
    EXPECT_EQ(Sorted<int16_t>({9, 1}, column, kPing), u"ab");
    EXPECT_FALSE(SortKey(column, ServerRecord{}) < SortKey(kSortPing, ServerRecord{}));
    EXPECT_FALSE(SortKey(kSortPing, ServerRecord{}) < SortKey(column, ServerRecord{}));
  }
}

TEST(SortServers, YieldsAtTheStartOfEveryPassAndRefusesSeventeenSlots) {
  const std::pair<std::vector<int16_t>, int> cases[] = {{{}, 1}, {{1, 2, 3}, 1}, {{3, 2, 1}, 3}, {{1, 3, 2}, 2}};
  for (const auto& [pings, passes] : cases) {
    testing::CountingPump pump;
    Sorted(pings, kSortPing, kPing, pump);
    EXPECT_EQ(pump.yields, passes) << pings.size();
  }
  ServerTable table;
  testing::CountingPump pump;
  EXPECT_THROW(SortServers(table, 17, kSortPing, pump), std::out_of_range);
  EXPECT_EQ(pump.yields, 0);  // refused before anything moves
  pump.onYield = [](int) { throw HandlerAborted{}; };
  EXPECT_THROW(SortServers(table, 16, kSortPing, pump), HandlerAborted);
}

}  // namespace
}  // namespace quorvex
