// The console's stdin commands, one a line: rbutton, balloonclick, click NAME [INDEX],
// advance MS, history [24h|7d|30d].
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex {

struct ConsoleCommand {
  enum class Kind {
    Nothing,  // a blank line
    RButton,
    BalloonClick,  // a click on the balloon shown last
    Click,
    Advance,
    History,
    Invalid,  // `error` says why
  };
  Kind kind = Kind::Nothing;
  std::string name;       // Click: the menu control
  int index = 0;          // Click: the control-array element, 0 when none was given
  bool hasIndex = false;  // Click
  int64_t ms = 0;         // Advance
  std::string range;      // History: "24h" (when none was given), "7d" or "30d"
  std::string error;      // Invalid
};

// Words are separated by blanks or tabs; a trailing carriage return is ignored.
ConsoleCommand ParseConsoleCommand(std::string_view line);

}  // namespace quorvex
