// A favourite-server rule of an alert= line: "N PATTERN", tell when a server whose name
// matches PATTERN has at least N players.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/text.h"

namespace quorvex {

struct AlertRule {
  int32_t players = 0;  // 1 to 999
  Text pattern;         // a server-name pattern as watch= lines have them (see WildcardMatch)

  bool operator==(const AlertRule&) const = default;
};

constexpr int32_t kMaxAlertPlayers = 999;

// The rule of an alert= value already trimmed of blanks: a whole number 1 to 999 (digits
// only), one or more blanks, then a pattern of 1 to 64 characters. Anything else gives
// nothing and `problem` says what is wrong, for the ignored-line message.
std::optional<AlertRule> ParseAlertRule(std::u16string_view value, std::string& problem);

}  // namespace quorvex
