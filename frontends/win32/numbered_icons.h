// The tray icons with a number on them, made with GDI at the size the shell shows them.
#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <vector>

#include "common/scoped_handle.h"
#include "icon_number/numbered_icons.h"

namespace quorvex {

struct IconDestroyer {
  static HICON None() { return nullptr; }
  static void Close(HICON icon) { DestroyIcon(icon); }
};
using OwnedIcon = ScopedHandle<IconDestroyer>;

// The size the notification area shows an icon at: the small-icon metric (SM_CXSMICON),
// which follows the display's scale (16 px at 100 %, 24 at 150 %, 32 at 200 %). The designed
// icons are loaded at the same metric, so a numbered icon matches them.
int TrayIconSize();

// The designed icon at `size`, its pixels as 0xAARRGGBB with straight alpha, row-major from
// the top; an icon without an alpha channel takes its transparency from its mask. Empty when
// GDI cannot read it.
std::vector<uint32_t> IconPixels(HICON icon, int size);

// An icon made of `argb` (size * size pixels as IconPixels gives them).
OwnedIcon MakeIcon(const std::vector<uint32_t>& argb, int size);

class NumberedIconsWin32 final : public NumberedIcons {
 public:
  // Each designed icon keeps the one numbered icon made last: asked again for the same number
  // at the same size, it is given again; otherwise it is destroyed when its successor is made,
  // so a day of polls holds two icons, not thousands.
  NativeHandle WithNumber(NativeHandle designed, int number) override;

 private:
  struct Numbered {
    int number = 0;
    int size = 0;
    OwnedIcon icon;
  };
  std::map<NativeHandle, Numbered> made_;
};

}  // namespace quorvex
