#include "icon_number/number_paint.h"

namespace quorvex {

namespace {

uint32_t Channel(uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

// `colour` at `coverage` (0..255) over `under`, both straight alpha ("source over").
uint32_t Over(uint32_t under, uint32_t colour, uint8_t coverage) {
  const uint32_t topAlpha = Channel(colour, 24) * coverage / 255;
  const uint32_t underWeight = Channel(under, 24) * (255 - topAlpha) / 255;
  const uint32_t alpha = topAlpha + underWeight;
  if (alpha == 0) return 0;
  uint32_t result = alpha << 24;
  for (int shift : {16, 8, 0}) {
    const uint32_t weighted = Channel(colour, shift) * topAlpha + Channel(under, shift) * underWeight;
    result |= (weighted + alpha / 2) / alpha << shift;  // rounded to the nearest
  }
  return result;
}

}  // namespace

void PaintNumber(std::vector<uint32_t>& argb, const NumberPicture& picture) {
  if (argb.size() != picture.plate.size() || argb.size() != picture.digits.size()) return;  // not this icon's
  for (size_t i = 0; i < argb.size(); ++i) {
    if (picture.plate[i]) argb[i] = Over(argb[i], kPlateArgb, picture.plate[i]);
    if (picture.digits[i]) argb[i] = Over(argb[i], kDigitsArgb, picture.digits[i]);
  }
}

}  // namespace quorvex
