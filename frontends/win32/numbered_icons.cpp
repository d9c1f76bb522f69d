#include "frontends/win32/numbered_icons.h"

#include <algorithm>

#include "icon_number/number_paint.h"
#include "icon_number/number_picture.h"

namespace quorvex {

namespace {

struct BitmapDeleter {
  static HBITMAP None() { return nullptr; }
  static void Close(HBITMAP bitmap) { DeleteObject(bitmap); }
};
using OwnedBitmap = ScopedHandle<BitmapDeleter>;

// A 32-bit top-down DIB's header: rows from the top, one 0xAARRGGBB word a pixel.
BITMAPINFO TopDownArgb(int size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A bitmap's pixels as 32-bit words; empty when it is not `size` square or cannot be read.
std::vector<uint32_t> BitmapPixels(HBITMAP bitmap, int size) {
  BITMAP header{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof header, &header) == 0) return {};
  if (header.bmWidth != size || header.bmHeight != size) return {};
  std::vector<uint32_t> pixels(static_cast<size_t>(size) * size);
  BITMAPINFO info = TopDownArgb(size);
  const HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, size, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return rows == size ? pixels : std::vector<uint32_t>{};
}

// The icon drawn from its resource at `size` when it came from one (crisp), else scaled.
OwnedIcon IconAtSize(HICON icon, int size) {
  HANDLE copy = CopyImage(icon, IMAGE_ICON, size, size, LR_COPYFROMRESOURCE);
  if (copy == nullptr) copy = CopyImage(icon, IMAGE_ICON, size, size, 0);
  return OwnedIcon(static_cast<HICON>(copy));
}

}  // namespace

int TrayIconSize() { return GetSystemMetrics(SM_CXSMICON); }

std::vector<uint32_t> IconPixels(HICON icon, int size) {
  const OwnedIcon sized = IconAtSize(icon, size);
  ICONINFO parts{};
  if (!sized.valid() || !GetIconInfo(sized.get(), &parts)) return {};
  const OwnedBitmap colour(parts.hbmColor), mask(parts.hbmMask);
  std::vector<uint32_t> pixels = BitmapPixels(colour.get(), size);
  const std::vector<uint32_t> transparent = BitmapPixels(mask.get(), size);  // white: see-through
  if (pixels.empty() || transparent.size() != pixels.size()) return {};
  const bool hasAlpha = std::any_of(pixels.begin(), pixels.end(), [](uint32_t pixel) { return pixel >> 24 != 0; });
  if (hasAlpha) return pixels;
  for (size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] = (transparent[i] & 0xFFFFFF) != 0 ? 0 : pixels[i] | 0xFF000000;
  }
  return pixels;
}

OwnedIcon MakeIcon(const std::vector<uint32_t>& argb, int size) {
  if (size <= 0 || argb.size() != static_cast<size_t>(size) * size) return {};
  BITMAPINFO info = TopDownArgb(size);
  void* bits = nullptr;
  const HDC screen = GetDC(nullptr);
  const OwnedBitmap colour(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  ReleaseDC(nullptr, screen);
  if (!colour.valid() || bits == nullptr) return {};
  std::copy(argb.begin(), argb.end(), static_cast<uint32_t*>(bits));
  // The mask says which pixels are see-through where the alpha channel is not used; rows of
  // a monochrome bitmap are padded to 16 bits.
  const int stride = (size + 15) / 16 * 2;
  std::vector<uint8_t> maskBits(static_cast<size_t>(stride) * size, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (argb[static_cast<size_t>(y) * size + x] >> 24 == 0) maskBits[y * stride + x / 8] |= 0x80 >> (x % 8);
    }
  }
  const OwnedBitmap mask(CreateBitmap(size, size, 1, 1, maskBits.data()));
  if (!mask.valid()) return {};
  ICONINFO parts{TRUE, 0, 0, mask.get(), colour.get()};
  return OwnedIcon(CreateIconIndirect(&parts));  // copies both bitmaps, which go here
}

NativeHandle NumberedIconsWin32::WithNumber(NativeHandle designed, int number) {
  const int size = TrayIconSize();
  Numbered& numbered = made_[designed];
  if (numbered.icon.valid() && numbered.number == number && numbered.size == size) {
    return reinterpret_cast<NativeHandle>(numbered.icon.get());
  }
  std::vector<uint32_t> pixels = IconPixels(reinterpret_cast<HICON>(designed), size);
  if (pixels.empty()) return designed;  // the designed icon rather than none
  PaintNumber(pixels, DrawNumber(number, size));
  OwnedIcon icon = MakeIcon(pixels, size);
  if (!icon.valid()) return designed;
  numbered = {number, size, std::move(icon)};  // the one before is destroyed
  return reinterpret_cast<NativeHandle>(numbered.icon.get());
}

}  // namespace quorvex
