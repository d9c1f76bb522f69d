#include "watch/wildcard.h"

namespace quorvex {

namespace {

bool IsWildcard(char16_t unit) { return unit == u'*' || unit == u'?'; }

// What any match needs, checked before the walk since most names fail it: a literal first
// or last pattern unit is the name's first or last unit (a whole character always matches
// a whole character), and each pattern character other than "*" takes at least one unit.
bool MayMatch(std::u16string_view pattern, std::u16string_view name) {
  if (pattern.empty()) return name.empty();
  if (!IsWildcard(pattern.front()) && (name.empty() || name.front() != pattern.front())) return false;
  if (!IsWildcard(pattern.back()) && (name.empty() || name.back() != pattern.back())) return false;
  size_t unitsTaken = 0;
  for (size_t i = 0; i < pattern.size(); i += CharacterUnits(pattern, i)) unitsTaken += pattern[i] != u'*';
  return unitsTaken <= name.size();
}

bool IsSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

// Greedy, remembering only the latest "*": when the rest fails, that star takes one more
// character of the name and the rest is tried again from there. An earlier star never needs
// to take more, since the latest one can take anything it would have, so each star restart
// costs at most one pass over the pattern: O(pattern × name), never exponential.
bool Walk(std::u16string_view pattern, std::u16string_view name, size_t& visited) {
  constexpr size_t kNoStar = std::u16string_view::npos;
  size_t p = 0, n = 0;
  size_t afterStar = kNoStar, starTakenUpTo = 0;
  // The star takes every character up to the next that can match the literal after it (a
  // unit outside the surrogates is always a whole character); none left means no match.
  const auto skipToNextCandidate = [&] {
    if (p == pattern.size() || IsWildcard(pattern[p]) || IsSurrogate(pattern[p])) return true;
    n = starTakenUpTo = name.find(pattern[p], n);
    return n != std::u16string_view::npos;
  };
  while (n < name.size()) {
    ++visited;
    if (p < pattern.size() && pattern[p] == u'*') {
      afterStar = ++p;
      starTakenUpTo = n;
      if (!skipToNextCandidate()) return false;
      continue;
    }
    const size_t nameUnits = CharacterUnits(name, n);
    if (p < pattern.size()) {
      const size_t patternUnits = CharacterUnits(pattern, p);
      const bool sameCharacter = patternUnits == nameUnits && pattern[p] == name[n] &&
                                 (patternUnits == 1 || pattern[p + 1] == name[n + 1]);
      if (sameCharacter || pattern[p] == u'?') {
        p += patternUnits;
        n += nameUnits;
        continue;
      }
    }
    if (afterStar == kNoStar) return false;
    starTakenUpTo += CharacterUnits(name, starTakenUpTo);
    n = starTakenUpTo;
    p = afterStar;
    if (!skipToNextCandidate()) return false;
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

}  // namespace

bool FoldedWildcardMatch(std::u16string_view foldedPattern, std::u16string_view foldedName, size_t* steps) {
  size_t visited = 0;
  const bool matches = MayMatch(foldedPattern, foldedName) && Walk(foldedPattern, foldedName, visited);
  if (steps != nullptr) *steps = visited;
  return matches;
}

bool WildcardMatch(std::u16string_view pattern, std::u16string_view name, size_t* steps) {
  return FoldedWildcardMatch(FoldAsciiCase(pattern), FoldAsciiCase(name), steps);
}

}  // namespace quorvex
