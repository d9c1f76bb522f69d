// One game server as the master list describes it, and the fixed table of 16 of them.
#pragma once
#include <array>
#include <cstdint>

#include "common/text.h"

namespace quorvex {

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

// Stores one element's text into the field its tag names ("<bots>" and "bots" alike).
// An unknown tag changes nothing; a number that does not convert throws and leaves the
// field as it was.
void SetServerField(const Text& elementText, const Text& tag, ServerRecord& record);

}  // namespace quorvex
