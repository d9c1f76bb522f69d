#include "menu/sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "common/steps.h"
#include "tests/support/counting_pump.h"

namespace quorvex {
namespace {

using testing::CountingPump;

// Slots 1..n as given; `address` names each record so the tests can read the order.
ServerTable TableOf(const std::vector<ServerRecord>& records) {
  ServerTable table;
  for (size_t i = 0; i < records.size(); ++i) table.at(static_cast<int>(i) + 1) = records[i];
  return table;
}

ServerRecord Server(const Text& id) {
  ServerRecord record;
  record.address = id;
  return record;
}

std::vector<Text> OrderOf(const ServerTable& table, int n) {
  std::vector<Text> ids;
  for (int i = 1; i <= n; ++i) ids.push_back(table.at(i).address);
  return ids;
}

std::vector<Text> SortedIds(std::vector<ServerRecord> records, int16_t column) {
  ServerTable table = TableOf(records);
  CountingPump pump;
  SortServers(table, static_cast<int>(records.size()), column, pump);
  return OrderOf(table, static_cast<int>(records.size()));
}

ServerRecord WithPing(const Text& id, int16_t ping) {
  ServerRecord record = Server(id);
  record.ping = ping;
  return record;
}

ServerRecord WithPlayers(const Text& id, int16_t players) {
  ServerRecord record = Server(id);
  record.current_players = players;
  return record;
}

ServerRecord WithBots(const Text& id, int16_t bots) {
  ServerRecord record = Server(id);
  record.bots = bots;
  return record;
}

ServerRecord WithName(const Text& id, const Text& name) {
  ServerRecord record = Server(id);
  record.name = name;
  return record;
}

TEST(SortKey, ComparesTextsWithTextsAndNumbersWithNumbersOnly) {
  ServerRecord a = WithName(u"a", u"Alpha");
  a.current_players = 5;
  ServerRecord b = WithName(u"b", u"Beta");
  b.current_players = 9;
  EXPECT_TRUE(SortKey(kSortServer, a) < SortKey(kSortServer, b));
  EXPECT_TRUE(SortKey(kSortPlayers, a) < SortKey(kSortPlayers, b));
  EXPECT_FALSE(SortKey(kSortServer, a) < SortKey(kSortPlayers, b));
  EXPECT_FALSE(SortKey(kSortPlayers, a) < SortKey(kSortServer, b));
}

TEST(SortKey, AColumnThatDoesNotExistIsNeitherLessNorGreater) {
  const ServerRecord a = WithPing(u"a", 1);
  const ServerRecord b = WithPing(u"b", 2);
  for (int16_t column : {int16_t{6}, int16_t{-1}}) {
    const SortKeyValue key = SortKey(column, a);
    EXPECT_TRUE(key.IsEmpty());
    EXPECT_FALSE(key < SortKey(column, b));
    EXPECT_FALSE(key > SortKey(column, b));
    EXPECT_FALSE(key < SortKey(kSortPing, b));
    EXPECT_FALSE(SortKey(kSortPing, b) < key);
  }
}

TEST(SortServers, PingAscendingWithSilentServersLast) {
  EXPECT_EQ(SortedIds({WithPing(u"a", 999), WithPing(u"b", 40), WithPing(u"c", 12), WithPing(u"d", 999),
                       WithPing(u"e", 40), WithPing(u"f", 0)},
                      kSortPing),
            (std::vector<Text>{u"f", u"c", u"b", u"e", u"a", u"d"}));
}

TEST(SortServers, PlayersAndBotsDescendingWithTiesInReplyOrder) {
  EXPECT_EQ(SortedIds({WithPlayers(u"a", 3), WithPlayers(u"b", 20), WithPlayers(u"c", 3), WithPlayers(u"d", -1),
                       WithPlayers(u"e", 20)},
                      kSortPlayers),
            (std::vector<Text>{u"b", u"e", u"a", u"c", u"d"}));
  EXPECT_EQ(SortedIds({WithBots(u"a", 0), WithBots(u"b", 45), WithBots(u"c", 0), WithBots(u"d", 45)}, kSortBots),
            (std::vector<Text>{u"b", u"d", u"a", u"c"}));
}

TEST(SortServers, TextsByCodeUnitCaseSensitive) {
  // Capitals before small letters; a prefix before its extensions; the empty text first;
  // U+1F600 starts with the unit D83D, so it comes before U+FF21 although its code point is higher.
  EXPECT_EQ(SortedIds({WithName(u"a", u"apple"), WithName(u"b", u"Zulu"), WithName(u"c", u"alpha"),
                       WithName(u"d", u"Zulu"), WithName(u"e", u"alph"), WithName(u"f", u""),
                       WithName(u"g", u"\uFF21"), WithName(u"h", u"\U0001F600")},
                      kSortServer),
            (std::vector<Text>{u"f", u"b", u"d", u"e", u"c", u"a", u"h", u"g"}));
}

TEST(SortServers, VersionsCompareAsText) {
  auto withVersion = [](const Text& id, const Text& version) {
    ServerRecord record = Server(id);
    record.version = version;
    return record;
  };
  EXPECT_EQ(SortedIds({withVersion(u"a", u"1.9"), withVersion(u"b", u"1.31"), withVersion(u"c", u"1.10")},
                      kSortVersion),
            (std::vector<Text>{u"c", u"b", u"a"}));
}

TEST(SortServers, MapOrderUsesMapNameAloneSoEmptyNamesComeFirst) {
  auto withMap = [](const Text& id, const Text& mapName, const Text& mapId) {
    ServerRecord record = Server(id);
    record.map_name = mapName;
    record.map_id = mapId;
    return record;
  };
  EXPECT_EQ(SortedIds({withMap(u"a", u"b", u"pack/a"), withMap(u"b", u"", u"pack/zz"), withMap(u"c", u"a", u"pack/z"),
                       withMap(u"d", u"", u"pack/aa")},
                      kSortMap),
            (std::vector<Text>{u"b", u"d", u"c", u"a"}));
}

TEST(SortServers, EqualKeysKeepTheirOrderInEveryColumn) {
  for (int16_t column = 0; column <= 5; ++column) {
    std::vector<ServerRecord> records;
    for (const Text id : {u"a", u"b", u"c", u"d"}) {
      ServerRecord record = Server(id);
      record.name = u"same";
      record.version = u"1.0";
      record.map_name = u"map";
      record.current_players = 4;
      record.bots = 2;
      record.ping = 30;
      records.push_back(record);
    }
    EXPECT_EQ(SortedIds(records, column), (std::vector<Text>{u"a", u"b", u"c", u"d"})) << "column " << column;
  }
}

TEST(SortServers, ExchangesWholeRecordsAndLeavesOtherSlotsAlone) {
  ServerRecord slow = WithPing(u"slow", 300);
  slow.name = u"Slow";
  slow.player_names = u"ann   bob";
  slow.port = 40000;
  ServerRecord fast = WithPing(u"fast", 20);
  fast.name = u"Fast";
  fast.version = u"1.31";
  ServerRecord beyond = WithPing(u"beyond", 1);  // slot 3, outside the sorted range
  ServerTable table = TableOf({slow, fast, beyond});
  table.at(0).name = u"unused";
  CountingPump pump;
  SortServers(table, 2, kSortPing, pump);
  EXPECT_EQ(table.at(1), fast);
  EXPECT_EQ(table.at(2), slow);
  EXPECT_EQ(table.at(3), beyond);
  EXPECT_EQ(table.at(0).name, u"unused");
}

TEST(SortServers, YieldsOnceAtTheStartOfEveryPass) {
  struct Case {
    std::vector<int16_t> pings;
    int passes;
  };
  const Case cases[] = {
      {{}, 1},         {{5}, 1},          {{1, 2, 3}, 1},
      {{3, 2, 1}, 3},  // [2,1,3] then [1,2,3] then a pass without exchange
      {{2, 3, 1}, 3},  // the 1 moves one slot per pass towards the front
      {{1, 3, 2}, 2},
  };
  for (const Case& c : cases) {
    std::vector<ServerRecord> records;
    for (int16_t ping : c.pings) records.push_back(WithPing(u"x", ping));
    ServerTable table = TableOf(records);
    CountingPump pump;
    SortServers(table, static_cast<int>(records.size()), kSortPing, pump);
    EXPECT_EQ(pump.yields, c.passes) << c.pings.size() << " records";
  }
}

TEST(SortServers, AColumnThatDoesNotExistChangesNothing) {
  ServerTable table = TableOf({WithPing(u"a", 9), WithPing(u"b", 1)});
  CountingPump pump;
  SortServers(table, 2, 6, pump);
  EXPECT_EQ(OrderOf(table, 2), (std::vector<Text>{u"a", u"b"}));
  EXPECT_EQ(pump.yields, 1);
}

TEST(SortServers, MoreSlotsThanTheTableHoldsIsRefusedBeforeAnythingMoves) {
  ServerTable table = TableOf({WithPing(u"a", 9), WithPing(u"b", 1)});
  CountingPump pump;
  EXPECT_THROW(SortServers(table, 17, kSortPing, pump), std::out_of_range);
  EXPECT_EQ(OrderOf(table, 2), (std::vector<Text>{u"a", u"b"}));
  EXPECT_EQ(pump.yields, 0);
}

TEST(SortServers, AbortInAYieldPassesThroughWithEveryRecordStillThere) {
  std::vector<ServerRecord> records;
  for (int16_t ping : {50, 40, 30, 20, 10}) records.push_back(WithPing(u"p", ping));
  ServerTable table = TableOf(records);
  CountingPump pump;
  pump.onYield = [](int yields) {
    if (yields == 2) throw HandlerAborted{};
  };
  EXPECT_THROW(SortServers(table, 5, kSortPing, pump), HandlerAborted);
  std::vector<int16_t> pings;
  for (int i = 1; i <= 5; ++i) pings.push_back(table.at(i).ping);
  EXPECT_EQ(pings, (std::vector<int16_t>{40, 30, 20, 10, 50}));  // one full pass, then the abort
}

}  // namespace
}  // namespace quorvex
