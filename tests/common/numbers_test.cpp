#include "common/numbers.h"

#include <gtest/gtest.h>

#include "common/steps.h"

namespace quorvex {
namespace {

TEST(ToInt16, AcceptsBlanksSignsAndTheEdges) {
  EXPECT_EQ(ToInt16(u" 27 "), 27);
  EXPECT_EQ(ToInt16(u"32767"), 32767);
  EXPECT_EQ(ToInt16(u"-32768"), -32768);
  EXPECT_EQ(ToInt16(u"+5"), 5);
  EXPECT_EQ(ToInt16(u"007"), 7);
  EXPECT_THROW(ToInt16(u"32768"), ConversionError);
  EXPECT_THROW(ToInt16(u"-32769"), ConversionError);
  EXPECT_THROW(ToInt16(u"99999999999999999999"), ConversionError);
  // Too small for a double: the nearest value, 0, not an exception of another kind.
  EXPECT_EQ(ToInt16(u"0." + Text(400, u'0') + u"1"), 0);
}

TEST(ToInt16, RejectsTextThatIsNoNumber) {
  for (const Text& bad : {Text(u""), Text(u"   "), Text(u"abc"), Text(u"12a"), Text(u"1 2"), Text(u"-"),
                          Text(u"."), Text(u"1e3"), Text(u"0x10")})
    EXPECT_THROW(ToInt16(bad), ConversionError) << ToUtf8(bad);
}

TEST(ToInt16, FractionsRoundHalfToEven) {
  EXPECT_EQ(ToInt16(u"2.5"), 2);
  EXPECT_EQ(ToInt16(u"3.5"), 4);
  EXPECT_EQ(ToInt16(u"-2.5"), -2);
  EXPECT_EQ(ToInt16(u"2.51"), 3);
  EXPECT_EQ(ToInt16(u"32767.4"), 32767);
  EXPECT_THROW(ToInt16(u"32767.5"), ConversionError);
}

TEST(ToInt32AndPort, HaveTheirOwnRanges) {
  EXPECT_EQ(ToInt32(u"2147483647"), 2147483647);
  EXPECT_THROW(ToInt32(u"2147483648"), ConversionError);
  EXPECT_EQ(ToPort(u"65535"), 65535);
  EXPECT_EQ(ToPort(u"0"), 0);
  EXPECT_THROW(ToPort(u"65536"), ConversionError);
  EXPECT_THROW(ToPort(u"-1"), ConversionError);
}

TEST(AddInt16, ThrowsInsteadOfWrapping) {
  EXPECT_EQ(AddInt16(32766, 1), 32767);
  EXPECT_THROW(AddInt16(32767, 1), OverflowError);
  EXPECT_THROW(AddInt16(-32768, -1), OverflowError);
}

TEST(LeadingNumberValue, ReadsTheNumberATextStartsWith) {
  EXPECT_EQ(LeadingNumberValue(u"1"), 1.0);
  EXPECT_EQ(LeadingNumberValue(u" 1abc"), 1.0);
  EXPECT_EQ(LeadingNumberValue(u"1.0"), 1.0);
  EXPECT_EQ(LeadingNumberValue(u"10"), 10.0);
  EXPECT_EQ(LeadingNumberValue(u""), 0.0);
  EXPECT_EQ(LeadingNumberValue(u"yes"), 0.0);
}

TEST(Formats, PlainAndSignedBlank) {
  EXPECT_EQ(FormatPlain(16), u"16");
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
