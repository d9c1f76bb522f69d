#include "settings/settings_rules.h"

namespace quorvex {

namespace {

// Only 10, 20 and 40 seconds are offered.
int32_t NormalisedCheckTime(int32_t seconds) {
  if (seconds < 10) seconds = 10;
  if (seconds > 40) seconds = 40;
  if (seconds > 10 && seconds < 40) seconds = 20;
  return seconds;
}

int16_t NormalisedSort(int16_t sort) { return (sort > 5 || sort < 0) ? 5 : sort; }

}  // namespace

int16_t PlayerLimitIndex(int16_t storedCount) {
  int32_t count = storedCount;
  if (count < 4) count = 4;
  if (count > 64) count = 64;
  int16_t index = -1;
  for (; count > 1; count /= 2) ++index;
  return index;
}

void NormaliseSettings(Settings& settings) {
  settings.checkTime = NormalisedCheckTime(settings.checkTime);
  settings.sort = NormalisedSort(settings.sort);
  settings.minPlayers = PlayerLimitIndex(settings.minPlayers);
}

std::string TakeAddressFromSettings(std::string_view key, const std::optional<Text>& line, bool (*isValid)(const Text&),
                                    std::string_view form, bool given, Text& address) {
  if (!line || given) return "";
  if (isValid(*line)) {
    address = *line;
    return "";
  }
  return "Quorvex.ini line \"" + std::string(key) + "=" + ToUtf8(*line) + "\" is not " + std::string(form) +
         "; using " + ToUtf8(address);
}

}  // namespace quorvex
