#include "servers/server_table.h"

#include <map>
#include <stdexcept>
#include <string>

#include "common/numbers.h"

namespace quorvex {

ServerRecord& ServerTable::at(int index) {
  if (index < 0 || index > kSlots) throw std::out_of_range("server slot " + std::to_string(index));
  return records_[static_cast<size_t>(index)];
}

const ServerRecord& ServerTable::at(int index) const { return const_cast<ServerTable*>(this)->at(index); }

namespace {

uint16_t FieldBit(const Text& field) {
  static const std::map<Text, uint16_t> bits = {
      {u"name", kNameBit},         {u"address", kAddressBit},
      {u"dedicated", kDedicatedBit}, {u"map_id", kMapIdBit},
      {u"map_name", kMapNameBit},  {u"port", kPortBit},
      {u"current_players", kCurrentPlayersBit}, {u"bots", kBotsBit},
      {u"ping", kPingBit},         {u"watchers", kWatchersBit},
      {u"version", kVersionBit},   {u"player_names", kPlayerNamesBit},
      {u"mode", kModeBit},
  };
  const auto found = bits.find(field);
  return found == bits.end() ? 0 : found->second;
}

}  // namespace

void SetServerField(const Text& elementText, const Text& tag, ServerRecord& record) {
  const Text field = ReplaceAll(ReplaceAll(tag, u"<", u""), u">", u"");
  if (field == u"name") record.name = elementText;
  else if (field == u"address") record.address = elementText;
  else if (field == u"dedicated") record.dedicated = elementText;
  else if (field == u"map_id") record.map_id = elementText;
  else if (field == u"map_name") record.map_name = elementText;
  else if (field == u"port") record.port = ToPort(elementText);
  else if (field == u"current_players") record.current_players = ToInt16(elementText);
  else if (field == u"bots") record.bots = ToInt16(elementText);
  else if (field == u"ping") record.ping = ToInt16(elementText);
  else if (field == u"watchers") record.watchers = ToInt16(elementText);
  else if (field == u"version") record.version = elementText;
  else if (field == u"player_names") record.player_names = elementText;
  else if (field == u"mode") record.mode = elementText;
  record.fromLatestReply |= FieldBit(field);  // not reached when a number did not convert
}

}  // namespace quorvex
