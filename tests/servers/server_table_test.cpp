// The table's slots, one field stored by its tag, and the poll's summary texts.
#include "servers/server_table.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "common/numbers.h"
#include "servers/poll_summary.h"

namespace quorvex {
namespace {

TEST(ServerTable, SlotsZeroToSixteenAndOneFieldStoredByItsTagUnlessItsNumberFails) {
  ServerTable table;
  EXPECT_NO_THROW(table.at(0));
  EXPECT_THROW(table.at(17), std::out_of_range);
  EXPECT_THROW(table.at(-1), std::out_of_range);
  ServerRecord& record = table.at(16);
  SetServerField(u"12", u"<bots>", record);
  SetServerField(u"7", u"ping", record);  // brackets or not
  SetServerField(u" a, b &amp; ", u"<player_names>", record);
  SetServerField(u"40000", u"<port>", record);  // ports above the signed 16-bit range
  SetServerField(u"x", u"<Name>", record);      // unknown tags change nothing
  SetServerField(u"x", u"<players>", record);
  EXPECT_EQ(record, (ServerRecord{.port = 40000, .bots = 12, .ping = 7, .player_names = u" a, b &amp; ",
                                  .fromLatestReply = kPortBit | kBotsBit | kPingBit | kPlayerNamesBit}));
  for (const Text bad : {u"", u"abc", u"65536"}) EXPECT_THROW(SetServerField(bad, u"<port>", record), ConversionError);
  EXPECT_THROW(SetServerField(u"32768", u"<current_players>", record), ConversionError);
  EXPECT_EQ(record.port, 40000);
  EXPECT_EQ(record.current_players, 0);
  EXPECT_EQ(record.fromLatestReply & kCurrentPlayersBit, 0) << "a field that did not convert was not written";
}

TEST(PollSummary, TheTooltipAndTheAlertMessage) {
  EXPECT_EQ(SummaryText({12, 34, 10, 16, 3}, 2),
            u"\r\nMax Players:   12\r\n__________________\r\n\r\nTotal Players:    34\r\n"
            u"Servers Online: 10\r\nPlayer-Limit:     16\r\nServer Watchers: 3\r\n ");
  EXPECT_EQ(SummaryText({-1, 0, 0, 4, -2}, 4),
            u"\r\nMax Players:    -1\r\n__________________\r\n\r\nTotal Players:    0\r\n"
            u"Servers Online: 0\r\nPlayer-Limit:     4\r\nServer Watchers: -2\r\n ");
  EXPECT_EQ(AlertMessage(16, 17), u"Player-limit of 16 reached!\r\nPlayers: 17");
}

}  // namespace
}  // namespace quorvex
