#include "menu/sort.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace quorvex {

bool operator<(const SortKeyValue& a, const SortKeyValue& b) {
  if (a.value_.index() != b.value_.index()) return false;
  if (const auto* text = std::get_if<Text>(&a.value_)) return *text < std::get<Text>(b.value_);
  if (const auto* number = std::get_if<int16_t>(&a.value_)) return *number < std::get<int16_t>(b.value_);
  return false;  // both empty
}

SortKeyValue SortKey(int16_t column, const ServerRecord& record) {
  switch (column) {
    case kSortServer: return SortKeyValue(record.name);
    case kSortVersion: return SortKeyValue(record.version);
    // map_name alone, even where the line shows the tail of map_id instead.
    case kSortMap: return SortKeyValue(record.map_name);
    case kSortPlayers: return SortKeyValue(record.current_players);
    case kSortBots: return SortKeyValue(record.bots);
    case kSortPing: return SortKeyValue(record.ping);
    default: return SortKeyValue();
  }
}

namespace {

bool IsDescending(int16_t column) { return column == kSortPlayers || column == kSortBots; }

// Whether slots j and j + 1 stand in the wrong order; equal keys never do.
bool OutOfOrder(const ServerRecord& first, const ServerRecord& second, int16_t column) {
  const SortKeyValue a = SortKey(column, first);
  const SortKeyValue b = SortKey(column, second);
  return IsDescending(column) ? a < b : a > b;
}

}  // namespace

void SortServers(ServerTable& servers, int n, int16_t column, EventPump& pump) {
  if (n > ServerTable::kSlots)
    throw std::out_of_range("cannot sort " + std::to_string(n) + " slots of a table of 16");
  bool exchanged = true;
  while (exchanged) {
    pump.DoEvents();
    exchanged = false;
    for (int j = 1; j <= n - 1; ++j) {
      if (OutOfOrder(servers.at(j), servers.at(j + 1), column)) {
        std::swap(servers.at(j), servers.at(j + 1));
        exchanged = true;
      }
    }
  }
}

}  // namespace quorvex
