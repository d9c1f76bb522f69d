#include "quiet/game_check.h"

namespace quorvex {

bool IsGameExecutable(std::u16string_view name) { return FoldAsciiCase(name) == u"rwr_game.exe" || name == u"rwr_game"; }

}  // namespace quorvex
