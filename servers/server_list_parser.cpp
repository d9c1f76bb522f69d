#include "servers/server_list_parser.h"

#include <stdexcept>

#include "common/numbers.h"
#include "common/steps.h"

namespace quorvex {

const std::array<Text, 12> kServerListTags = {
    u"<current_players>", u"<name>", u"<map_id>",  u"<map_name>", u"<address>",      u"<port>",
    u"<bots>",            u"<dedicated>", u"<watchers>", u"<version>", u"<player_names>", u"<mode>",
};

void ExtractTag(const Text& reply, const Text& tag, ServerTable& table, EventPump& pump) {
  const int16_t tagLength = CheckedInt16(static_cast<int64_t>(tag.size()));
  int16_t p = InStr(1, reply, tag);
  int16_t k = 0;
  while (p >= 1) {
    pump.DoEvents();
    k = AddInt16(k, 1);
    const int16_t s = AddInt16(p, tagLength);
    const int16_t e = InStr(s, reply, u"</");
    const int32_t length = int32_t{e} - s;
    if (length < 0) throw ConversionError("opening tag without a closing \"</\"");
    const Text element = reply.substr(static_cast<size_t>(s) - 1, static_cast<size_t>(length));
    if (k > ServerTable::kSlots) throw std::out_of_range("more than 16 servers");
    SetServerField(element, tag, table.at(k));
    p = InStr(int32_t{p} + 1, reply, tag);
  }
}

void ParseServerList(const Text& reply, ServerTable& table, EventPump& pump) {
  // A reply that came forgets what the one before wrote; an empty one (a failed download)
  // changes nothing, its marks included.
  if (!reply.empty()) {
    for (int slot = 1; slot <= ServerTable::kSlots; ++slot) table.at(slot).fromLatestReply = 0;
  }
  for (const Text& tag : kServerListTags) RunStep([&] { ExtractTag(reply, tag, table, pump); });
}

void NormalisePlayerNames(ServerRecord& record) { record.player_names = ReplaceAll(record.player_names, u",", u"   "); }

void NormaliseDedicated(ServerRecord& record) {
  // A record this poll's reply did not reach (a failed download, a scan that stopped
  // early) still holds the "*" of an earlier poll: that server is still dedicated.
  if (record.dedicated == u"*") return;
  record.dedicated = LeadingNumberValue(record.dedicated) == 1.0 ? u"*" : u" ";
}

}  // namespace quorvex
