// UTC instants as the history keeps them: milliseconds since 1970, cut into 5-minute buckets,
// written as "2026-12-08T09:55Z", gathered in monthly files.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvex {

inline constexpr int64_t kMinuteMs = 60'000;
inline constexpr int64_t kHourMs = 60 * kMinuteMs;
inline constexpr int64_t kDayMs = 24 * kHourMs;
inline constexpr int64_t kBucketMs = 5 * kMinuteMs;

// The start of the 5-minute bucket that holds `utcMs` (:00, :05, ... of UTC).
int64_t BucketStart(int64_t utcMs);

// A calendar month of UTC.
struct UtcMonth {
  int year = 1970;  // 0..9999
  int month = 1;    // 1..12

  bool operator==(const UtcMonth&) const = default;
  auto operator<=>(const UtcMonth&) const = default;
};

UtcMonth MonthOf(int64_t utcMs);
int64_t MonthStartMs(UtcMonth month);
UtcMonth NextMonth(UtcMonth month);

// "2026-12-08T09:55Z": the minute a bucket starts.
std::string FormatBucketTime(int64_t utcMs);
// The milliseconds of exactly that form (a minute of a real date, year 0000..9999); nothing
// for any other text.
std::optional<int64_t> ParseBucketTime(std::string_view text);
// "2026-12-08 09:55": the same minute as spreadsheets read a date and time, with no zone.
std::string FormatUtcMinute(int64_t utcMs);
// The milliseconds of exactly that form; nothing for any other text.
std::optional<int64_t> ParseUtcMinute(std::string_view text);
// "2026-12-08T00:00:00Z", as a person gives a start time; nothing for any other text.
std::optional<int64_t> ParseUtcSeconds(std::string_view text);

// "history-2026-12.csv".
std::string HistoryFileName(UtcMonth month);
// The month of a name of exactly that form (letter case included); nothing for any other.
std::optional<UtcMonth> MonthOfHistoryFile(std::string_view name);

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and back.
int64_t DaysFromCivil(int year, int month, int day);
struct CivilDate {
  int year, month, day;
};
CivilDate CivilFromDays(int64_t days);

}  // namespace quorvex
