#include "icon_number/number_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace quorvex {
namespace {

// The sizes the trays ask for: Windows at 100 % to 200 %, and the Linux panels' pixmaps.
const std::vector<int> kTraySizes = {16, 20, 22, 24, 32, 48, 64, 128};

struct Box {
  int left, top, right, bottom;  // inclusive; left > right when empty
  bool Empty() const { return left > right; }
};

Box InkedBox(const std::vector<uint8_t>& coverage, int size) {
  Box box{size, size, -1, -1};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (!coverage[y * size + x]) continue;
      box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
    }
  }
  return box;
}

// The inked columns grouped into runs with a blank column between: one run a glyph.
std::vector<std::pair<int, int>> GlyphColumns(const NumberPicture& picture) {
  std::vector<std::pair<int, int>> runs;
  for (int x = 0; x < picture.size; ++x) {
    bool inked = false;
    for (int y = 0; y < picture.size; ++y) inked = inked || picture.digits[y * picture.size + x];
    if (!inked) continue;
    if (!runs.empty() && runs.back().second == x - 1) {
      runs.back().second = x;
    } else {
      runs.push_back({x, x});
    }
  }
  return runs;
}

// The glyph in columns [left, right] as text, one row a line, to compare shapes.
std::string GlyphShape(const NumberPicture& picture, int left, int right) {
  std::string shape;
  for (int y = 0; y < picture.size; ++y) {
    std::string row;
    for (int x = left; x <= right; ++x) row += picture.digits[y * picture.size + x] ? '#' : '.';
    if (row.find('#') != std::string::npos) shape += row + "\n";
  }
  return shape;
}

TEST(NumberText, ShowsUpToTwoDigitsThenNinetyNinePlus) {
  EXPECT_EQ(NumberText(0), "0");
  EXPECT_EQ(NumberText(7), "7");
  EXPECT_EQ(NumberText(99), "99");
  EXPECT_EQ(NumberText(100), "99+");
  EXPECT_EQ(NumberText(32767), "99+");
  EXPECT_EQ(NumberText(-3), "0");
}

TEST(DrawNumber, EveryDigitHasItsOwnShapeAtEverySize) {
  for (int size : kTraySizes) {
    std::set<std::string> shapes;
    for (int digit = 0; digit <= 9; ++digit) {
      const NumberPicture picture = DrawNumber(digit, size);
      const auto runs = GlyphColumns(picture);
      ASSERT_EQ(runs.size(), 1u) << "digit " << digit << " at " << size;
      shapes.insert(GlyphShape(picture, runs[0].first, runs[0].second));
    }
    EXPECT_EQ(shapes.size(), 10u) << "at " << size;
  }
}

TEST(DrawNumber, DigitsLieOnThePlateInsideTheSquareInTheBottomRightCorner) {
  for (int size : kTraySizes) {
    for (int number : {0, 1, 8, 10, 47, 88, 99, 100, 5000}) {
      const NumberPicture picture = DrawNumber(number, size);
      ASSERT_EQ(picture.size, size);
      ASSERT_EQ(picture.plate.size(), static_cast<size_t>(size * size));
      ASSERT_EQ(picture.digits.size(), static_cast<size_t>(size * size));
      const Box plate = InkedBox(picture.plate, size), digits = InkedBox(picture.digits, size);
      ASSERT_FALSE(digits.Empty()) << number << " at " << size;
      EXPECT_EQ(plate.right, size - 1);
      EXPECT_EQ(plate.bottom, size - 1);
      // A margin of plate all round the digits.
      EXPECT_LT(plate.left, digits.left);
      EXPECT_LT(plate.top, digits.top);
      EXPECT_GT(plate.right, digits.right);
      EXPECT_GT(plate.bottom, digits.bottom);
      // Most of the designed icon stays visible: the plate is at most 60 % of its height.
      EXPECT_LE((plate.bottom - plate.top + 1) * 10, size * 6) << number << " at " << size;
      for (size_t i = 0; i < picture.digits.size(); ++i) {
        if (picture.digits[i]) {
          ASSERT_EQ(picture.plate[i], 255) << "a digit pixel off the plate";
        }
      }
    }
  }
}

TEST(DrawNumber, TwoDigitsNeverTouch) {
  for (int size : kTraySizes) {
    for (int number = 10; number <= 99; ++number) {
      const auto runs = GlyphColumns(DrawNumber(number, size));
      ASSERT_EQ(runs.size(), 2u) << number << " at " << size;
    }
  }
}

TEST(DrawNumber, AboveNinetyNineShowsNinetyNineAndAPlusEvenAt16) {
  for (int size : kTraySizes) {
    const NumberPicture over = DrawNumber(100, size), ninetyNine = DrawNumber(99, size);
    const auto runs = GlyphColumns(over), nineRuns = GlyphColumns(ninetyNine);
    ASSERT_EQ(runs.size(), 3u) << "at " << size;
    EXPECT_EQ(GlyphShape(over, runs[0].first, runs[0].second),
              GlyphShape(ninetyNine, nineRuns[0].first, nineRuns[0].second));
    EXPECT_EQ(GlyphShape(over, runs[1].first, runs[1].second),
              GlyphShape(ninetyNine, nineRuns[0].first, nineRuns[0].second));
    const std::string plus = GlyphShape(over, runs[2].first, runs[2].second);
    const Box nines = InkedBox(ninetyNine.digits, size);
    const int unit = (nines.bottom - nines.top + 1) / 7;
    const std::string arm = std::string(unit, '.') + std::string(unit, '#') + std::string(unit, '.') + "\n";
    const std::string bar = std::string(3 * unit, '#') + "\n";
    std::string expected;
    for (const std::string* row : {&arm, &bar, &arm}) {
      for (int i = 0; i < unit; ++i) expected += *row;
    }
    EXPECT_EQ(plus, expected) << "at " << size;
    EXPECT_EQ(DrawNumber(12345, size).digits, over.digits);
  }
}

TEST(DrawNumber, GrowsWithTheIconInWholePixels) {
  // The digit height: 7 pixels a unit, one unit up to 29 px, then one more every 15 px.
  const std::vector<std::pair<int, int>> heights = {{16, 7}, {24, 7}, {29, 7}, {30, 14}, {32, 14}, {48, 21}, {64, 28}};
  for (auto [size, height] : heights) {
    const Box digits = InkedBox(DrawNumber(8, size).digits, size);
    EXPECT_EQ(digits.bottom - digits.top + 1, height) << "at " << size;
  }
  for (int size : kTraySizes) {
    const NumberPicture picture = DrawNumber(42, size);
    for (uint8_t value : picture.digits) ASSERT_TRUE(value == 0 || value == 255);
  }
}

TEST(DrawNumber, AnIconTooSmallForTheTextGetsNone) {
  const NumberPicture tiny = DrawNumber(100, 14);
  EXPECT_EQ(InkedBox(tiny.plate, 14).Empty(), true);
  EXPECT_EQ(InkedBox(tiny.digits, 14).Empty(), true);
  EXPECT_FALSE(InkedBox(DrawNumber(100, 15).digits, 15).Empty());
  EXPECT_FALSE(InkedBox(DrawNumber(7, 9).digits, 9).Empty());
  EXPECT_TRUE(InkedBox(DrawNumber(7, 8).digits, 8).Empty());
  EXPECT_EQ(DrawNumber(7, 0).plate.size(), 0u);
}

}  // namespace
}  // namespace quorvex
