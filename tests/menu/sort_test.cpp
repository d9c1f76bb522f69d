// Ordering the table by a menu column: directions, ties, texts by code unit, the passes.
#include "menu/sort.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "common/steps.h"
#include "tests/support/counting_pump.h"

namespace quorvex {
namespace {

using testing::CountingPump;

// Records named "a", "b", ... in slots 1..n, each with `set` applied to its value.
template <typename Value, typename Set>
ServerTable TableOf(const std::vector<Value>& values, Set set) {
  ServerTable table;
  for (size_t i = 0; i < values.size(); ++i) {
    ServerRecord& record = table.at(static_cast<int>(i) + 1);
    record.address = Text(1, static_cast<char16_t>(u'a' + i));
    set(record, values[i]);
  }
  return table;
}

Text Order(const ServerTable& table, int n) {
  Text order;
  for (int i = 1; i <= n; ++i) order += table.at(i).address;
  return order;
}

template <typename Value, typename Set>
Text Sorted(const std::vector<Value>& values, int16_t column, Set set) {
  ServerTable table = TableOf(values, set);
  CountingPump pump;
  SortServers(table, static_cast<int>(values.size()), column, pump);
  return Order(table, static_cast<int>(values.size()));
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

TEST(SortServers, ExchangesWholeRecordsWithinTheCountOnly) {
  ServerTable table;
  table.at(1) = ServerRecord{.name = u"Slow", .port = 40000, .ping = 300, .player_names = u"ann"};
  table.at(2) = ServerRecord{.name = u"Fast", .ping = 20, .version = u"1.31"};
  table.at(3) = ServerRecord{.name = u"Beyond", .ping = 1};
  const ServerTable before = table;
  CountingPump pump;
  SortServers(table, 2, kSortPing, pump);
  EXPECT_EQ(table.at(1), before.at(2));
  EXPECT_EQ(table.at(2), before.at(1));
  EXPECT_EQ(table.at(3), before.at(3));
}

TEST(SortServers, YieldsOnceAtTheStartOfEveryPass) {
  const std::pair<std::vector<int16_t>, int> cases[] = {
      {{}, 1}, {{5}, 1}, {{1, 2, 3}, 1}, {{3, 2, 1}, 3}, {{2, 3, 1}, 3}, {{1, 3, 2}, 2}};
  for (const auto& [pings, passes] : cases) {
    ServerTable table = TableOf(pings, kPing);
    CountingPump pump;
    SortServers(table, static_cast<int>(pings.size()), kSortPing, pump);
    EXPECT_EQ(pump.yields, passes) << pings.size();
  }
}

TEST(SortServers, SeventeenSlotsAreRefusedAndAnAbortLeavesEveryRecord) {
  ServerTable table = TableOf<int16_t>({50, 40, 30, 20, 10}, kPing);
  CountingPump pump;
  EXPECT_THROW(SortServers(table, 17, kSortPing, pump), std::out_of_range);
  EXPECT_EQ(pump.yields, 0);
  pump.onYield = [](int yields) {
    if (yields == 2) throw HandlerAborted{};
  };
  EXPECT_THROW(SortServers(table, 5, kSortPing, pump), HandlerAborted);
  EXPECT_EQ(Order(table, 5), u"bcdea");  // one full pass, then the abort
}

}  // namespace
}  // namespace quorvex
