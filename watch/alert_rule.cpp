#include "watch/alert_rule.h"

#include <algorithm>

#include "watch/wildcard.h"

namespace quorvex {

std::optional<AlertRule> ParseAlertRule(std::u16string_view value, std::string& problem) {
  const size_t digitsEnd = std::min(value.find_first_not_of(u"0123456789"), value.size());
  // Beyond four digits no value fits, whatever its leading zeros; the cap keeps the sum small.
  int32_t players = 0;
  for (const char16_t digit : value.substr(0, digitsEnd)) players = std::min(players * 10 + (digit - u'0'), 10'000);
  const size_t patternStart = value.find_first_not_of(u" \t", digitsEnd);
  if (digitsEnd == 0 || players < 1 || players > kMaxAlertPlayers ||
      (patternStart != std::u16string_view::npos && patternStart == digitsEnd)) {
    problem = "does not start with a player count from 1 to 999 and a blank";
    return std::nullopt;
  }
  if (patternStart == std::u16string_view::npos) {
    problem = "has no server-name pattern after its player count";
    return std::nullopt;
  }
  const std::u16string_view pattern = value.substr(patternStart);
  if (CountCharacters(pattern) > kMaxPatternCharacters) {
    problem = "has a pattern over 64 characters";
    return std::nullopt;
  }
  return AlertRule{players, Text(pattern)};
}

}  // namespace quorvex
