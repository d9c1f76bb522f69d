// One game server as the master list describes it, and the fixed table of 16 of them.
#pragma once
#include <array>
#include <cstdint>

#include "common/text.h"

namespace quorvex {

// One bit per field of a record, to tell which fields a reply wrote.
enum ServerFieldBit : uint16_t {
  kNameBit = 1u << 0,
  kAddressBit = 1u << 1,
  kDedicatedBit = 1u << 2,
  kMapIdBit = 1u << 3,
  kMapNameBit = 1u << 4,
  kPortBit = 1u << 5,
  kCurrentPlayersBit = 1u << 6,
  kBotsBit = 1u << 7,
  kPingBit = 1u << 8,
  kWatchersBit = 1u << 9,
  kVersionBit = 1u << 10,
  kPlayerNamesBit = 1u << 11,
  kModeBit = 1u << 12,
  kEveryFieldBit = (1u << 13) - 1,
};

struct ServerRecord {
  Text name;
  Text address;
  Text dedicated;
  Text map_id;
  Text map_name;
  uint16_t port = 0;  // real servers listen above 32,767 too
  int16_t current_players = 0;
  int16_t bots = 0;
  int16_t ping = 0;
  int16_t watchers = 0;
  Text version;
  Text player_names;
  Text mode;
  // The fields (ServerFieldBit) the latest list reply wrote into this record; the others
  // hold what an earlier poll left there. Moves with the record when the table is sorted.
  uint16_t fromLatestReply = 0;

  bool operator==(const ServerRecord&) const = default;
};

// Slots 1 to 16; slot 0 exists but is never used. Records are never cleared: each poll
// overwrites what its reply reaches and the rest keeps what an earlier poll left.
class ServerTable {
 public:
  static constexpr int kSlots = 16;

  // Throws std::out_of_range for an index outside 0..16.
  ServerRecord& at(int index);
  const ServerRecord& at(int index) const;

 private:
  std::array<ServerRecord, kSlots + 1> records_{};
};

// Stores one element's text into the field its tag names ("<bots>" and "bots" alike) and
// marks that field as written by the latest reply. An unknown tag changes nothing; a number
// that does not convert throws and leaves the field and its mark as they were.
void SetServerField(const Text& elementText, const Text& tag, ServerRecord& record);

}  // namespace quorvex
