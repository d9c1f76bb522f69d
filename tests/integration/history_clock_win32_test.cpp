// The time of day the history is kept in, as the Windows desktop reads it: UTC milliseconds
// from the system's FILETIME, and the local offset Windows gives for an instant, which must
// agree with the C library's own local time for the same instants (winter and summer).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>

#include "frontends/win32/desktop.h"

namespace quorvex {
namespace {

// The C library's local time of an instant, as an offset in minutes from UTC. Without a TZ
// variable of its own (Wine hands it the Unix one, which it cannot read) the library takes
// Windows' time zone and its daylight-saving rules.
int32_t LibraryOffsetMinutes(int64_t utcMs) {
  _putenv_s("TZ", "");
  _tzset();
  const std::time_t seconds = static_cast<std::time_t>(utcMs / 1000);
  std::tm local = *std::localtime(&seconds);
  std::tm utc = *std::gmtime(&seconds);
  local.tm_isdst = 0;
  utc.tm_isdst = 0;
  // Both read back as if local: their difference is the offset, whatever the zone.
  return static_cast<int32_t>(std::difftime(std::mktime(&local), std::mktime(&utc)) / 60);
}

TEST(HistoryClockWin32, TheTimeOfDayIsUtcAndTheLocalOffsetIsWindowsOwn) {
  DesktopWin32 desktop(GetModuleHandleW(nullptr), DefWindowProcW);
  const int64_t system = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::system_clock::now().time_since_epoch()).count();
  EXPECT_LT(std::abs(desktop.WallClockMs() - system), 2000);
  for (const int64_t instant : {int64_t{1796688000000}, int64_t{1783036800000}, system})  // Dec, Jul 2026, now
    EXPECT_EQ(desktop.LocalOffsetMinutes(instant), LibraryOffsetMinutes(instant)) << instant;
}

}  // namespace
}  // namespace quorvex
