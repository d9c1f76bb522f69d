// The value of an alert= line: a player count 1 to 999, blanks, a server-name pattern.
#include "watch/alert_rule.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace quorvex {
namespace {

TEST(ParseAlertRule, TakesACountFrom1To999BlanksAndAPatternOfAtMost64Characters) {
  const std::string badCount = "does not start with a player count from 1 to 999 and a blank";
  const std::string noPattern = "has no server-name pattern after its player count";
  const std::string tooLong = "has a pattern over 64 characters";
  Text smiles;
  for (int i = 0; i < 64; ++i) smiles += u"\U0001F600";
  const std::tuple<Text, std::optional<AlertRule>, std::string> cases[] = {
      {u"12 Our *server*", AlertRule{12, u"Our *server*"}, ""},
      {u"1\t \tx", AlertRule{1, u"x"}, ""},
      {u"999 ?", AlertRule{999, u"?"}, ""},
      {u"007 a b", AlertRule{7, u"a b"}, ""},  // leading zeros; blanks inside the pattern stay
      {u"64 " + smiles, AlertRule{64, smiles}, ""},
      {u"1000 x", std::nullopt, badCount},
      {u"0000000000000000000001000 x", std::nullopt, badCount},  // no wrap-around
      {u"0 x", std::nullopt, badCount},
      {u"-3 x", std::nullopt, badCount},
      {u"+3 x", std::nullopt, badCount},
      {u"3x", std::nullopt, badCount},
      {u"3.5 x", std::nullopt, badCount},
      {u"x 3", std::nullopt, badCount},
      {u"", std::nullopt, badCount},
      {u"12", std::nullopt, noPattern},
      {u"64 " + smiles + u"x", std::nullopt, tooLong},
  };
  for (const auto& [value, rule, problem] : cases) {
    std::string said = "untouched";
    EXPECT_EQ(ParseAlertRule(value, said), rule) << ToUtf8(value);
    EXPECT_EQ(said, rule ? "untouched" : problem) << ToUtf8(value);
  }
}

}  // namespace
}  // namespace quorvex
