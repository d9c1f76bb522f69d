// The patterns of watch= lines: "*" any run, "?" one character, ASCII letters in either case.
#pragma once
#include <cstddef>
#include <string_view>

#include "common/text.h"

namespace quorvex {

// The longest pattern Quorvex.ini may give, in characters (a surrogate pair is one).
constexpr size_t kMaxPatternCharacters = 64;

// Whether `pattern` matches the whole of `name`: "*" matches any run of characters (also
// none), "?" exactly one character, an ASCII letter the same letter in either case, every
// other character only itself. A surrogate pair is one character on both sides.
// When `steps` is given it receives how many positions the match visited; it never exceeds
// (pattern units + 1) × (name units + 1), whatever the pattern.
bool WildcardMatch(std::u16string_view pattern, std::u16string_view name, size_t* steps = nullptr);

// WildcardMatch of a pattern and a name both already folded by FoldAsciiCase
// (common/text.h): one fold of a name serves every pattern.
bool FoldedWildcardMatch(std::u16string_view foldedPattern, std::u16string_view foldedName, size_t* steps = nullptr);

}  // namespace quorvex
