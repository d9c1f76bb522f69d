#include "icon_number/number_picture.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace quorvex {

namespace {

constexpr int kGlyphHeight = 7;
constexpr int kGap = 1;     // units between two glyphs
constexpr int kMargin = 1;  // units of plate around the text
constexpr int kPlateHeight = kGlyphHeight + 2 * kMargin;
// The text's plate takes at most this share of the icon's height, in tenths.
constexpr int kMaxPlateTenths = 6;

// The glyphs, '#' inked. Each digit is 4 units wide with open counters, so 3, 8 and 9 or
// 5 and 6 differ at a glance even one pixel a unit; the "+" is 3 wide.
constexpr std::array<std::array<std::string_view, kGlyphHeight>, 10> kDigitRows = {{
    {".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."},  // 0
    {"..#.", ".##.", "..#.", "..#.", "..#.", "..#.", ".###"},  // 1
    {".##.", "#..#", "...#", "..#.", ".#..", "#...", "####"},  // 2
    {".##.", "#..#", "...#", ".##.", "...#", "#..#", ".##."},  // 3
    {"#..#", "#..#", "#..#", "####", "...#", "...#", "...#"},  // 4
    {"####", "#...", "###.", "...#", "...#", "#..#", ".##."},  // 5
    {".##.", "#...", "#...", "###.", "#..#", "#..#", ".##."},  // 6
    {"####", "...#", "...#", "..#.", "..#.", ".#..", ".#.."},  // 7
    {".##.", "#..#", "#..#", ".##.", "#..#", "#..#", ".##."},  // 8
    {".##.", "#..#", "#..#", ".###", "...#", "...#", ".##."},  // 9
}};
constexpr std::array<std::string_view, kGlyphHeight> kPlusRows = {"...", "...", ".#.", "###", ".#.", "...", "..."};

const std::array<std::string_view, kGlyphHeight>& Glyph(char c) {
  return c == '+' ? kPlusRows : kDigitRows[c - '0'];
}

int TextWidthUnits(std::string_view text) {
  int width = 0;
  for (char c : text) width += static_cast<int>(Glyph(c)[0].size());
  return width + kGap * (static_cast<int>(text.size()) - 1);
}

// Fills the square [x, x+w) x [y, y+h) of a size*size coverage map.
void Fill(std::vector<uint8_t>& coverage, int size, int x, int y, int w, int h) {
  for (int row = y; row < y + h; ++row) std::fill_n(coverage.begin() + row * size + x, w, uint8_t{255});
}

}  // namespace

std::string NumberText(int number) {
  if (number > 99) return "99+";
  return std::to_string(std::max(number, 0));
}

NumberPicture DrawNumber(int number, int size) {
  NumberPicture picture;
  picture.size = std::max(size, 0);
  picture.plate.assign(static_cast<size_t>(picture.size) * picture.size, 0);
  picture.digits = picture.plate;

  const std::string text = NumberText(number);
  const int plateWidthUnits = TextWidthUnits(text) + 2 * kMargin;
  const int unit = std::max(1, picture.size * kMaxPlateTenths / (10 * kPlateHeight));
  const int plateWidth = plateWidthUnits * unit, plateHeight = kPlateHeight * unit;
  if (plateWidth > picture.size || plateHeight > picture.size) return picture;

  // The plate in the bottom-right corner.
  const int plateX = picture.size - plateWidth, plateY = picture.size - plateHeight;
  Fill(picture.plate, picture.size, plateX, plateY, plateWidth, plateHeight);

  int glyphX = plateX + kMargin * unit;
  const int glyphY = plateY + kMargin * unit;
  for (char c : text) {
    const auto& rows = Glyph(c);
    for (int row = 0; row < kGlyphHeight; ++row) {
      for (int column = 0; column < static_cast<int>(rows[row].size()); ++column) {
        if (rows[row][column] == '#')
          Fill(picture.digits, picture.size, glyphX + column * unit, glyphY + row * unit, unit, unit);
      }
    }
    glyphX += (static_cast<int>(rows[0].size()) + kGap) * unit;
  }
  return picture;
}

}  // namespace quorvex
