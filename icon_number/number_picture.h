// The number as the tray icon shows it, laid out once for every front end.
//
// The digits are a pixel font of their own, 4 units wide and 7 tall, drawn whole-pixel so they
// stay sharp: one unit is one pixel up to 29 px icons (16, 20, 24 px trays), two from 30 px
// (32), three from 45 px (48), and so on (the plate is at most 60 % of the icon's height). They sit on a dark
// plate in the icon's bottom-right corner, which keeps the light digits readable on the normal
// and on the alert icon alike. Numbers above 99 show as "99+", which fits a 16 px icon.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace quorvex {

// The colours a front end paints with (0xAARRGGBB, not premultiplied).
constexpr uint32_t kPlateArgb = 0xFF141414;   // near black
constexpr uint32_t kDigitsArgb = 0xFFFFFFFF;  // white

// For a square icon of `size` pixels, each pixel's coverage (0..255, row-major, size*size)
// of the dark plate behind the digits and of the light digits on it.
struct NumberPicture {
  int size = 0;
  std::vector<uint8_t> plate;
  std::vector<uint8_t> digits;
};

// A front end draws: the designed icon scaled to `size`, then the plate colour with the plate
// coverage as alpha, then the digit colour with the digits coverage as alpha. A number below
// zero shows as 0; an icon too small for the text (under 15 px for "99+") gets no number.
NumberPicture DrawNumber(int number, int size);

// The text DrawNumber shows for `number`: "0".."99", then "99+".
std::string NumberText(int number);

}  // namespace quorvex
