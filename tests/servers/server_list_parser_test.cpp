#include "servers/server_list_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "common/numbers.h"
#include "support/counting_pump.h"

namespace quorvex {
namespace {

using quorvex::testing::CountingPump;

// One <server> element listing all twelve tags; `skip` leaves one out.
std::u16string Server(int n, const std::u16string& skip = u"") {
  const Text num = FormatPlain(n);
  std::u16string xml = u"<server>";
  auto add = [&](const std::u16string& tag, const Text& value) {
    if (tag != skip) xml += u"<" + tag + u">" + value + u"</" + tag + u">";
  };
  add(u"name", u"Server " + num);
  add(u"address", u"127.0.0." + num);
  add(u"port", FormatPlain(1000 + n));
  add(u"map_id", u"media/maps/map" + num);
  add(u"map_name", u"Map " + num);
  add(u"bots", FormatPlain(10 + n));
  add(u"current_players", FormatPlain(n));
  add(u"dedicated", u"1");
  add(u"watchers", u"3");
  add(u"version", u"1.7" + num);
  add(u"player_names", u"a,b");
  add(u"mode", u"COOP");
  return xml + u"</server>";
}

std::u16string Reply(int servers, int withoutBotsAt = 0) {
  std::u16string xml = u"<result>";
  for (int i = 1; i <= servers; ++i) xml += Server(i, i == withoutBotsAt ? u"bots" : u"");
  return xml + u"</result>";
}

TEST(ParseServerList, FillsRecordsInReplyOrderAndLeavesPingAlone) {
  ServerTable table;
  table.at(1).ping = 42;
  CountingPump pump;
  ParseServerList(Reply(2), table, pump);
  const ServerRecord& first = table.at(1);
  EXPECT_EQ(first.name, u"Server 1");
  EXPECT_EQ(first.address, u"127.0.0.1");
  EXPECT_EQ(first.port, 1001);
  EXPECT_EQ(first.map_id, u"media/maps/map1");
  EXPECT_EQ(first.map_name, u"Map 1");
  EXPECT_EQ(first.bots, 11);
  EXPECT_EQ(first.current_players, 1);
  EXPECT_EQ(first.dedicated, u"1");
  EXPECT_EQ(first.watchers, 3);
  EXPECT_EQ(first.version, u"1.71");
  EXPECT_EQ(first.player_names, u"a,b");
  EXPECT_EQ(first.mode, u"COOP");
  EXPECT_EQ(first.ping, 42);
  EXPECT_EQ(table.at(2).name, u"Server 2");
  EXPECT_EQ(table.at(0), ServerRecord{});
  EXPECT_EQ(pump.yields, 24);  // one per occurrence found
}

TEST(ParseServerList, TwentyServersFillSixteenAndTheSeventeenthEndsEachScan) {
  ServerTable table;
  CountingPump pump;
  ParseServerList(Reply(20), table, pump);
  EXPECT_EQ(table.at(16).name, u"Server 16");
  EXPECT_EQ(table.at(16).mode, u"COOP");
  EXPECT_EQ(table.at(16).port, 1016);
  EXPECT_EQ(pump.yields, 12 * 17);  // the 17th occurrence is reached, then the scan fails
}

TEST(ParseServerList, AMissingElementShiftsThatTagOnly) {
  ServerTable table;
  table.at(3).bots = 99;  // left from an earlier poll
  CountingPump pump;
  ParseServerList(Reply(3, /*withoutBotsAt=*/2), table, pump);
  EXPECT_EQ(table.at(1).bots, 11);
  EXPECT_EQ(table.at(2).bots, 13);  // the third server's value
  EXPECT_EQ(table.at(3).bots, 99);
  EXPECT_EQ(table.at(3).name, u"Server 3");
}

TEST(ParseServerList, APortOfLettersEndsOnlyThePortScan) {
  ServerTable table;
  for (int i = 1; i <= 3; ++i) table.at(i).port = 7;
  std::u16string xml = Reply(3);
  const std::u16string port2 = u"<port>1002</port>";
  xml.replace(xml.find(port2), port2.size(), u"<port>abc</port>");
  CountingPump pump;
  ParseServerList(xml, table, pump);
  EXPECT_EQ(table.at(1).port, 1001);
  EXPECT_EQ(table.at(2).port, 7);
  EXPECT_EQ(table.at(3).port, 7);
  EXPECT_EQ(table.at(3).bots, 13);
  EXPECT_EQ(table.at(3).mode, u"COOP");
}

TEST(ParseServerList, PortsAboveSignedRangeAreStored) {
  ServerTable table;
  CountingPump pump;
  ParseServerList(u"<port>40000</port><port>65535</port>", table, pump);
  EXPECT_EQ(table.at(1).port, 40000);
  EXPECT_EQ(table.at(2).port, 65535);
}

TEST(ExtractTag, AnElementWithoutClosingIsAnErrorAfterEarlierRecords) {
  ServerTable table;
  table.at(2).name = u"old";
  CountingPump pump;
  EXPECT_ANY_THROW(ExtractTag(u"<name>a</name><name>b", u"<name>", table, pump));
  EXPECT_EQ(table.at(1).name, u"a");
  EXPECT_EQ(table.at(2).name, u"old");
}

TEST(ExtractTag, TextIsVerbatimAndTagsAreExact) {
  ServerTable table;
  CountingPump pump;
  ParseServerList(u"<name>  A &amp; B</name><mode></mode><Name>x</Name><map_name lang=\"en\">y</map_name>", table, pump);
  EXPECT_EQ(table.at(1).name, u"  A &amp; B");
  EXPECT_EQ(table.at(1).mode, u"");
  EXPECT_EQ(table.at(1).map_name, u"");
  EXPECT_EQ(table.at(2).name, u"");
}

TEST(ExtractTag, OccurrencesBeyond32767AreNotRead) {
  ServerTable table;
  CountingPump pump;
  Text xml = u"<name>near</name>";
  xml += Text(32800, u' ');
  xml += u"<name>far</name>";
  table.at(2).name = u"kept";
  EXPECT_THROW(ExtractTag(xml, u"<name>", table, pump), OverflowError);
  EXPECT_EQ(table.at(1).name, u"near");
  EXPECT_EQ(table.at(2).name, u"kept");
}

TEST(ExtractTag, AnEmptyReplyChangesNothing) {
  ServerTable table;
  table.at(1).name = u"kept";
  CountingPump pump;
  ParseServerList(u"", table, pump);
  EXPECT_EQ(table.at(1).name, u"kept");
  EXPECT_EQ(pump.yields, 0);
}

TEST(ExtractTag, NonBmpTextSurvivesTheScan) {
  ServerTable table;
  CountingPump pump;
  ParseServerList(FromUtf8("<name>\xF0\x9F\x8E\xAE \xC3\xA9</name>"), table, pump);
  EXPECT_EQ(ToUtf8(table.at(1).name), "\xF0\x9F\x8E\xAE \xC3\xA9");
}

TEST(Normalise, PlayerNamesAndDedicated) {
  ServerRecord record;
  record.player_names = u"ann,bob,cy";
  NormalisePlayerNames(record);
  EXPECT_EQ(record.player_names, u"ann   bob   cy");
  for (const auto& [text, expected] : {std::pair<Text, Text>{u"1", u"*"}, {u"1abc", u"*"}, {u" 1", u"*"},
                                       {u"0", u" "}, {u"", u" "}, {u"10", u" "}, {u"yes", u" "},
                                       // normalised before and not written by this poll
                                       {u"*", u"*"}, {u" ", u" "}}) {
    record.dedicated = text;
    NormaliseDedicated(record);
    EXPECT_EQ(record.dedicated, expected) << ToUtf8(text);
  }
}

}  // namespace
}  // namespace quorvex
