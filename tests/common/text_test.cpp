#include "common/text.h"

#include <gtest/gtest.h>

#include "common/numbers.h"

namespace quorvex {
namespace {

TEST(Utf8, DecodesAsciiMultibyteAndAstralCharacters) {
  EXPECT_EQ(FromUtf8("abc"), u"abc");
  EXPECT_EQ(FromUtf8("\xC3\xA9\xE2\x82\xAC"), u"\u00E9\u20AC");
  const Text astral = FromUtf8("\xF0\x9F\x8E\xAE");  // U+1F3AE
  ASSERT_EQ(astral.size(), 2u);
  EXPECT_EQ(astral[0], 0xD83C);
  EXPECT_EQ(astral[1], 0xDFAE);
  EXPECT_EQ(ToUtf8(astral), "\xF0\x9F\x8E\xAE");
}

TEST(Utf8, InvalidBytesBecomeReplacementCharacters) {
  EXPECT_EQ(FromUtf8("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(FromUtf8("\xC3"), u"\uFFFD");                  // truncated at the end
  EXPECT_EQ(FromUtf8("\xE2\x82" "x"), u"\uFFFDx");         // truncated in the middle
  EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");        // overlong "/"
  EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
  EXPECT_EQ(FromUtf8("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // above U+10FFFF
}

TEST(Utf8, UnpairedSurrogateEncodesAsReplacement) {
  EXPECT_EQ(ToUtf8(Text(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(InStr, FindsOneBasedPositionsFromAStart) {
  const Text hay = u"<a>1</a><a>2</a>";
  EXPECT_EQ(InStr(1, hay, u"<a>"), 1);
  EXPECT_EQ(InStr(2, hay, u"<a>"), 9);
  EXPECT_EQ(InStr(10, hay, u"<a>"), 0);
  EXPECT_EQ(InStr(1, hay, u"<b>"), 0);
  EXPECT_EQ(InStr(100, hay, u"<a>"), 0);
  EXPECT_THROW(InStr(0, hay, u"<a>"), ConversionError);
}

TEST(InStr, APositionBeyond32767IsAnOverflow) {
  Text hay(32766, u'x');
  hay += u"ab";  // "a" at 32,767 still fits, "b" at 32,768 does not
  EXPECT_EQ(InStr(1, hay, u"a"), 32767);
  EXPECT_THROW(InStr(1, hay, u"b"), OverflowError);
}

TEST(Cuts, NeverSplitASurrogatePair) {
  const Text text = u"ab\U0001F3AEc";  // a, b, high, low, c
  EXPECT_EQ(CutUnits(text, 3), u"ab");
  EXPECT_EQ(CutUnits(text, 4), u"ab\U0001F3AE");
  EXPECT_EQ(CutUnits(text, 10), text);
  EXPECT_EQ(LastUnits(text, 2), u"c");
  EXPECT_EQ(LastUnits(text, 3), u"\U0001F3AEc");
}

TEST(ReplaceAll, ReplacesEveryOccurrenceLeftToRight) {
  EXPECT_EQ(ReplaceAll(u"a,b,,c", u",", u"   "), u"a   b      c");
  EXPECT_EQ(ReplaceAll(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_EQ(ReplaceAll(u"abc", u"", u"x"), u"abc");
}

}  // namespace
}  // namespace quorvex
