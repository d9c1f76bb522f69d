// What the program makes of the settings as read: the values it offers, and the master
// server and latest-version URL a player chose in Quorvex.ini.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/text.h"
#include "settings/ini_file.h"

namespace quorvex {

// The stored player count, clamped to 4..64, as its menu index: floor(log2(count)) - 1.
// The inverse of PlayerLimit.
int16_t PlayerLimitIndex(int16_t storedCount);

// The settings as the menu offers them: 10, 20 or 40 seconds, a sort column 0..5 (5 for any
// other), and the stored player count turned into its index.
void NormaliseSettings(Settings& settings);

// The address a Quorvex.ini line gives, when the command line gave none (`given` false):
// `address` takes a line that `isValid` accepts; for one of the wrong form the result is the
// message to report, naming the line, the form it should have (`form`) and the value kept.
// Returns "" when there is nothing to report.
std::string TakeAddressFromSettings(std::string_view key, const std::optional<Text>& line, bool (*isValid)(const Text&),
                                    std::string_view form, bool given, Text& address);

}  // namespace quorvex
