// What the program makes of the replies: the server count, the table filled from the list tag
// by tag (and what a damaged list leaves in it), the latest version.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

#include "common/numbers.h"
#include "servers/http_request.h"
#include "servers/server_download.h"
#include "servers/server_list_parser.h"
#include "support/counting_pump.h"

namespace quorvex {
namespace {

TEST(ParseServerCount, ReadsTheNumberAfterTheFirstServersTagUpToTheNextClose) {
  const Text far(32800, u'x');
  const std::pair<Text, std::optional<int16_t>> cases[] = {
      {u"<?xml?>\n<servers> 3 </servers><servers>9</servers>", 3}, {u"<servers>0</x>", 0},
      {u"abcdefgh14</x>", 14},                                // without the tag the rule reads from position 9
      {u"abcdefgh6</a>" + far + u"<servers>4</servers>", 6},  // a tag past 32,767 cannot be held
      {far + u"<servers>4</servers>", {}}, {u"abcdefgh", {}}, {u"<servers>12", {}}, {u"<servers></servers>", {}},
      {u"<html><h1>404 Not Found</h1></html>", {}}, {u"<servers>40000</servers>", {}},
      {u"<servers> -1 </servers>", {}},  // a negative count would ask for a negative list
  };
  for (const auto& [reply, count] : cases) {
    if (count) {
      EXPECT_EQ(ParseServerCount(reply), *count) << ToUtf8(reply.substr(0, 40));
    } else {
      EXPECT_ANY_THROW(ParseServerCount(reply)) << ToUtf8(reply.substr(0, 40));
    }
  }
}

// Answers with one fixed reply; a status of 0 stands for a transfer that fails. It waits as a
// transfer does: the whole 50 ms, then woken at once, then 50 ms again as the wake is used up.
class OneReply : public PlatformHttpRequest {
 public:
  OneReply(Text body, int32_t status) : body(std::move(body)), code(status) {}
  Text body;
  int32_t code;
  std::vector<Text> sent;

 protected:
  HttpReply Transfer(const Text& method, const Text& url, EventPump& pump) override {
    sent.push_back(method + u" " + url);
    pump.DoEvents();
    pump.WaitForEvents(50);
    pump.Wake();
    pump.WaitForEvents(60'000);
    pump.WaitForEvents(50);
    if (code == 0) throw HttpError("no connection");
    return {code, ToUtf8(body)};
  }
};

TEST(LatestVersion, IsA2xxBodyLessBetaLineFeedsTheByteOrderMarkAndTrailingCarriageReturns) {
  const std::tuple<Text, int32_t, std::optional<Text>> cases[] = {
      {u"1.80", 200, u"1.80"}, {u"beta 1.80\n", 204, u"1.80"}, {u"\uFEFFbeta 1.80\r\n", 299, u"1.80"},
      {u"beta 1.80\r\n\r\n", 200, u"1.80"}, {u"1.\n80", 200, u"1.80"}, {u"beta beta 1.80 beta ", 200, u"1.80 "},
      {u"Beta 1.80", 200, u"Beta 1.80"}, {u"1.80\r2", 200, u"1.80\r2"}, {u"1.80\uFEFF", 200, u"1.80\uFEFF"},
      {u"", 200, u""}, {u"1.80", 199, {}}, {u"1.80", 301, {}}, {u"1.80", 0, {}},
  };
  testing::CountingPump pump;
  for (const auto& [body, status, version] : cases) {
    OneReply http(body, status);
    if (version) {
      EXPECT_EQ(DownloadLatestVersion(http, u"http://h/v.txt", pump), *version) << ToUtf8(body);
    } else {
      EXPECT_THROW(DownloadLatestVersion(http, u"http://h/v.txt", pump), HttpError) << status;
    }
    EXPECT_EQ(http.sent, std::vector<Text>{u"GET http://h/v.txt"});
  }
  EXPECT_EQ(pump.yields, 13);  // every download ran events while it waited
}

TEST(HttpRequest, ASendWithNothingToRunSleepsUntilTheTransferWakesItOrTheWaitEnds) {
  OneReply http(u"", 200);
  http.open(u"GET", u"http://h/");
  const auto start = std::chrono::steady_clock::now();
  http.send();
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(100));
  EXPECT_LT(took, std::chrono::seconds(30));
}

// A reply is there from its send until the next open or send; one transfer at a time.
TEST(HttpRequest, KeepsTheLastReplyOnlyUntilTheNextRequestAndRefusesASendInsideASend) {
  OneReply http(u"body", 200);
  testing::CountingPump pump;
  EXPECT_THROW(http.send(pump), HttpError) << "nothing opened";
  http.open(u"GET", u"http://h/");
  EXPECT_THROW(http.status(), HttpError);
  pump.onYield = [&](int) { EXPECT_THROW(http.send(pump), HttpError) << "a send inside a send"; };
  http.send(pump);
  pump.onYield = nullptr;
  EXPECT_EQ(std::make_pair(http.status(), http.responseText()), std::make_pair(200, Text(u"body")));
  http.send(pump);  // the guard is down again
  http.code = 0;
  EXPECT_THROW(http.send(pump), HttpError);
  EXPECT_THROW(http.responseText(), HttpError) << "a failed send keeps no earlier reply";
  http.code = 204;
  http.send(pump);
  http.open(u"GET", u"http://h/");
  EXPECT_THROW(http.status(), HttpError);
  EXPECT_EQ(http.sent.size(), 4u);
}

// Servers 1..n with all twelve tags; server `withoutBotsAt` has no <bots>.
Text Reply(int servers, int withoutBotsAt = 0) {
  Text xml = u"<result>";
  for (int n = 1; n <= servers; ++n) {
    const Text num = FormatPlain(n);
    const std::pair<Text, Text> fields[] = {
        {u"name", u"Server " + num}, {u"address", u"127.0.0." + num}, {u"port", FormatPlain(1000 + n)},
        {u"map_id", u"maps/map" + num}, {u"map_name", u"Map " + num}, {u"bots", FormatPlain(10 + n)},
        {u"current_players", num}, {u"dedicated", u"1"}, {u"watchers", u"3"}, {u"version", u"1.7" + num},
        {u"player_names", u"a,b"}, {u"mode", u"COOP"}};
    xml += u"<server>";
    for (const auto& [tag, value] : fields)
      if (n != withoutBotsAt || tag != u"bots") xml += u"<" + tag + u">" + value + u"</" + tag + u">";
    xml += u"</server>";
  }
  return xml + u"</result>";
}

class ParseTest : public ::testing::Test {
 protected:
  void Parse(const Text& reply) { ParseServerList(reply, table, pump); }
  ServerTable table;
  testing::CountingPump pump;
};

TEST_F(ParseTest, FillsEveryFieldInReplyOrderAndMarksWhatTheLatestReplyWrote) {
  table.at(1).ping = 42;
  for (int slot = 1; slot <= 16; ++slot) table.at(slot).fromLatestReply = kEveryFieldBit;
  Parse(u"");  // a failed download changes nothing, its marks included
  EXPECT_EQ(table.at(16).fromLatestReply, kEveryFieldBit);
  Parse(Reply(2, /*withoutBotsAt=*/2));  // a reply forgets every mark of the one before
  EXPECT_EQ(table.at(1), (ServerRecord{u"Server 1", u"127.0.0.1", u"1", u"maps/map1", u"Map 1", 1001, 1, 11, 42, 3,
                                       u"1.71", u"a,b", u"COOP", kEveryFieldBit & ~kPingBit}));
  EXPECT_EQ(table.at(2).fromLatestReply, kEveryFieldBit & ~kPingBit & ~kBotsBit);
  for (int slot = 3; slot <= 16; ++slot) EXPECT_EQ(table.at(slot).fromLatestReply, 0) << slot;
  EXPECT_EQ(table.at(0), ServerRecord{});
  EXPECT_EQ(pump.yields, 23);  // one per occurrence
  EXPECT_THROW(table.at(17), std::out_of_range);
  EXPECT_THROW(table.at(-1), std::out_of_range);
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
  EXPECT_EQ(table.at(2).fromLatestReply & kPortBit, 0) << "a field that did not convert was not written";
  EXPECT_EQ(table.at(3).mode, u"COOP");
}

TEST_F(ParseTest, TextIsVerbatimTagsAreExactAndTheirRangesHeld) {
  Parse(FromUtf8("<name>  A &amp; B \xF0\x9F\x8E\xAE</name><mode></mode><Name>x</Name><map_name lang=\"en\">y</map_name>"
                 "<port>40000</port><current_players>-32768</current_players><bots>32768</bots>"));
  EXPECT_EQ(table.at(1), (ServerRecord{.name = FromUtf8("  A &amp; B \xF0\x9F\x8E\xAE"), .port = 40000,
                                       .current_players = -32768,
                                       .fromLatestReply = kNameBit | kModeBit | kPortBit | kCurrentPlayersBit}));
  EXPECT_EQ(table.at(2).name, u"");
}

TEST_F(ParseTest, AnUnclosedFarOrSeventeenthElementIsAnErrorAfterTheEarlierRecords) {
  table.at(2).name = u"old";
  EXPECT_ANY_THROW(ExtractTag(u"<name>a</name><name>b", u"<name>", table, pump));
  EXPECT_EQ(table.at(1).name, u"a");
  EXPECT_EQ(table.at(2).name, u"old");
  const Text far = u"<name>near</name>" + Text(32800, u' ') + u"<name>far</name>";
  EXPECT_THROW(ExtractTag(far, u"<name>", table, pump), OverflowError);
  EXPECT_EQ(table.at(1).name, u"near");
  EXPECT_EQ(table.at(2).name, u"old");
  EXPECT_THROW(ExtractTag(Reply(20), u"<mode>", table, pump), std::out_of_range);
  EXPECT_EQ(table.at(16).mode, u"COOP");
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
