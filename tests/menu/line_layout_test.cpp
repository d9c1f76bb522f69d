// The fixed-width texts of the servers menu, case by case. Expected lines are joined by hand
// from the layout table, so no expectation is produced by the code under test.
#include "menu/line_layout.h"

#include <gtest/gtest.h>

#include <tuple>

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

TEST(FormatServerLine, TheOfficialExampleIsThe196CharacterLine) {
  EXPECT_EQ(FormatServerLine(kOfficial), OfficialLine());
  EXPECT_EQ(OfficialLine().size(), 196u);
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
