// Decimal texts to checked 16- and 32-bit numbers, and the two number formats.
#include "common/numbers.h"

#include <gtest/gtest.h>

#include <optional>

#include "common/steps.h"

namespace quorvex {
namespace {

TEST(ToInt16, ReadsBlanksSignsAndFractionsHalfToEvenWithinItsRange) {
  const std::pair<Text, std::optional<int16_t>> cases[] = {
      {u" 27 ", 27}, {u"\t5\t", 5}, {u"32767", 32767}, {u"-32768", -32768}, {u"+5", 5}, {u"007", 7},
      {u"2.5", 2}, {u"3.5", 4}, {u"-2.5", -2}, {u"2.51", 3}, {u"32767.4", 32767}, {u"1.", 1}, {u".5", 0},
      {u"32768", {}}, {u"-32769", {}}, {u"32767.5", {}}, {u"99999999999999999999", {}}, {u"", {}}, {u"   ", {}},
      {u"abc", {}}, {u"12a", {}}, {u"1 2", {}}, {u"-", {}}, {u".", {}}, {u"1e3", {}}, {u"0x10", {}}, {u"1.2.3", {}},
  };
  for (const auto& [text, value] : cases) {
    if (value) {
      EXPECT_EQ(ToInt16(text), *value) << ToUtf8(text);
    } else {
      EXPECT_THROW(ToInt16(text), ConversionError) << ToUtf8(text);
    }
  }
  EXPECT_EQ(ToInt32(u"2147483647"), 2147483647);
  EXPECT_THROW(ToInt32(u"2147483648"), ConversionError);
  EXPECT_EQ(ToPort(u"65535"), 65535);
  EXPECT_EQ(ToPort(u"0"), 0);
  EXPECT_THROW(ToPort(u"65536"), ConversionError);
  EXPECT_THROW(ToPort(u"-1"), ConversionError);
}

TEST(Numbers, SumsThrowInsteadOfWrappingAndFormatsKeepTheSignPlace) {
  EXPECT_EQ(AddInt16(32766, 1), 32767);
  EXPECT_THROW(AddInt16(32767, 1), OverflowError);
  EXPECT_THROW(AddInt16(-32768, -1), OverflowError);
  for (const auto& [text, value] :
       {std::pair<Text, double>{u"1", 1}, {u" 1abc", 1}, {u"1.0", 1}, {u"10", 10}, {u"-2.5x", -2.5}, {u"", 0}, {u"yes", 0}})
    EXPECT_EQ(LeadingNumberValue(text), value) << ToUtf8(text);
  EXPECT_EQ(FormatPlain(-3), u"-3");
  EXPECT_EQ(FormatSignedBlank(16), u" 16");
  EXPECT_EQ(FormatSignedBlank(0), u" 0");
  EXPECT_EQ(FormatSignedBlank(-3), u"-3");
}

TEST(RunStep, SwallowsErrorsButNotAnAbortedHandler) {
  int after = 0;
  EXPECT_FALSE(RunStep([] { ToInt16(u"x"); }));
  EXPECT_TRUE(RunStep([&] { ++after; }));
  EXPECT_EQ(after, 1);
  EXPECT_THROW(RunStep([] { throw HandlerAborted{}; }), HandlerAborted);
}

}  // namespace
}  // namespace quorvex
