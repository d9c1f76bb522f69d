#include "history/utc_time.h"

#include <chrono>
#include <cstdio>

namespace quorvex {

namespace {

using std::chrono::day;
using std::chrono::days;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

// Floor division: a bucket or a day before 1970 starts before its instant, not after.
int64_t FloorDiv(int64_t value, int64_t divisor) {
  const int64_t quotient = value / divisor;
  return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

// The value of `count` ASCII digits at `at`; -1 when any of them is no digit.
int Digits(std::string_view text, size_t at, size_t count) {
  int value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool IsDate(int y, int m, int d) { return year_month_day{year(y), month(unsigned(m)), day(unsigned(d))}.ok(); }

// "YYYY-MM-DD" `between` "HH:MM" at the start of `text`, as milliseconds; nothing unless it
// is a real date and time of day.
std::optional<int64_t> ParseMinute(std::string_view text, char between = 'T') {
  if (text.size() < 16 || text[4] != '-' || text[7] != '-' || text[10] != between || text[13] != ':')
    return std::nullopt;
  const int y = Digits(text, 0, 4), m = Digits(text, 5, 2), d = Digits(text, 8, 2);
  const int hour = Digits(text, 11, 2), minute = Digits(text, 14, 2);
  if (y < 0 || m < 1 || m > 12 || d < 1 || !IsDate(y, m, d) || hour < 0 || hour > 23 || minute < 0 || minute > 59)
    return std::nullopt;
  return DaysFromCivil(y, m, d) * kDayMs + hour * kHourMs + minute * kMinuteMs;
}

// The minute of `utcMs` as "YYYY-MM-DD", `between`, "HH:MM" and `after`.
std::string FormatMinute(int64_t utcMs, char between, const char* after) {
  const int64_t dayCount = FloorDiv(utcMs, kDayMs);
  const CivilDate date = CivilFromDays(dayCount);
  const int64_t minuteOfDay = (utcMs - dayCount * kDayMs) / kMinuteMs;
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d%c%02d:%02d%s", date.year, date.month, date.day, between,
                static_cast<int>(minuteOfDay / 60), static_cast<int>(minuteOfDay % 60), after);
  return text;
}

}  // namespace

int64_t BucketStart(int64_t utcMs) { return FloorDiv(utcMs, kBucketMs) * kBucketMs; }

int64_t DaysFromCivil(int year_, int month_, int day_) {
  return sys_days(year_month_day{year(year_), month(unsigned(month_)), day(unsigned(day_))}).time_since_epoch().count();
}

CivilDate CivilFromDays(int64_t dayCount) {
  const year_month_day date{sys_days(days(dayCount))};
  return {int(date.year()), int(unsigned(date.month())), int(unsigned(date.day()))};
}

UtcMonth MonthOf(int64_t utcMs) {
  const CivilDate date = CivilFromDays(FloorDiv(utcMs, kDayMs));
  return {date.year, date.month};
}

int64_t MonthStartMs(UtcMonth month) { return DaysFromCivil(month.year, month.month, 1) * kDayMs; }

UtcMonth NextMonth(UtcMonth month) { return month.month == 12 ? UtcMonth{month.year + 1, 1} : UtcMonth{month.year, month.month + 1}; }

std::string FormatBucketTime(int64_t utcMs) { return FormatMinute(utcMs, 'T', "Z"); }

std::string FormatUtcMinute(int64_t utcMs) { return FormatMinute(utcMs, ' ', ""); }

std::optional<int64_t> ParseUtcMinute(std::string_view text) {
  if (text.size() != 16) return std::nullopt;
  return ParseMinute(text, ' ');
}

std::optional<int64_t> ParseBucketTime(std::string_view text) {
  if (text.size() != 17 || text[16] != 'Z') return std::nullopt;
  return ParseMinute(text);
}

std::optional<int64_t> ParseUtcSeconds(std::string_view text) {
  if (text.size() != 20 || text[16] != ':' || text[19] != 'Z') return std::nullopt;
  const std::optional<int64_t> minute = ParseMinute(text);
  const int second = Digits(text, 17, 2);
  if (!minute || second < 0 || second > 59) return std::nullopt;
  return *minute + second * 1000;
}

std::string HistoryFileName(UtcMonth month) {
  char name[32];
  std::snprintf(name, sizeof name, "history-%04d-%02d.csv", month.year, month.month);
  return name;
}

std::optional<UtcMonth> MonthOfHistoryFile(std::string_view name) {
  constexpr std::string_view kPrefix = "history-", kSuffix = ".csv";
  if (name.size() != kPrefix.size() + 7 + kSuffix.size() || !name.starts_with(kPrefix) || !name.ends_with(kSuffix))
    return std::nullopt;
  const std::string_view yearMonth = name.substr(kPrefix.size(), 7);
  const int y = Digits(yearMonth, 0, 4), m = Digits(yearMonth, 5, 2);
  if (y < 0 || yearMonth[4] != '-' || m < 1 || m > 12) return std::nullopt;
  return UtcMonth{y, m};
}

}  // namespace quorvex
