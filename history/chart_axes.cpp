// The axes of the history chart: time ticks on the local calendar, player ticks at round steps.
#include <algorithm>

#include "common/numbers.h"
#include "history/history_chart.h"
#include "history/utc_time.h"

namespace quorvex {

namespace {

const char16_t* const kWeekdays[] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
const char16_t* const kMonths[] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                   u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};

int64_t FloorDiv(int64_t value, int64_t divisor) {
  const int64_t quotient = value / divisor;
  return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

int64_t CeilDiv(int64_t value, int64_t divisor) { return -FloorDiv(-value, divisor); }

// The UTC instant a local wall time (milliseconds on the local calendar) stands for. The
// offset is asked at the instant it gives, once more, so a tick beside a daylight-saving
// change lands on the local hour; a local time that never was (skipped forward) lands an
// hour on, like the clock did.
int64_t UtcOfLocal(int64_t localMs, const LocalOffset& localOffset) {
  const int64_t guess = localMs - int64_t{localOffset(localMs)} * kMinuteMs;
  return localMs - int64_t{localOffset(guess)} * kMinuteMs;
}

Text TwoDigits(int64_t value) { return (value < 10 ? u"0" : u"") + FormatPlain(value); }

// 1970-01-01 was a Thursday.
int WeekdayOf(int64_t dayCount) { return static_cast<int>(((dayCount + 4) % 7 + 7) % 7); }

struct RangeTicks {
  int64_t stepMs;
  // The label of a tick at `hour` of local day `dayCount`; empty for none.
  Text (*label)(int64_t dayCount, int64_t hour);
};

Text DayLabel(int64_t dayCount) {
  return Text(kWeekdays[WeekdayOf(dayCount)]) + u" " + FormatPlain(CivilFromDays(dayCount).day);
}

Text DayRangeLabel(int64_t dayCount, int64_t hour) {
  if (hour == 0) return DayLabel(dayCount);
  return hour % 3 == 0 ? TwoDigits(hour) + u":00" : Text();
}

Text WeekRangeLabel(int64_t dayCount, int64_t hour) { return hour == 0 ? DayLabel(dayCount) : Text(); }

Text MonthRangeLabel(int64_t dayCount, int64_t) {
  if (WeekdayOf(dayCount) != 1) return {};
  const CivilDate date = CivilFromDays(dayCount);
  return FormatPlain(date.day) + u" " + kMonths[date.month - 1];
}

RangeTicks TicksOf(ChartRange range) {
  switch (range) {
    case ChartRange::Day:
      return {kHourMs, DayRangeLabel};
    case ChartRange::Week:
      return {6 * kHourMs, WeekRangeLabel};
    case ChartRange::Month:
      return {kDayMs, MonthRangeLabel};
  }
  return {kHourMs, DayRangeLabel};
}

}  // namespace

std::vector<TimeTick> TimeTicks(ChartRange range, int64_t startMs, int64_t endMs, const LocalOffset& localOffset) {
  const RangeTicks ticks = TicksOf(range);
  std::vector<TimeTick> found;
  // Steps divide a day, so counting them from the local 1970 puts them on the local hours.
  const int64_t localStart = startMs + int64_t{localOffset(startMs)} * kMinuteMs;
  const int64_t margin = kDayMs;  // a local time may sit up to a day from its UTC instant
  for (int64_t local = CeilDiv(localStart - margin, ticks.stepMs) * ticks.stepMs;; local += ticks.stepMs) {
    const int64_t utc = UtcOfLocal(local, localOffset);
    if (local > endMs + margin) break;
    if (utc < startMs || utc > endMs || (!found.empty() && utc <= found.back().atMs)) continue;
    const int64_t dayCount = FloorDiv(local, kDayMs);
    const int64_t hour = (local - dayCount * kDayMs) / kHourMs;
    found.push_back({utc, ticks.label(dayCount, hour), hour == 0});
  }
  return found;
}

std::vector<PlayerTick> PlayerTicks(int64_t peak) {
  constexpr int64_t kMaxSteps = 5;
  const int64_t top = std::max<int64_t>(peak, 5);
  int64_t step = 1;
  for (int64_t magnitude = 1; step * kMaxSteps < top; magnitude *= 10) {
    for (const int64_t multiplier : {1, 2, 5}) {
      step = multiplier * magnitude;
      if (step * kMaxSteps >= top) break;
    }
  }
  std::vector<PlayerTick> ticks;
  const int64_t steps = CeilDiv(top, step);
  for (int64_t k = 0; k <= steps; ++k) ticks.push_back({k * step, FormatPlain(k * step)});
  return ticks;
}

}  // namespace quorvex
