// The texts the tray shows after a poll and after a player-limit change: the tooltip's status
// summary and the balloon message of the player-limit alert.
#pragma once
#include <cstdint>

#include "common/text.h"

namespace quorvex {

struct PollFigures {
  int16_t maxPlayers = 0;
  int16_t totalPlayers = 0;
  int16_t serverCount = 0;
  int32_t playerLimit = 0;
  int16_t watchers = 0;  // the watcher figure of the first record
};

// The poll writes two blanks after "Max Players:", the player-limit menu four; the rest is
// the same. The tray keeps only the first 127 characters.
Text SummaryText(const PollFigures& figures, int blanksAfterMaxPlayers);

// The balloon message of the player-limit alert.
Text AlertMessage(int32_t playerLimit, int16_t maxPlayers);

}  // namespace quorvex
