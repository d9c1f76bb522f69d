// The number painted onto an icon's pixels, for a front end that composes the icon itself
// (the Win32 one, whose icons are 32-bit ARGB bitmaps).
#pragma once
#include <cstdint>
#include <vector>

#include "icon_number/number_picture.h"

namespace quorvex {

// Paints `picture` (DrawNumber's) over `argb`: its plate in kPlateArgb, then its digits in
// kDigitsArgb, each at its coverage. `argb` holds picture.size squared pixels, row-major from
// the top, 0xAARRGGBB with straight (not premultiplied) alpha, as icons hold them; pixels of
// another count are left as they are.
void PaintNumber(std::vector<uint32_t>& argb, const NumberPicture& picture);

}  // namespace quorvex
