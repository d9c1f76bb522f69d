// Splitting a command line into the program and its arguments, by the rules Windows programs
// read their own command lines with, so one notifyCommand line means the same everywhere.
#pragma once
#include <vector>

#include "common/text.h"

namespace quorvex {

// The line split as CommandLineToArgvW splits it: blanks (space, tab) separate, double
// quotes group, 2n backslashes before a quote give n backslashes and the quote groups,
// 2n+1 give n backslashes and a literal quote, other backslashes are literal; inside
// quotes "" gives a literal quote and ends the quoted part. The program name (the first
// word) knows no backslash rule: a quote opens it and the next quote ends it.
// An empty line gives no words; a line starting with a blank gives an empty program name.
std::vector<Text> SplitCommandLine(const Text& line);

}  // namespace quorvex
