#include <algorithm>

#include "quiet/game_check.h"

namespace quorvex {

namespace {

bool EqualsIgnoringAsciiCase(std::string_view text, std::string_view lowerCase) {
  return std::ranges::equal(text, lowerCase, [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b; });
}

}  // namespace

bool IsGameExecutable(std::string_view name) { return EqualsIgnoringAsciiCase(name, "rwr_game.exe") || name == "rwr_game"; }

}  // namespace quorvex
