// The servers submenu: its fixed-width lines (joined by hand from the layout table), the table
// sorted by a menu column, the submenu rewritten from it, and the gate between rebuilds.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "common/numbers.h"
#include "common/steps.h"
#include "menu/line_layout.h"
#include "menu/server_menu.h"
#include "menu/sort.h"
#include "tests/support/counting_pump.h"

namespace quorvex {
namespace {

Text Spaces(size_t count) { return Text(count, u' '); }
const Text kGrinning = u"\U0001F600";  // one character outside the BMP: two UTF-16 units

// The example server of the layout rules, and its line with some columns (each with the
// spaces up to the next column) replaced.
const ServerRecord kOfficial{.name = u"[EU] Official #1", .dedicated = u"*", .map_id = u"pack/maps/map5",
                             .current_players = 12, .bots = 45, .ping = 999, .version = u"1.31"};
const Text kName = u"[EU] Official #1" + Spaces(12), kMap = u"map5" + Spaces(20),
           kNumbers = u" 12" + Spaces(23) + u"  45" + Spaces(20) + u"   --";
Text OfficialLine(const Text& name = kName, const Text& map = kMap, const Text& numbers = kNumbers,
                  const Text& versionToMode = u"1.31" + Spaces(20) + u"*" + Spaces(22) + u"-----") {
  return name + Spaces(13) + versionToMode + Spaces(17) + map + Spaces(7) + numbers;
}

TEST(NameWidth, WeighsLettersAndRoundsAfterEveryRow) {
  const std::pair<Text, int> cases[] = {
      {u"Ixxxx", 4},  // 4.5 goes to the even 4
      {u"[EU] Official #1", 12}, {Text(17, u'W'), 18}, {u"", 0}, {u"ii", 1}, {u"Mumble mm", 13},
      {u"wwm", 6},  // 3 -> "m" 3.9 -> 4 -> two "w" 5.5 -> 6; rounding once at the end gives 5
      {u"mxI", 4},  // 3 -> 3.9 -> 4 -> "I" 3.5 -> 4, the half to the even neighbour
  };
  for (const auto& [name, width] : cases) EXPECT_EQ(NameWidth(name), width) << ToUtf8(name);
}

TEST(FormatServerLine, TheOfficialExampleAndTextsShownWhole) {
  EXPECT_EQ(FormatServerLine(kOfficial), OfficialLine());
  ServerRecord texts = kOfficial;  // mode, dedicated and version are shown whole
  texts.mode = u"Coop Campaign";
  texts.dedicated = u" ";
  texts.version = u"1.99-beta.3";
  EXPECT_EQ(FormatServerLine(texts),
            OfficialLine(kName, kMap, kNumbers, u"1.99-beta.3" + Spaces(20) + u" " + Spaces(22) + u"Coop Campaign"));
}

TEST(FormatServerLine, TheNameIsCutTo17AndPaddedToTwiceTheMissingWidth) {
  const std::tuple<Text, Text, size_t> cases[] = {
      {u"Mumble", u"Mumble", 20}, {u"Ixxxx", u"Ixxxx", 28}, {Text(17, u'm'), Text(17, u'm'), 0},
      {u"", u"", 29}, {u"abc", u"abc", 29},                                    // 30 is capped at 29
      {Text(17, u'x') + u"yyy", Text(17, u'x'), 2},                            // cut to 17 first
      {Text(16, u'x') + kGrinning + u"yy", Text(16, u'x'), 4},                 // a pair across 17 stays whole
  };
  for (const auto& [name, shown, pad] : cases) {
    ServerRecord record = kOfficial;
    record.name = name;
    EXPECT_EQ(FormatServerLine(record), OfficialLine(shown + Spaces(pad))) << ToUtf8(name);
  }
}

TEST(FormatServerLine, TheMapIsItsNameOrTheTailOfItsIdCutTo16) {
  // The pad is round(1.66 x the missing characters): 16.6 for "Island", 19.92 for "map9".
  const std::tuple<Text, Text, Text, size_t> cases[] = {
      {u"Island", u"pack/maps/map5", u"Island", 17}, {u"", u"map9", u"map9", 20}, {u"", u"pack/maps/", u"", 27},
      {u"An Extremely Long Map", u"", u"An Extremely Lon", 0},
      {Text(15, u'a') + kGrinning + u"b", u"", Text(15, u'a'), 2},            // a pair across 16 stays whole
  };
  for (const auto& [mapName, mapId, shown, pad] : cases) {
    ServerRecord record = kOfficial;
    record.map_name = mapName;
    record.map_id = mapId;
    EXPECT_EQ(FormatServerLine(record), OfficialLine(kName, shown + Spaces(pad)))
        << ToUtf8(mapName + u"|" + mapId);
  }
}

TEST(FormatServerLine, NumbersAreRightAlignedAndAPingOf999IsShownAsDashes) {
  const std::tuple<int16_t, int16_t, int16_t, Text> cases[] = {
      {0, 0, 0, u" 0" + Spaces(23) + u"   0" + Spaces(20) + u"     0"},
      {-3, 7, 1999, u"-3" + Spaces(23) + u"   7" + Spaces(20) + u"  1--"},
      {12, 12345, 999, u" 12" + Spaces(23) + u"2345" + Spaces(20) + u"   --"},  // bots keep the last four digits
      {32767, -1, 25, u" 32767" + Spaces(23) + u"  -1" + Spaces(20) + u"    25"},
      {5, -1234, 9999, u" 5" + Spaces(23) + u"1234" + Spaces(20) + u"  --9"},
  };
  for (const auto& [players, bots, ping, shown] : cases) {
    ServerRecord record = kOfficial;
    record.current_players = players;
    record.bots = bots;
    record.ping = ping;
    EXPECT_EQ(FormatServerLine(record), OfficialLine(kName, kMap, shown));
  }
}

TEST(FormatPlayerLine, LongListsEndAfterTheLastSpaceWithin110) {
  const std::pair<Text, Text> cases[] = {
      {u"", u""},
      {Text(110, u'a'), Text(110, u'a')},
      {Text(111, u'a'), u"..."},
      {Text(110, u'a') + u" b", u"..."},                         // a space at 111 is past the cut
      {Text(109, u'a') + u" bb", Text(109, u'a') + u" ..."},     // a space at 110 is kept
      {Text(100, u'a') + u" " + Text(8, u'b') + kGrinning + u"c", Text(100, u'a') + u" ..."},  // pair at 110/111
  };
  for (const auto& [names, shown] : cases)
    EXPECT_EQ(FormatPlayerLine(ServerRecord{.player_names = names}), Spaces(8) + shown) << names.size();
}

TEST(HeaderLine, IsTheCaptionRowWithTheSortColumnMarked) {
  const Text captions[6] = {u"Server", u"Version", u"Map", u"Players", u"Bots", u"Ping"};
  auto expected = [&](int marked) {
    Text c[6];
    for (int i = 0; i < 6; ++i) c[i] = captions[i] + (i == marked ? u"\u00B9" : u"");
    return Spaces(6) + c[0] + Spaces(31) + c[1] + Spaces(11) + u"Dedicated" + Spaces(17) + u"Mode" + Spaces(17) + c[2] +
           Spaces(20) + c[3] + Spaces(17) + c[4] + Spaces(21) + c[5];
  };
  EXPECT_EQ(HeaderLine(), expected(-1));
  for (int16_t sort = -1; sort <= 6; ++sort) EXPECT_EQ(MarkedHeaderLine(sort), expected(sort)) << sort;
}

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
  testing::CountingPump pump;
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
  // Count, items shown from the top, yields: the sort's pass, two a slot, one a hidden item.
  for (const auto& [count, shownItems, yields] :
       {std::tuple<int16_t, size_t, int>{0, 0, 1 + 32 + 48}, {1, 2, 1 + 32 + 46}, {5, 14, 1 + 32 + 34},
        {16, 47, 1 + 32 + 1}, {17, 48, 1 + 32}, {-3, 0, 1 + 32 + 48}}) {
    pump.yields = 0;
    Rebuild(count, 3);
    EXPECT_EQ(Visibility(), std::string(shownItems, '1') + std::string(48 - shownItems, '0')) << count;
    EXPECT_EQ(pump.yields, yields) << count;
    EXPECT_EQ(menu.Item("menServer").caption, u"Servers (" + FormatPlain(count) + u")");
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
  const Text lines[] = {FormatServerLine(fast), Spaces(8), Text(146, u'\u00AF'), FormatServerLine(slow),
                        Spaces(8) + u"ann   bob"};
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(Line(k).caption, lines[k - 1]) << k;
  EXPECT_EQ(Visibility(), std::string(5, '1') + std::string(43, '0'));
  EXPECT_EQ(shown[1], fast);
  EXPECT_EQ(shown[2], slow);
  EXPECT_EQ(shown[3], servers.at(3));
  EXPECT_EQ(servers.at(3).player_names, u"p-old3");  // the left-overs did not move
}

// The gate's own rules; the form's rebuilds through it are the form's tests.
TEST(RebuildGate, ARequestInsideARunOrAHoldIsOnlyNotedAndAnAbortLeavesItIdle) {
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
  EXPECT_THROW(gate.Run([] { throw HandlerAborted{}; }), HandlerAborted);
  EXPECT_FALSE(gate.IsRunning());
  // A request during a poll's hold waits for the holder's own rebuild, which runs once; a
  // hold an Exit ended leaves the gate free.
  {
    const BusyScope hold = gate.Hold();
    request();
  }
  EXPECT_THROW(
      {
        const BusyScope hold = gate.Hold();
        throw HandlerAborted{};
      },
      HandlerAborted);
  gate.Run([&] { ++runs; });
  EXPECT_EQ(runs, 4);
}

}  // namespace
}  // namespace quorvex
