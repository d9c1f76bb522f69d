#include "icon_number/number_paint.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvex {
namespace {

// A 2x2 picture: pixel 0 plate and digit, 1 plate only, 2 bare, 3 half-covered plate.
NumberPicture TwoByTwo() { return {2, {255, 255, 0, 128}, {255, 0, 0, 0}}; }

TEST(PaintNumber, PaintsThePlateThenTheDigitsOverTheIconAtTheirCoverage) {
  // Over an opaque red icon.
  std::vector<uint32_t> red(4, 0xFFFF0000);
  PaintNumber(red, TwoByTwo());
  EXPECT_EQ(red[0], kDigitsArgb);
  EXPECT_EQ(red[1], kPlateArgb);
  EXPECT_EQ(red[2], 0xFFFF0000u);
  // Half the plate's near black over red: about the mean of each channel, still opaque.
  EXPECT_EQ(red[3], 0xFF890A0Au);

  // Over a transparent corner the plate is as opaque as its coverage, in its own colour.
  std::vector<uint32_t> clear(4, 0x00000000);
  PaintNumber(clear, TwoByTwo());
  EXPECT_EQ(clear[0], kDigitsArgb);
  EXPECT_EQ(clear[1], kPlateArgb);
  EXPECT_EQ(clear[2], 0u);
  EXPECT_EQ(clear[3], 0x80141414u);

  // Over a half-transparent white pixel, half the plate: alpha 128 + 128 * 127 / 255 = 191,
  // each channel (20 * 128 + 255 * 63) / 191 = 98.
  std::vector<uint32_t> halfWhite(4, 0x80FFFFFF);
  PaintNumber(halfWhite, TwoByTwo());
  EXPECT_EQ(halfWhite[3], 0xBF626262u);
}

TEST(PaintNumber, LeavesPixelsOfAnotherSizeAlone) {
  std::vector<uint32_t> three(3, 0xFFFF0000), five(5, 0xFFFF0000);
  PaintNumber(three, TwoByTwo());
  PaintNumber(five, TwoByTwo());
  std::vector<uint32_t> four(4, 0xFFFF0000);
  PaintNumber(four, NumberPicture{2, {255, 255, 255, 255}, {255, 255, 255}});  // digits cut short
  EXPECT_EQ(four, std::vector<uint32_t>(4, 0xFFFF0000));
  EXPECT_EQ(three, std::vector<uint32_t>(3, 0xFFFF0000));
  EXPECT_EQ(five, std::vector<uint32_t>(5, 0xFFFF0000));
}

TEST(PaintNumber, DrawsWhatDrawNumberLaysOut) {
  const int size = 16;
  const NumberPicture picture = DrawNumber(42, size);
  std::vector<uint32_t> icon(size * size, 0xFF008000);
  PaintNumber(icon, picture);
  for (size_t i = 0; i < icon.size(); ++i) {
    const uint32_t wanted = picture.digits[i] ? kDigitsArgb : picture.plate[i] ? kPlateArgb : 0xFF008000;
    ASSERT_EQ(icon[i], wanted) << "pixel " << i;
  }
}

}  // namespace
}  // namespace quorvex
