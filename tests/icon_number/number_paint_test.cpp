#include "icon_number/number_paint.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace quorvex {
namespace {

// A 2x2 picture: pixel 0 plate and digit, 1 plate only, 2 bare, 3 half-covered plate.
NumberPicture TwoByTwo() { return {2, {255, 255, 0, 128}, {255, 0, 0, 0}}; }

// Over an opaque red icon half the plate's near black is about the mean of each channel, still
// opaque; over a transparent corner the plate is as opaque as its coverage, in its own colour;
// over a half-transparent white pixel, half the plate: alpha 128 + 128 * 127 / 255 = 191, each
// channel (20 * 128 + 255 * 63) / 191 = 98.
TEST(PaintNumber, PaintsThePlateThenTheDigitsOverTheIconAtTheirCoverage) {
  const std::pair<uint32_t, std::vector<uint32_t>> cases[] = {
      {0xFFFF0000, {kDigitsArgb, kPlateArgb, 0xFFFF0000, 0xFF890A0A}},
      {0x00000000, {kDigitsArgb, kPlateArgb, 0x00000000, 0x80141414}},
      {0x80FFFFFF, {kDigitsArgb, kPlateArgb, 0x80FFFFFF, 0xBF626262}},
  };
  for (const auto& [background, painted] : cases) {
    std::vector<uint32_t> icon(4, background);
    PaintNumber(icon, TwoByTwo());
    EXPECT_EQ(icon, painted) << std::hex << background;
  }
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

}  // namespace
}  // namespace quorvex
