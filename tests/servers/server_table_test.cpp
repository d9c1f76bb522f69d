#include "servers/server_table.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "common/numbers.h"

namespace quorvex {
namespace {

TEST(ServerTable, HoldsSlotsZeroToSixteenOnly) {
  ServerTable table;
  table.at(16).name = u"last";
  EXPECT_EQ(table.at(16).name, u"last");
  EXPECT_THROW(table.at(17), std::out_of_range);
  EXPECT_THROW(table.at(-1), std::out_of_range);
}

TEST(SetServerField, StoresByTagWithOrWithoutBrackets) {
  ServerRecord record;
  SetServerField(u"12", u"<bots>", record);
  EXPECT_EQ(record.bots, 12);
  SetServerField(u"13", u"bots", record);
  EXPECT_EQ(record.bots, 13);
  SetServerField(u"7", u"ping", record);  // not scanned by the poll, but a field all the same
  EXPECT_EQ(record.ping, 7);
  SetServerField(u" a, b &amp; ", u"<player_names>", record);
  EXPECT_EQ(record.player_names, u" a, b &amp; ");
  SetServerField(u"", u"<mode>", record);
  EXPECT_EQ(record.mode, u"");
}

TEST(SetServerField, UnknownOrCapitalisedTagChangesNothing) {
  ServerRecord record;
  record.name = u"kept";
  const ServerRecord before = record;
  SetServerField(u"x", u"<Name>", record);
  SetServerField(u"x", u"<players>", record);
  EXPECT_EQ(record, before);
}

TEST(SetServerField, AFailedConversionThrowsAndKeepsTheField) {
  ServerRecord record;
  SetServerField(u" 27 ", u"<port>", record);
  EXPECT_EQ(record.port, 27);
  EXPECT_THROW(SetServerField(u"", u"<port>", record), ConversionError);
  EXPECT_THROW(SetServerField(u"abc", u"<port>", record), ConversionError);
  EXPECT_THROW(SetServerField(u"65536", u"<port>", record), ConversionError);
  EXPECT_EQ(record.port, 27);
  record.current_players = 5;
  EXPECT_THROW(SetServerField(u"32768", u"<current_players>", record), ConversionError);
  EXPECT_EQ(record.current_players, 5);
}

TEST(SetServerField, PortsAboveThe16BitSignedRangeConvert) {
  ServerRecord record;
  SetServerField(u"40000", u"<port>", record);
  EXPECT_EQ(record.port, 40000);
  SetServerField(u"65535", u"<port>", record);
  EXPECT_EQ(record.port, 65535);
}

}  // namespace
}  // namespace quorvex
