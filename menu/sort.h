// Ordering the server table by one of the six menu columns.
#pragma once
#include <cstdint>
#include <utility>
#include <variant>

#include "common/event_pump.h"
#include "common/text.h"
#include "servers/server_table.h"

namespace quorvex {

// The sort columns, in the order of the Sort menu and of the `sort` setting.
enum SortColumn : int16_t {
  kSortServer = 0,
  kSortVersion = 1,
  kSortMap = 2,
  kSortPlayers = 3,
  kSortBots = 4,
  kSortPing = 5,
};

// What a record is ordered by: a text, an integer, or nothing at all (a column that does
// not exist), which is neither less nor greater than anything.
class SortKeyValue {
 public:
  SortKeyValue() = default;
  explicit SortKeyValue(Text text) : value_(std::move(text)) {}
  explicit SortKeyValue(int16_t number) : value_(number) {}

  bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
  // Texts by UTF-16 code unit, case-sensitive; integers as signed numbers. False when
  // either side is empty or the kinds differ.
  friend bool operator<(const SortKeyValue& a, const SortKeyValue& b);
  friend bool operator>(const SortKeyValue& a, const SortKeyValue& b) { return b < a; }

 private:
  std::variant<std::monostate, Text, int16_t> value_;
};

// The key of `record` for `column`: name, version, map_name, current_players, bots, ping.
SortKeyValue SortKey(int16_t column, const ServerRecord& record);

// Orders slots 1..n in place by `column`: descending for players and bots, ascending
// otherwise. Equal keys keep their order. Yields at the start of every pass, so the menu
// stays responsive; HandlerAborted from a yield passes through. n above 16 throws
// std::out_of_range before anything moves; n of 1 or less compares nothing.
void SortServers(ServerTable& servers, int n, int16_t column, EventPump& pump);

}  // namespace quorvex
