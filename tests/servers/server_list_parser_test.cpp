// Taking the list reply apart tag by tag, and what a damaged reply leaves in the table.
#include "servers/server_list_parser.h"

#include <gtest/gtest.h>

#include "common/numbers.h"
#include "support/counting_pump.h"

namespace quorvex {
namespace {

using quorvex::testing::CountingPump;

// Server n with all twelve tags; `skip` leaves one out.
Text Server(int n, const Text& skip = u"") {
  const Text num = FormatPlain(n);
  Text xml = u"<server>";
  auto add = [&](const Text& tag, const Text& value) {
    if (tag != skip) xml += u"<" + tag + u">" + value + u"</" + tag + u">";
  };
  add(u"name", u"Server " + num);
  add(u"address", u"127.0.0." + num);
  add(u"port", FormatPlain(1000 + n));
  add(u"map_id", u"maps/map" + num);
  add(u"map_name", u"Map " + num);
  add(u"bots", FormatPlain(10 + n));
  add(u"current_players", num);
  add(u"dedicated", u"1");
  add(u"watchers", u"3");
  add(u"version", u"1.7" + num);
  add(u"player_names", u"a,b");
  add(u"mode", u"COOP");
  return xml + u"</server>";
}

Text Reply(int servers, int withoutBotsAt = 0) {
  Text xml = u"<result>";
  for (int i = 1; i <= servers; ++i) xml += Server(i, i == withoutBotsAt ? u"bots" : u"");
  return xml + u"</result>";
}

class ParseTest : public ::testing::Test {
 protected:
  void Parse(const Text& reply) { ParseServerList(reply, table, pump); }
  ServerTable table;
  CountingPump pump;
};

TEST_F(ParseTest, FillsEveryFieldInReplyOrderAndMarksWhatTheLatestReplyWrote) {
  table.at(1).ping = 42;
  for (int slot = 1; slot <= 16; ++slot) table.at(slot).fromLatestReply = kEveryFieldBit;
  Parse(u"");  // a failed download changes nothing, its marks included
  EXPECT_EQ(table.at(16).fromLatestReply, kEveryFieldBit);
  EXPECT_EQ(pump.yields, 0);
  Parse(Reply(2, /*withoutBotsAt=*/2));  // a reply forgets every mark of the one before
  EXPECT_EQ(table.at(1), (ServerRecord{u"Server 1", u"127.0.0.1", u"1", u"maps/map1", u"Map 1", 1001, 1, 11, 42, 3,
                                       u"1.71", u"a,b", u"COOP", kEveryFieldBit & ~kPingBit}));
  EXPECT_EQ(table.at(2).name, u"Server 2");
  EXPECT_EQ(table.at(2).fromLatestReply, kEveryFieldBit & ~kPingBit & ~kBotsBit);
  for (int slot = 3; slot <= 16; ++slot) EXPECT_EQ(table.at(slot).fromLatestReply, 0) << slot;
  EXPECT_EQ(table.at(0), ServerRecord{});
  EXPECT_EQ(pump.yields, 23);  // one per occurrence
}

TEST_F(ParseTest, TwentyServersFillSixteenAndTheSeventeenthEndsEachScan) {
  Parse(Reply(20));
  EXPECT_EQ(table.at(16).name, u"Server 16");
  EXPECT_EQ(table.at(16).mode, u"COOP");
  EXPECT_EQ(pump.yields, 12 * 17);
}

TEST_F(ParseTest, AMissingElementShiftsThatTagOnlyAndABadNumberEndsOnlyItsScan) {
  table.at(3).bots = 99;  // left from an earlier poll
  for (int i = 1; i <= 3; ++i) table.at(i).port = 7;
  Text xml = Reply(3, /*withoutBotsAt=*/2);
  xml.replace(xml.find(u"<port>1002"), 10, u"<port>abc");
  Parse(xml);
  EXPECT_EQ(table.at(2).bots, 13);  // the third server's value
  EXPECT_EQ(table.at(3).bots, 99);
  EXPECT_EQ(table.at(1).port, 1001);
  EXPECT_EQ(table.at(2).port, 7);
  EXPECT_EQ(table.at(3).port, 7);
  EXPECT_EQ(table.at(3).mode, u"COOP");
}

TEST_F(ParseTest, TextIsVerbatimTagsAreExactAndNonBmpTextSurvives) {
  Parse(FromUtf8("<name>  A &amp; B \xF0\x9F\x8E\xAE</name><mode></mode><Name>x</Name><map_name lang=\"en\">y</map_name>"));
  EXPECT_EQ(table.at(1).name, FromUtf8("  A &amp; B \xF0\x9F\x8E\xAE"));
  EXPECT_EQ(table.at(1).map_name, u"");
  EXPECT_EQ(table.at(2).name, u"");
}

TEST_F(ParseTest, AnUnclosedOrFarElementIsAnErrorAfterTheEarlierRecords) {
  table.at(2).name = u"old";
  EXPECT_ANY_THROW(ExtractTag(u"<name>a</name><name>b", u"<name>", table, pump));
  EXPECT_EQ(table.at(1).name, u"a");
  EXPECT_EQ(table.at(2).name, u"old");
  const Text far = u"<name>near</name>" + Text(32800, u' ') + u"<name>far</name>";
  EXPECT_THROW(ExtractTag(far, u"<name>", table, pump), OverflowError);
  EXPECT_EQ(table.at(1).name, u"near");
  EXPECT_EQ(table.at(2).name, u"old");
}

TEST(Normalise, PlayerNamesAndDedicated) {
  ServerRecord record{.player_names = u"ann,bob,cy"};
  NormalisePlayerNames(record);
  EXPECT_EQ(record.player_names, u"ann   bob   cy");
  // "*" and " " were normalised by an earlier poll whose record this poll's reply did not
  // reach: a dedicated server keeps its "*" (it once turned blank after a failed download).
  for (const auto& [text, expected] : {std::pair<Text, Text>{u"1", u"*"}, {u"1abc", u"*"}, {u" 1", u"*"},
                                       {u"0", u" "}, {u"", u" "}, {u"10", u" "}, {u"yes", u" "}, {u"*", u"*"},
                                       {u" ", u" "}}) {
    record.dedicated = text;
    NormaliseDedicated(record);
    EXPECT_EQ(record.dedicated, expected) << ToUtf8(text);
  }
}

}  // namespace
}  // namespace quorvex
