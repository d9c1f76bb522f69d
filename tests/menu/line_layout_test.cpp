// The fixed-width texts of the servers menu, case by case.
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
const ServerRecord kOfficial{.name = u"[EU] Official #1", .dedicated = u"*", .map_id = u"pack/maps/map5",
                             .current_players = 12, .bots = 45, .ping = 999, .version = u"1.31"};
const ShownColumns kOfficialColumns{u"[EU] Official #1", 12, u"1.31", u"*", u"-----", u"map5", 20, u" 12", u"  45",
                                    u"   --"};

TEST(NameWidth, WeighsLettersAndRoundsAfterEveryRow) {
  const std::pair<Text, int> cases[] = {
      {u"Mumble", 8}, {u"Ixxxx", 4},  // 4.5 goes to the even 4
      {u"[EU] Official #1", 12}, {Text(17, u'm'), 18}, {Text(17, u'W'), 18}, {u"", 0}, {u"ii", 1},
      {u"wwm", 6},  // 3 -> "m" 3.9 -> 4 -> two "w" 5.5 -> 6; rounding once at the end gives 5
      {u"mxI", 4},  // 3 -> 3.9 -> 4 -> "I" 3.5 -> 4, the half to the even neighbour
  };
  for (const auto& [name, width] : cases) EXPECT_EQ(NameWidth(name), width) << ToUtf8(name);
  EXPECT_EQ(CountChar(u"Mumble mm", u'm'), 3);  // by code: "M" is another letter
}

TEST(FormatServerLine, TheOfficialExampleIsThe196CharacterLine) {
  const Text line = FormatServerLine(kOfficial);
  EXPECT_EQ(line, u"[EU] Official #1" + Spaces(25) + u"1.31" + Spaces(20) + u"*" + Spaces(22) + u"-----" +
                      Spaces(17) + u"map5" + Spaces(27) + u" 12" + Spaces(23) + u"  45" + Spaces(20) + u"   --");
  EXPECT_EQ(line.size(), 196u);
}

// One field of the example changed, and the columns that change with it.
struct LineCase {
  ServerRecord record;
  ShownColumns shown;
};

LineCase Name(const Text& name, const Text& shown, size_t pad) {
  LineCase c{kOfficial, kOfficialColumns};
  c.record.name = name;
  c.shown.name = shown;
  c.shown.namePad = pad;
  return c;
}
LineCase Map(const Text& mapName, const Text& mapId, const Text& shown, size_t pad) {
  LineCase c{kOfficial, kOfficialColumns};
  c.record.map_name = mapName;
  c.record.map_id = mapId;
  c.shown.map = shown;
  c.shown.mapPad = pad;
  return c;
}
LineCase Numbers(int16_t players, int16_t bots, int16_t ping, const Text& p, const Text& b, const Text& g) {
  LineCase c{kOfficial, kOfficialColumns};
  c.record.current_players = players;
  c.record.bots = bots;
  c.record.ping = ping;
  c.shown.players = p;
  c.shown.bots = b;
  c.shown.ping = g;
  return c;
}

TEST(FormatServerLine, ColumnsFollowTheirRules) {
  std::vector<LineCase> cases = {
      Name(u"Mumble", u"Mumble", 20), Name(u"Ixxxx", u"Ixxxx", 28), Name(Text(17, u'm'), Text(17, u'm'), 0),
      Name(u"", u"", 29), Name(u"abc", u"abc", 29),                              // 30 is capped at 29
      Name(Text(17, u'x') + u"yyy", Text(17, u'x'), 2),                          // cut to 17 first
      Name(Text(16, u'x') + kGrinning + u"yy", Text(16, u'x'), 4),               // a pair across 17 stays whole
      Map(u"Island", u"pack/maps/map5", u"Island", 17), Map(u"", u"map9", u"map9", 20),
      Map(u"", u"pack/maps/", u"", 27), Map(u"An Extremely Long Map", u"", u"An Extremely Lon", 0),
      Map(Text(15, u'a') + kGrinning + u"b", u"", Text(15, u'a'), 2),            // a pair across 16 stays whole
      Numbers(0, 0, 0, u" 0", u"   0", u"     0"), Numbers(-3, 7, 1999, u"-3", u"   7", u"  1--"),
      Numbers(12, 12345, 999, u" 12", u"2345", u"   --"),                        // bots keep the last four digits
      Numbers(32767, -1, 25, u" 32767", u"  -1", u"    25"), Numbers(5, -1234, 9999, u" 5", u"1234", u"  --9"),
  };
  // The map pad of every length 0..16: round(1.66 x the missing characters).
  const size_t mapPad[17] = {27, 25, 23, 22, 20, 18, 17, 15, 13, 12, 10, 8, 7, 5, 3, 2, 0};
  for (size_t length = 0; length <= 16; ++length)
    cases.push_back(Map(u"", u"p/" + Text(length, u'q'), Text(length, u'q'), mapPad[length]));
  LineCase texts{kOfficial, kOfficialColumns};  // mode, dedicated and version are shown whole
  texts.record.mode = texts.shown.mode = u"Coop Campaign";
  texts.record.dedicated = texts.shown.dedicated = u" ";
  texts.record.version = texts.shown.version = u"1.99-beta.3";
  cases.push_back(texts);
  for (const LineCase& c : cases)
    EXPECT_EQ(FormatServerLine(c.record), JoinSegments(c.shown)) << ToUtf8(c.record.name + u"|" + c.record.map_name);
}

TEST(FormatPlayerLine, LongListsEndAfterTheLastSpaceWithin110) {
  const Text head = Text(50, u'a') + u" " + Text(52, u'b') + u" ";  // 104 characters
  const std::pair<Text, Text> cases[] = {
      {u"", u""},
      {u"ann   bob", u"ann   bob"},
      {Text(110, u'a'), Text(110, u'a')},
      {head + Text(11, u'c'), head + u"..."},
      {Text(111, u'a'), u"..."},
      {Text(110, u'a') + u" b", u"..."},                         // a space at 111 is past the cut
      {Text(109, u'a') + u" bb", Text(109, u'a') + u" ..."},     // a space at 110 is kept
      {Text(100, u'a') + u" " + Text(8, u'b') + kGrinning + u"c", Text(100, u'a') + u" ..."},  // pair at 110/111
      {Text(109, u'b') + kGrinning + u"c", u"..."},
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
  EXPECT_EQ(HeaderLine().size(), 184u);
  for (int16_t sort = -1; sort <= 6; ++sort) EXPECT_EQ(MarkedHeaderLine(sort), expected(sort)) << sort;
}

}  // namespace
}  // namespace quorvex
