// Instants of the history: buckets, their written form, the start time a person gives, and
// the monthly file names.
#include "history/utc_time.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

namespace quorvex {
namespace {

// 2026-12-08T09:55Z in milliseconds.
constexpr int64_t kDec8At0955 = 1796723700000;

TEST(BucketStart, CutsUtcIntoFiveMinutesFromTheFullHour) {
  const std::pair<int64_t, int64_t> cases[] = {
      {kDec8At0955, kDec8At0955},
      {kDec8At0955 + 1, kDec8At0955},
      {kDec8At0955 + 299'999, kDec8At0955},
      {kDec8At0955 + 300'000, kDec8At0955 + 300'000},
      {kDec8At0955 - 1, kDec8At0955 - 300'000},
      {0, 0},
      {-1, -300'000},  // before 1970 a bucket still starts at or before its instant
      {-300'000, -300'000},
  };
  for (const auto& [instant, start] : cases) EXPECT_EQ(BucketStart(instant), start) << instant;
}

TEST(BucketTime, IsWrittenAsTheMinuteOfUtcAndReadBackOnlyInExactlyThatForm) {
  EXPECT_EQ(FormatBucketTime(kDec8At0955), "2026-12-08T09:55Z");
  EXPECT_EQ(FormatBucketTime(0), "1970-01-01T00:00Z");
  EXPECT_EQ(FormatBucketTime(-300'000), "1969-12-31T23:55Z");
  const std::pair<std::string, std::optional<int64_t>> cases[] = {
      {"2026-12-08T09:55Z", kDec8At0955},
      {"2026-12-08T09:57Z", kDec8At0955 + 120'000},  // a minute, not only a bucket
      {"2024-02-29T00:00Z", 1709164800000},
      {"2026-12-31T23:55Z", 1798761300000},
      {"2026-02-29T00:00Z", std::nullopt},  // no leap year
      {"2026-13-01T00:00Z", std::nullopt},
      {"2026-00-01T00:00Z", std::nullopt},
      {"2026-12-00T00:00Z", std::nullopt},
      {"2026-12-08T24:00Z", std::nullopt},
      {"2026-12-08T09:60Z", std::nullopt},
      {"2026-12-08T09:55", std::nullopt},
      {"2026-12-08T09:55Z ", std::nullopt},
      {"2026-12-08 09:55Z", std::nullopt},
      {"2026-12-08T09:55:00Z", std::nullopt},
      {"+026-12-08T09:55Z", std::nullopt},
      {"2026-1a-08T09:55Z", std::nullopt},
      {"time", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [text, ms] : cases) EXPECT_EQ(ParseBucketTime(text), ms) << text;
}

// The spreadsheet form's spelling of the same minute: a blank for the T, no zone.
TEST(UtcMinute, IsWrittenWithABlankAndNoZoneAndReadBackOnlyInExactlyThatForm) {
  EXPECT_EQ(FormatUtcMinute(kDec8At0955), "2026-12-08 09:55");
  EXPECT_EQ(FormatUtcMinute(-300'000), "1969-12-31 23:55");
  const std::pair<std::string, std::optional<int64_t>> cases[] = {
      {"2026-12-08 09:55", kDec8At0955},     {"2024-02-29 00:00", 1709164800000},
      {"2026-02-29 00:00", std::nullopt},    {"2026-12-08 24:00", std::nullopt},
      {"2026-12-08T09:55", std::nullopt},    {"2026-12-08T09:55Z", std::nullopt},
      {"2026-12-08 09:55Z", std::nullopt},   {"2026-12-08 09:55 ", std::nullopt},
      {"2026-12-08 09:55:00", std::nullopt}, {"", std::nullopt},
  };
  for (const auto& [text, ms] : cases) EXPECT_EQ(ParseUtcMinute(text), ms) << text;
}

TEST(ParseUtcSeconds, TakesASecondOfUtcWithItsZ) {
  const std::pair<std::string, std::optional<int64_t>> cases[] = {
      {"2026-12-08T00:00:00Z", 1796688000000},
      {"2026-12-08T09:55:07Z", kDec8At0955 + 7000},
      {"2026-12-08T09:55:60Z", std::nullopt},
      {"2026-12-08T09:55:7Z", std::nullopt},
      {"2026-12-08T09:55Z", std::nullopt},
      {"2026-12-08T09:55:07", std::nullopt},
      {"2026-12-08T09:55:07+01:00", std::nullopt},
  };
  for (const auto& [text, ms] : cases) EXPECT_EQ(ParseUtcSeconds(text), ms) << text;
}

TEST(Months, RollOverAtTheEndOfTheYearAndNameTheirFiles) {
  EXPECT_EQ(MonthOf(kDec8At0955), (UtcMonth{2026, 12}));
  EXPECT_EQ(MonthOf(1798761600000 - 1), (UtcMonth{2026, 12}));  // the last millisecond of 2026
  EXPECT_EQ(MonthOf(1798761600000), (UtcMonth{2027, 1}));
  EXPECT_EQ(NextMonth({2026, 12}), (UtcMonth{2027, 1}));
  EXPECT_EQ(NextMonth({2024, 1}), (UtcMonth{2024, 2}));
  EXPECT_EQ(MonthStartMs({2027, 1}), 1798761600000);
  EXPECT_EQ(MonthStartMs({2024, 3}) - MonthStartMs({2024, 2}), 29 * kDayMs);
  EXPECT_EQ(HistoryFileName({2026, 12}), "history-2026-12.csv");
  EXPECT_EQ(HistoryFileName({987, 3}), "history-0987-03.csv");
}

TEST(MonthOfHistoryFile, KnowsOnlyNamesOfExactlyTheFormItWrites) {
  const std::pair<std::string, std::optional<UtcMonth>> cases[] = {
      {"history-2026-12.csv", UtcMonth{2026, 12}},
      {"history-0001-01.csv", UtcMonth{1, 1}},
      {"history-2026-13.csv", std::nullopt},
      {"history-2026-00.csv", std::nullopt},
      {"history-2026-1.csv", std::nullopt},
      {"history-26-12.csv", std::nullopt},
      {"History-2026-12.csv", std::nullopt},
      {"history-2026-12.CSV", std::nullopt},
      {"history-2026-12.csv.bak", std::nullopt},
      {"my-history-2026-12.csv", std::nullopt},
      {"history-2026_12.csv", std::nullopt},
      {"history-2026-1x.csv", std::nullopt},
      {"Quorvex.ini", std::nullopt},
  };
  for (const auto& [name, month] : cases) EXPECT_EQ(MonthOfHistoryFile(name), month) << name;
}

}  // namespace
}  // namespace quorvex
