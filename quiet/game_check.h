// Whether the game runs now, asked once a poll. Each platform looks at its process list once
// a call (game_check_posix.cpp, game_check_win32.cpp); the tests hand in their own.
#pragma once
#include <memory>
#include <string_view>

#include "common/text.h"

namespace quorvex {

class GameCheck {
 public:
  virtual ~GameCheck() = default;
  virtual bool GameRuns() = 0;
};

// This platform's check: on Windows the process list and the shell's "do not disturb"
// states, elsewhere the process list of /proc (which holds the game under Wine too).
std::unique_ptr<GameCheck> MakeGameCheck();

// Whether a process's executable name is the game's: "rwr_game.exe" in any letter case (the
// Windows game, also as Wine names its process) or a native "rwr_game". A path is no name.
bool IsGameExecutable(std::u16string_view name);

}  // namespace quorvex
