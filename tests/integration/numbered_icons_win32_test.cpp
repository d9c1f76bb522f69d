// The numbered tray icons made with GDI: the designed icon read at the tray's size, the
// number painted on, the icon made of it, and every icon replaced destroyed. How it shows in
// Wine's tray at two sizes is read back by wine-e2e.
#include "frontends/win32/numbered_icons.h"

#include <gtest/gtest.h>

#include <vector>

#include "icon_number/number_paint.h"
#include "resources/resource_ids.h"

namespace quorvex {
namespace {

HICON DesignedIcon(int id, int size) {
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED));
}

// Whether `icon` is still an icon: GetIconInfo fails for one destroyed.
bool IsIcon(NativeHandle icon) {
  ICONINFO parts{};
  if (!GetIconInfo(reinterpret_cast<HICON>(icon), &parts)) return false;
  DeleteObject(parts.hbmColor);
  DeleteObject(parts.hbmMask);
  return true;
}

TEST(NumberedIconsWin32, AnIconReplacedIsDestroyedAndTheSameNumberIsNotMadeAgain) {
  const int size = TrayIconSize();
  ASSERT_GE(size, 16);
  const auto normal = reinterpret_cast<NativeHandle>(DesignedIcon(QUORVEX_ICON_NORMAL, size));
  const auto alert = reinterpret_cast<NativeHandle>(DesignedIcon(QUORVEX_ICON_ALERT, size));
  NumberedIconsWin32 icons;
  const NativeHandle normal3 = icons.WithNumber(normal, 3);
  const NativeHandle alert3 = icons.WithNumber(alert, 3);
  EXPECT_NE(normal3, normal);
  EXPECT_NE(alert3, normal3);
  EXPECT_EQ(icons.WithNumber(normal, 3), normal3);
  EXPECT_TRUE(IsIcon(normal3));

  std::vector<uint32_t> wanted = IconPixels(reinterpret_cast<HICON>(normal), size);
  PaintNumber(wanted, DrawNumber(3, size));
  EXPECT_EQ(IconPixels(reinterpret_cast<HICON>(normal3), size), wanted);

  // Polls whose number changes each time: only the last icon of each designed one stays (a
  // day of polls at 20 s, 4320 of them, runs the same path; 300 keep the test quick).
  NativeHandle last = normal3;
  for (int poll = 0; poll < 300; ++poll) {
    const NativeHandle next = icons.WithNumber(normal, poll % 150);
    if (next != last) {
      ASSERT_FALSE(IsIcon(last)) << "poll " << poll;
    }
    last = next;
  }
  EXPECT_TRUE(IsIcon(last));
  EXPECT_TRUE(IsIcon(alert3)) << "the alert icon's numbered one is its own";
  EXPECT_TRUE(IsIcon(normal)) << "the designed icon is never destroyed";
}

}  // namespace
}  // namespace quorvex
