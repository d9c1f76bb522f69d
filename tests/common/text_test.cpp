// UTF-8 in and out, the 16-bit string search, the cuts that keep surrogate pairs whole, the
// ASCII case fold, and decimal texts to checked 16- and 32-bit numbers.
#include "common/text.h"

#include <gtest/gtest.h>

#include <optional>

#include "common/numbers.h"

namespace quorvex {
namespace {

TEST(Utf8, DecodesEverySequenceLengthAtItsBoundsAndReplacesWhatIsInvalid) {
  const std::pair<std::string, Text> cases[] = {
      // Every length at its bounds, E0's and ED's second bytes among them; EF leads three bytes.
      {"\xC2\x80\xC2\xA1\xDF\xBF", u"\u0080\u00A1\u07FF"}, {"\xE0\xA0\x80\xED\x9F\xBF", u"\u0800\uD7FF"},
      {"\xEF\xBF\xBD\xEF\xBF\xBF", u"\uFFFD\uFFFF"}, {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", u"\U00010000\U0010FFFF"},
      // Bytes that start nothing, a stray continuation, sequences cut at the end and in the middle.
      {"a\xFF" "b\x80", u"a\uFFFDb\uFFFD"}, {"\xC3\xA9\x80", u"\u00E9\uFFFD"}, {"\xC3", u"\uFFFD"},
      {"\xE2\x82" "x", u"\uFFFDx"},
      // Overlong forms, an encoded surrogate, a code point above U+10FFFF, F5 as a lead.
      {"\xC0\xAF\xC1\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, {"\xE0\x9F\xBF", u"\uFFFD\uFFFD\uFFFD"},
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}, {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\xF5\x80", u"\uFFFD\uFFFD"},
  };
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(FromUtf8(bytes), text) << bytes;
    if (text.find(u'\uFFFD') == Text::npos || bytes.rfind("\xEF\xBF\xBD", 0) == 0) {
      EXPECT_EQ(ToUtf8(text), bytes) << "round trip of " << bytes;
    }
  }
  // An unpaired surrogate cannot be written as UTF-8.
  EXPECT_EQ(ToUtf8(Text(1, char16_t(0xD800)) + u"x" + Text(1, char16_t(0xDC00))), "\xEF\xBF\xBDx\xEF\xBF\xBD");
  // A stray high byte once became a negative unit, and so a surrogate.
  EXPECT_EQ(FromAscii("a\xE9\xFF"), Text(u"a\u00E9\u00FF"));
}

TEST(Text, SearchesInSixteenBitsAndCutsNeverSplitASurrogatePair) {
  const Text hay = u"<a>1</a><a>2</a>";
  EXPECT_EQ(InStr(2, hay, u"<a>"), 9);
  EXPECT_EQ(InStr(17, hay, u""), 17);  // an empty needle matches at the start, even past the end
  EXPECT_EQ(InStr(18, hay, u""), 0);
  EXPECT_THROW(InStr(0, hay, u"<a>"), ConversionError);
  const Text far = Text(32766, u'x') + u"ab";  // "a" at 32,767 still fits, "b" at 32,768 does not
  EXPECT_EQ(InStr(1, far, u"a"), 32767);
  EXPECT_THROW(InStr(1, far, u"b"), OverflowError);
  const Text text = u"ab\U0001F3AEc";  // a, b, high, low, c
  EXPECT_EQ(CutUnits(text, 3), u"ab");
  EXPECT_EQ(CutUnits(text, 4), u"ab\U0001F3AE");
  EXPECT_EQ(CutUnits(text, 0), u"");
  EXPECT_EQ(LastUnits(text, 2), u"c");
  EXPECT_EQ(LastUnits(text, 3), u"\U0001F3AEc");
  EXPECT_EQ(ReplaceAll(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_EQ(ReplaceAll(u"abc", u"", u"x"), u"abc");
}

TEST(Text, FoldsTheAsciiLettersAloneToLowerCase) {
  // The neighbours of both letter ranges, letters beyond ASCII (Latin-1, fullwidth, a
  // surrogate pair) and a NUL stay as they are.
  const Text text = u"@AMZ[`amz{\u00C9\uFF21\U0001D400" + Text(1, u'\0') + u"Bob";
  const Text folded = u"@amz[`amz{\u00C9\uFF21\U0001D400" + Text(1, u'\0') + u"bob";
  EXPECT_EQ(FoldAsciiCase(text), folded);
  Text reused = u"a longer text left from an earlier name";
  FoldAsciiCaseInto(u"QUORVEX", reused);
  EXPECT_EQ(reused, u"quorvex");
  FoldAsciiCaseInto(u"", reused);
  EXPECT_EQ(reused, u"");
}

TEST(Numbers, ReadHalfToEvenAndSumWithinTheirRangeOrThrow) {
  const std::pair<Text, std::optional<int16_t>> cases[] = {
      {u" 27 ", 27}, {u"\t5\t", 5}, {u"32767", 32767}, {u"-32768", -32768}, {u"+5", 5}, {u"009", 9},
      {u"2.5", 2}, {u"3.5", 4}, {u"-2.5", -2}, {u"2.51", 3}, {u"32767.4", 32767}, {u"1.", 1}, {u".5", 0},
      {u"0." + Text(400, u'0') + u"1", 0},  // too small for a double: the nearest value
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
  EXPECT_EQ(LeadingNumberValue(u" -2.5.1x"), -2.5);  // more cases with the dedicated flag
  EXPECT_EQ(AddInt16(32766, 1), 32767);
  EXPECT_EQ(AddInt16(-32767, -1), -32768);
  EXPECT_THROW(AddInt16(32767, 1), OverflowError);
  EXPECT_THROW(AddInt16(-32768, -1), OverflowError);
}

}  // namespace
}  // namespace quorvex
