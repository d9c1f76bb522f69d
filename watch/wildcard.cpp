#include "watch/wildcard.h"

#include "common/text.h"

namespace quorvex {

namespace {

char16_t FoldAscii(char16_t unit) { return unit >= u'A' && unit <= u'Z' ? char16_t(unit - u'A' + u'a') : unit; }

// Whether the `length` units at `p` of the pattern and at `n` of the name are the same
// character; surrogates are no letters, so folding leaves them alone.
bool SameCharacter(std::u16string_view pattern, size_t p, std::u16string_view name, size_t n, size_t length) {
  for (size_t k = 0; k < length; ++k) {
    if (FoldAscii(pattern[p + k]) != FoldAscii(name[n + k])) return false;
  }
  return true;
}

}  // namespace

// Greedy, remembering only the latest "*": when the rest fails, that star takes one more
// character of the name and the rest is tried again from there. An earlier star never needs
// to take more, since the latest one can take anything it would have, so each star restart
// costs at most one pass over the pattern: O(pattern × name), never exponential.
bool WildcardMatch(std::u16string_view pattern, std::u16string_view name, size_t* steps) {
  constexpr size_t kNoStar = std::u16string_view::npos;
  size_t p = 0, n = 0;
  size_t afterStar = kNoStar, starTakenUpTo = 0;
  size_t visited = 0;
  while (n < name.size()) {
    ++visited;
    if (p < pattern.size() && pattern[p] == u'*') {
      afterStar = ++p;
      starTakenUpTo = n;
      continue;
    }
    const size_t nameUnits = CharacterUnits(name, n);
    if (p < pattern.size()) {
      const size_t patternUnits = CharacterUnits(pattern, p);
      const bool anyOne = pattern[p] == u'?';
      if (anyOne || (patternUnits == nameUnits && SameCharacter(pattern, p, name, n, nameUnits))) {
        p += patternUnits;
        n += nameUnits;
        continue;
      }
    }
    if (afterStar == kNoStar) break;
    starTakenUpTo += CharacterUnits(name, starTakenUpTo);
    n = starTakenUpTo;
    p = afterStar;
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  if (steps != nullptr) *steps = visited;
  return n == name.size() && p == pattern.size();
}

}  // namespace quorvex
