#include "menu/line_layout.h"

#include <gtest/gtest.h>

#include "tests/menu/expected_lines.h"

namespace quorvex {
namespace {

using testing::JoinSegments;
using testing::ShownColumns;
using testing::Spaces;

const Text kGrinning = u"\U0001F600";  // one character outside the BMP: two UTF-16 units

// The example server of the layout rules and the columns its line shows.
ServerRecord OfficialServer() {
  ServerRecord record;
  record.name = u"[EU] Official #1";
  record.version = u"1.31";
  record.dedicated = u"*";
  record.map_id = u"pack/maps/map5";
  record.current_players = 12;
  record.bots = 45;
  record.ping = 999;
  return record;
}

ShownColumns OfficialColumns() {
  return {u"[EU] Official #1", 12, u"1.31", u"*", u"-----", u"map5", 20, u" 12", u"  45", u"   --"};
}

TEST(CountChar, CountsByCodeSoCaseMatters) {
  EXPECT_EQ(CountChar(u"Mumble mm", u'm'), 3);
  EXPECT_EQ(CountChar(u"Mumble mm", u'M'), 1);
  EXPECT_EQ(CountChar(u"Mumble mm", u' '), 1);
  EXPECT_EQ(CountChar(u"", u'm'), 0);
}

TEST(NameWidth, WorkedExamples) {
  EXPECT_EQ(NameWidth(u"Mumble"), 8);
  EXPECT_EQ(NameWidth(u"Ixxxx"), 4);  // 4.5 goes to the even 4
  EXPECT_EQ(NameWidth(u"[EU] Official #1"), 12);
  EXPECT_EQ(NameWidth(Text(17, u'm')), 18);  // 32.3 rounds to 32, capped
  EXPECT_EQ(NameWidth(Text(17, u'W')), 18);
  EXPECT_EQ(NameWidth(u""), 0);
  EXPECT_EQ(NameWidth(u"ii"), 1);  // no lower bound beyond the arithmetic
}

TEST(NameWidth, RoundsAfterEveryRowInTableOrder) {
  // 3 -> "m" 3.9 -> 4 -> two "w" 5.5 -> 6; rounding once at the end would give 5.
  EXPECT_EQ(NameWidth(u"wwm"), 6);
  // 3 -> "m" 3.9 -> 4 -> "I" 3.5 -> 4; the half goes to the even neighbour, here up.
  EXPECT_EQ(NameWidth(u"mxI"), 4);
}

TEST(FormatServerLine, OfficialExampleIsTheWhole196CharacterLine) {
  const Text expected = u"[EU] Official #1" + Spaces(12 + 13) + u"1.31" + Spaces(20) + u"*" + Spaces(22) + u"-----" +
                        Spaces(17) + u"map5" + Spaces(20 + 7) + u" 12" + Spaces(23) + u"  45" + Spaces(20) + u"   --";
  const Text line = FormatServerLine(OfficialServer());
  EXPECT_EQ(line, expected);
  EXPECT_EQ(line.size(), 196u);
}

TEST(FormatServerLine, NamePadFollowsTheEstimatedWidth) {
  struct Case {
    Text name;
    Text shown;
    size_t pad;
  };
  const Case cases[] = {
      {u"Mumble", u"Mumble", 20},
      {u"Ixxxx", u"Ixxxx", 28},
      {Text(17, u'm'), Text(17, u'm'), 0},
      {u"", u"", 29},                                             // width 0: the cap of 29
      {u"abc", u"abc", 29},                                       // width 3: 30, capped
      {u"xxxxxxxxxxxxxxxxxyyyyyyyy", u"xxxxxxxxxxxxxxxxx", 2},    // cut to 17 first: width 17
      {Text(16, u'x') + kGrinning + u"yy", Text(16, u'x'), 4},    // a pair across 17 stays whole
  };
  for (const Case& c : cases) {
    ServerRecord record = OfficialServer();
    record.name = c.name;
    ShownColumns columns = OfficialColumns();
    columns.name = c.shown;
    columns.namePad = c.pad;
    EXPECT_EQ(FormatServerLine(record), JoinSegments(columns)) << ToUtf8(c.name);
  }
}

TEST(FormatServerLine, MapPadMatchesTheTableForEveryLength) {
  const size_t padByLength[17] = {27, 25, 23, 22, 20, 18, 17, 15, 13, 12, 10, 8, 7, 5, 3, 2, 0};
  for (size_t length = 0; length <= 16; ++length) {
    ServerRecord record = OfficialServer();
    record.map_id = u"pack/maps/" + Text(length, u'q');
    ShownColumns columns = OfficialColumns();
    columns.map = Text(length, u'q');
    columns.mapPad = padByLength[length];
    EXPECT_EQ(FormatServerLine(record), JoinSegments(columns)) << "length " << length;
  }
}

TEST(FormatServerLine, MapTextComesFromMapNameElseTheLastPartOfMapId) {
  struct Case {
    Text mapName;
    Text mapId;
    Text shown;
    size_t pad;
  };
  const Case cases[] = {
      {u"Island", u"pack/maps/map5", u"Island", 17},
      {u"", u"map9", u"map9", 20},          // no "/" at all: the whole id
      {u"", u"pack/maps/", u"", 27},        // nothing after the last "/"
      {u"", u"", u"", 27},
      {u"An Extremely Long Map", u"", u"An Extremely Lon", 0},
      {Text(15, u'a') + kGrinning + u"b", u"", Text(15, u'a'), 2},  // a pair across 16 stays whole
  };
  for (const Case& c : cases) {
    ServerRecord record = OfficialServer();
    record.map_name = c.mapName;
    record.map_id = c.mapId;
    ShownColumns columns = OfficialColumns();
    columns.map = c.shown;
    columns.mapPad = c.pad;
    EXPECT_EQ(FormatServerLine(record), JoinSegments(columns)) << ToUtf8(c.mapName + c.mapId);
  }
}

TEST(FormatServerLine, NumbersAreAlignedAndCut) {
  struct Case {
    int16_t players, bots, ping;
    Text shownPlayers, shownBots, shownPing;
  };
  const Case cases[] = {
      {0, 0, 0, u" 0", u"   0", u"     0"},
      {-3, 7, 1999, u"-3", u"   7", u"  1--"},   // 1999: only its 999 becomes "--"
      {12, 12345, 999, u" 12", u"2345", u"   --"},  // five-digit bots keep the last four
      {32767, -1, 25, u" 32767", u"  -1", u"    25"},
      {5, -1234, -2, u" 5", u"1234", u"    -2"},
      {5, 3, 9999, u" 5", u"   3", u"  --9"},
  };
  for (const Case& c : cases) {
    ServerRecord record = OfficialServer();
    record.current_players = c.players;
    record.bots = c.bots;
    record.ping = c.ping;
    ShownColumns columns = OfficialColumns();
    columns.players = c.shownPlayers;
    columns.bots = c.shownBots;
    columns.ping = c.shownPing;
    EXPECT_EQ(FormatServerLine(record), JoinSegments(columns)) << c.players << " " << c.bots << " " << c.ping;
  }
}

TEST(FormatServerLine, TextFieldsOtherThanNameAndMapAreShownWhole) {
  ServerRecord record = OfficialServer();
  record.mode = u"Coop Campaign";
  record.dedicated = u" ";
  record.version = u"1.99-beta.3";
  ShownColumns columns = OfficialColumns();
  columns.mode = u"Coop Campaign";
  columns.dedicated = u" ";
  columns.version = u"1.99-beta.3";
  EXPECT_EQ(FormatServerLine(record), JoinSegments(columns));
}

ServerRecord WithPlayers(const Text& names) {
  ServerRecord record;
  record.player_names = names;
  return record;
}

TEST(FormatPlayerLine, ShortListsAreShownWhole) {
  EXPECT_EQ(FormatPlayerLine(WithPlayers(u"")), Spaces(8));
  EXPECT_EQ(FormatPlayerLine(WithPlayers(u"ann   bob")), Spaces(8) + u"ann   bob");
  EXPECT_EQ(FormatPlayerLine(WithPlayers(Text(110, u'a'))), Spaces(8) + Text(110, u'a'));
}

TEST(FormatPlayerLine, LongListsEndAfterTheLastSpaceWithin110) {
  // 115 characters, the last space within the first 110 at position 104.
  const Text head = Text(50, u'a') + u" " + Text(52, u'b') + u" ";  // 104 characters
  const Text names = head + Text(11, u'c');
  ASSERT_EQ(names.size(), 115u);
  const Text line = FormatPlayerLine(WithPlayers(names));
  EXPECT_EQ(line, Spaces(8) + head + u"...");
  EXPECT_EQ(line.size(), 115u);
}

TEST(FormatPlayerLine, NoSpaceWithin110LeavesOnlyTheEllipsis) {
  EXPECT_EQ(FormatPlayerLine(WithPlayers(Text(111, u'a'))), Spaces(8) + u"...");
  // A space at 111 is past the cut.
  EXPECT_EQ(FormatPlayerLine(WithPlayers(Text(110, u'a') + u" b")), Spaces(8) + u"...");
  // A space at exactly 110 is kept.
  EXPECT_EQ(FormatPlayerLine(WithPlayers(Text(109, u'a') + u" bb")), Spaces(8) + Text(109, u'a') + u" ...");
}

TEST(FormatPlayerLine, PairAcross110IsNeverSplit) {
  const Text head = Text(100, u'a') + u" ";
  const Text names = head + Text(8, u'b') + kGrinning + u"ccccc";  // the pair at 110 and 111
  EXPECT_EQ(FormatPlayerLine(WithPlayers(names)), Spaces(8) + head + u"...");
  const Text noSpace = Text(109, u'b') + kGrinning + u"c";
  EXPECT_EQ(FormatPlayerLine(WithPlayers(noSpace)), Spaces(8) + u"...");
}

struct HeaderCaptions {
  Text server = u"Server", version = u"Version", map = u"Map", players = u"Players", bots = u"Bots", ping = u"Ping";
};

Text ExpectedHeader(const HeaderCaptions& c) {
  return Spaces(6) + c.server + Spaces(31) + c.version + Spaces(11) + u"Dedicated" + Spaces(17) + u"Mode" +
         Spaces(17) + c.map + Spaces(20) + c.players + Spaces(17) + c.bots + Spaces(21) + c.ping;
}

TEST(HeaderLine, IsThe184CharacterCaptionRow) {
  EXPECT_EQ(HeaderLine(), ExpectedHeader({}));
  EXPECT_EQ(HeaderLine().size(), 184u);
}

TEST(MarkedHeaderLine, MarksOnlyTheSortColumn) {
  HeaderCaptions server, players, ping;
  server.server = u"Server\u00B9";
  players.players = u"Players\u00B9";
  ping.ping = u"Ping\u00B9";
  EXPECT_EQ(MarkedHeaderLine(0), ExpectedHeader(server));
  EXPECT_EQ(MarkedHeaderLine(3), ExpectedHeader(players));
  EXPECT_EQ(MarkedHeaderLine(5), ExpectedHeader(ping));
  EXPECT_EQ(MarkedHeaderLine(0).size(), 185u);
  EXPECT_EQ(MarkedHeaderLine(3).size(), 185u);
}

TEST(MarkedHeaderLine, AColumnThatDoesNotExistMarksNothing) {
  EXPECT_EQ(MarkedHeaderLine(6), HeaderLine());
  EXPECT_EQ(MarkedHeaderLine(-1), HeaderLine());
}

}  // namespace
}  // namespace quorvex
