// The servers submenu: the table sorted by a menu column, the submenu rewritten from it, and
// the gate that keeps one rebuild out of another one's yields. The line texts themselves are
// the layout's tests.
#include "menu/server_menu.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "common/steps.h"
#include "menu/line_layout.h"
#include "menu/sort.h"
#include "tests/support/counting_pump.h"

namespace quorvex {
namespace {

using testing::CountingPump;

// A record told apart by its player list, which shows as 8 spaces and the list itself.
ServerRecord Listed(const std::string& id, int16_t players = 0) {
  return ServerRecord{.name = FromAscii("S" + id), .current_players = players, .player_names = FromAscii("p-" + id)};
}

class ServerMenuTest : public ::testing::Test {
 protected:
  void Rebuild(int16_t count, int16_t sort) { RebuildServerMenu(menu, servers, count, sort, pump, shown); }
  const MenuItem& Line(int index) const { return menu.Item("menServername", index); }
  // "1" for every visible item of the 48, "0" for every hidden one.
  std::string Visibility() const {
    std::string visibility;
    for (int k = 1; k <= 48; ++k) visibility += Line(k).visible ? '1' : '0';
    return visibility;
  }
  // Slots 1..n get `values` through `set` and the addresses "a", "b", ...; sorted by
  // `column`, the addresses in their new order.
  template <typename Value, typename Set>
  Text Sorted(const std::vector<Value>& values, int16_t column, Set set) {
    const int n = static_cast<int>(values.size());
    for (int i = 1; i <= n; ++i) {
      servers.at(i).address = Text(1, static_cast<char16_t>(u'a' + i - 1));
      set(servers.at(i), values[static_cast<size_t>(i - 1)]);
    }
    SortServers(servers, n, column, pump);
    Text order;
    for (int i = 1; i <= n; ++i) order += servers.at(i).address;
    return order;
  }

  MenuTree menu = MakeDesignMenu();
  ServerTable servers;
  CountingPump pump;
  ShownServers shown{};
};

const auto kPing = [](ServerRecord& r, int16_t v) { r.ping = v; };

TEST_F(ServerMenuTest, SortEachColumnHasItsKeyAndDirectionAndTiesKeepTheirOrder) {
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
  const auto map = [](ServerRecord& r, const Text& v) {
    r.map_name = v;
    r.map_id = u"pack/" + r.address;
  };
  EXPECT_EQ(Sorted<Text>({u"b", u"", u"a", u""}, kSortMap, map), u"bdca");
  // A column that does not exist orders nothing.
  for (int16_t column : {int16_t{6}, int16_t{-1}}) {
    EXPECT_EQ(Sorted<int16_t>({9, 1}, column, kPing), u"ab");
    EXPECT_FALSE(SortKey(column, ServerRecord{}) < SortKey(kSortPing, ServerRecord{}));
    EXPECT_FALSE(SortKey(kSortPing, ServerRecord{}) < SortKey(column, ServerRecord{}));
  }
}

TEST_F(ServerMenuTest, SortYieldsAtTheStartOfEveryPassAndRefusesSeventeenSlots) {
  EXPECT_THROW(SortServers(servers, 17, kSortPing, pump), std::out_of_range);
  EXPECT_EQ(pump.yields, 0);  // refused before anything moves
  EXPECT_EQ(Sorted<int16_t>({3, 2, 1}, kSortPing, kPing), u"cba");
  EXPECT_EQ(pump.yields, 3);  // two passes that exchange and one that finds the order
}

TEST_F(ServerMenuTest, VisibilityCaptionAndYieldsFollowTheServerCount) {
  for (int i = 1; i <= 16; ++i) servers.at(i) = Listed(std::to_string(i));  // one sort pass
  struct Case {
    int16_t count;
    size_t lastVisible;
    int yields;
  };
  for (const Case c : {Case{0, 0, 1 + 32 + 48}, Case{1, 2, 1 + 32 + 46}, Case{5, 14, 1 + 32 + 34},
                       Case{16, 47, 1 + 32 + 1}, Case{17, 48, 1 + 32}, Case{-3, 0, 1 + 32 + 48}}) {
    pump.yields = 0;
    Rebuild(c.count, 3);
    EXPECT_EQ(Visibility(), std::string(c.lastVisible, '1') + std::string(48 - c.lastVisible, '0')) << c.count;
    EXPECT_EQ(pump.yields, c.yields) << c.count;
    EXPECT_EQ(menu.Item("menServer").caption, u"Servers (" + FormatPlain(c.count) + u")");
    EXPECT_EQ(menu.Item("menServerTitle").caption, MarkedHeaderLine(3));
  }
}

TEST_F(ServerMenuTest, ListedServersReadTopToBottomInSortOrderFromTheRecordsShown) {
  for (int i = 1; i <= 5; ++i) servers.at(i) = Listed("old" + std::to_string(i), static_cast<int16_t>(i));
  Rebuild(5, 5);
  const ServerRecord slow{.name = u"Slow", .map_name = u"Island", .ping = 999, .player_names = u"ann   bob"};
  const ServerRecord fast{.name = u"Fast", .map_id = u"pack/maps/map5", .ping = 35, .version = u"1.31"};
  servers.at(1) = slow;  // a poll of two: slots 3 to 5 keep faster records of the last one
  servers.at(2) = fast;
  // Yields 1 and 2 are the sort's passes, 3 and 4 frame slot 1: a poll in yield 4 replaces
  // slot 1 after its lines were composed, and a click acts on the record the line shows.
  pump.yields = 0;
  pump.onYield = [this](int yields) {
    if (yields == 4) servers.at(1) = Listed("moved-in");
  };
  Rebuild(2, 5);
  const Text lines[] = {FormatServerLine(fast), Text(8, u' '), Text(146, u'\u00AF'), FormatServerLine(slow),
                        Text(8, u' ') + u"ann   bob"};
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(Line(k).caption, lines[k - 1]) << k;
  EXPECT_EQ(Visibility(), std::string(5, '1') + std::string(43, '0'));
  EXPECT_EQ(shown[1], fast);
  EXPECT_EQ(shown[2], slow);
  EXPECT_EQ(shown[3], servers.at(3));
  EXPECT_EQ(servers.at(3).player_names, u"p-old3");  // the left-overs did not move
}

// The gate's own rules; the form's rebuilds through it are the form's tests.
TEST(RebuildGate, RequestsInsideARunMakeOneMoreRunAfterItAndAnAbortLeavesItIdle) {
  RebuildGate gate;
  int runs = 0;
  // Inside a run a request is only noted: its own function never runs, the running one reruns.
  const auto request = [&] { gate.Run([] { ADD_FAILURE() << "a rebuild ran inside another one"; }); };
  gate.Run([&] {
    if (++runs < 3) {
      request();
      request();
    }
  });
  EXPECT_EQ(runs, 3);  // two requests make one more run, and two inside that run one more
  EXPECT_THROW(gate.Run([&] {
    request();
    throw HandlerAborted{};
  }),
               HandlerAborted);
  EXPECT_FALSE(gate.IsRunning());
  gate.Run([&] { ++runs; });
  EXPECT_EQ(runs, 4);
}

}  // namespace
}  // namespace quorvex
