// The watch patterns: wildcards, letter case, characters beyond ASCII, and the cost bound.
#include "watch/wildcard.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "common/text.h"

namespace quorvex {
namespace {

// A character beyond U+FFFF is one character to "?" and compares whole, never half a pair.
TEST(WildcardMatch, MatchesTheWholeNameWithStarsQuestionMarksAndAsciiCaseFolded) {
  const Text smile = u"\U0001F600", grin = u"\U0001F601";
  const std::tuple<Text, Text, bool> cases[] = {
      {u"bob", u"bob", true},         {u"bob", u"BoB", true},           {u"BOB", u"bob", true},
      {u"bob", u"bobby", false},      {u"bob", u"xbob", false},         {u"bob", u"bo", false},
      {u"bob*", u"bob", true},        {u"bob*", u"bobby", true},        {u"*bob", u"xXbOb", true},
      {u"*bob*", u"[t]bob[t]", true}, {u"*bob*", u"bo b", false},       {u"*", u"", true},
      {u"*", u"anything", true},      {u"**", u"", true},               {u"", u"", true},
      {u"", u"a", false},             {u"?", u"", false},               {u"?", u"a", true},
      {u"?", u"ab", false},           {u"b?b", u"bOb", true},           {u"b?b", u"bb", false},
      {u"?*?", u"ab", true},          {u"?*?", u"a", false},            {u"a*b*c", u"aXbYc", true},
      {u"a*b*c", u"aXcYb", false},    {u"*ab*", u"xaxb", false},        {u"*ab*", u"xaxab", true},    {u"a*b", u"abab", true},          {u"a*ab", u"aab", true},
      {u"*ab*ab", u"xabyab", true},   {u"*ab*ab", u"xabyba", false},    {u"[clan]*", u"[CLAN]me", true},
      {u"@", u"`", false},            {u"[", u"{", false},              {u"_", u"\u007f", false},  // folding is A-Z only
      {u"\u00e9", u"\u00c9", false},  {u"\u00e9", u"\u00e9", true},     {u"\u0416*", u"\u0416ora", true},
      {u"*?", u"x", true},            {u"\\", u"\\", true},             {u"a?c", u"a*c", true},
      {u"a\\*", u"a\\xyz", true},  // a backslash escapes nothing
      {u"?", smile, true},            {u"??", smile, false},            {u"a?b", u"a" + smile + u"b", true},
      {smile, smile, true},           {smile, grin, false},             {u"*" + smile, u"xx" + smile, true},
      {u"?" + smile.substr(1), smile, false},  // "?" never takes the high half alone
      {smile.substr(0, 1) + u"*", smile, false}, {u"*?", smile.substr(1), true},  // a lone surrogate is a character
  };
  for (const auto& [pattern, name, matches] : cases)
    EXPECT_EQ(WildcardMatch(pattern, name), matches) << ToUtf8(pattern) << " / " << ToUtf8(name);
}

// The patterns that make a backtracking matcher take exponential time are counted in steps,
// not timed: at most one pass over the pattern for each character the latest star takes.
// Each starts and ends with a wildcard, so no quick look at the ends settles it.
TEST(WildcardMatch, VisitsAtMostPatternTimesNamePositions) {
  const Text longRun(5000, u'a');
  const std::tuple<Text, Text, bool> cases[] = {
      {u"*a*a*a*a*b*", longRun, false},
      {u"*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b?", longRun, false},
      {u"*a*a*a*a*b*", longRun + u"b", true},
      {u"*aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab*", longRun, false},
      {u"?*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*?", longRun, true},
  };
  for (const auto& [pattern, name, matches] : cases) {
    size_t steps = 0;
    EXPECT_EQ(WildcardMatch(pattern, name, &steps), matches) << ToUtf8(pattern);
    EXPECT_LE(steps, (pattern.size() + 1) * (name.size() + 1)) << ToUtf8(pattern);
  }
}

TEST(CountCharacters, CountsASurrogatePairOnceAndALoneSurrogateAsOne) {
  EXPECT_EQ(CountCharacters(u""), 0u);
  EXPECT_EQ(CountCharacters(u"ab\u00e9"), 3u);
  EXPECT_EQ(CountCharacters(u"a\U0001F600b"), 3u);
  EXPECT_EQ(CountCharacters(Text(u"\U0001F600").substr(0, 1) + u"x"), 2u);
  EXPECT_EQ(CountCharacters(Text(u"\U0001F600").substr(1) + Text(u"\U0001F600").substr(0, 1)), 2u);
}

}  // namespace
}  // namespace quorvex
