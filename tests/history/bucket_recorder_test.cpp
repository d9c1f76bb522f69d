// The 5-minute buckets over a made-up clock: the highest count and latest name of each server,
// the highest total, what counts as a count, and when a bucket is handed back for writing.
#include "history/bucket_recorder.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "history/utc_time.h"

namespace quorvex {
namespace {

constexpr int64_t kDec8At0955 = 1796723700000;
constexpr int64_t kNewYear2027 = 1798761600000;

ListedServer Listed(const Text& name, const Text& address, std::optional<int32_t> players, const Text& port = u"1") {
  return {name, address, port, players, {}};
}

HistoryRow Row(int64_t at, std::string address, std::string name, int64_t players, std::string port = "1") {
  return {at, std::move(address), std::move(port), std::move(name), players};
}

HistoryRow Total(int64_t at, int64_t players) { return {at, "*", "0", "", players}; }

TEST(BucketRecorder, KeepsEachServersHighestCountAndLatestNameAndTheHighestTotalOfTheBucket) {
  BucketRecorder recorder;
  EXPECT_FALSE(recorder.OpenBucket());
  // Three polls inside 09:55..10:00: B renamed in the third, C gone from it.
  EXPECT_FALSE(recorder.TakeReply({Listed(u"A", u"a", 3), Listed(u"B", u"b", 9), Listed(u"C", u"c", 4)}, kDec8At0955));
  EXPECT_FALSE(recorder.TakeReply({Listed(u"A", u"a", 7), Listed(u"B", u"b", 2)}, kDec8At0955 + 120'000));
  EXPECT_FALSE(recorder.TakeReply({Listed(u"A", u"a", 5), Listed(u"B 2", u"b", 1)}, kDec8At0955 + 299'999));
  const std::vector<HistoryRow> rows = {Total(kDec8At0955, 16), Row(kDec8At0955, "a", "A", 7),
                                        Row(kDec8At0955, "b", "B 2", 9), Row(kDec8At0955, "c", "C", 4)};
  ASSERT_TRUE(recorder.OpenBucket());
  EXPECT_EQ(recorder.OpenBucket()->rows, rows);
  // The first reply of 10:00 hands 09:55 back and opens its own bucket.
  const std::optional<FinishedBucket> finished = recorder.TakeReply({Listed(u"A", u"a", 1)}, kDec8At0955 + 300'000);
  ASSERT_TRUE(finished);
  EXPECT_EQ(finished->bucketMs, kDec8At0955);
  EXPECT_EQ(finished->rows, rows);
  EXPECT_EQ(recorder.OpenBucket()->rows, (std::vector<HistoryRow>{Total(kDec8At0955 + 300'000, 1),
                                                                  Row(kDec8At0955 + 300'000, "a", "A", 1)}));
}

// A server is its address and port; only a whole count above 0 makes its row, yet every
// whole count adds to the total. Rows the reader could not tell from the total are left out.
TEST(BucketRecorder, CountsOnlyWholeNumbersAboveZeroAndKnowsServersByAddressAndPort) {
  const struct {
    std::vector<ListedServer> reply;
    std::vector<HistoryRow> rows;
  } cases[] = {
      {{}, {Total(kDec8At0955, 0)}},
      {{Listed(u"Empty", u"e", 0), Listed(u"Odd", u"o", std::nullopt)}, {Total(kDec8At0955, 0)}},
      {{Listed(u"P1", u"a", 2, u"1"), Listed(u"P2", u"a", 3, u"2"), Listed(u"Q", u"b", 4, u"1")},
       {Total(kDec8At0955, 9), Row(kDec8At0955, "a", "P1", 2, "1"), Row(kDec8At0955, "a", "P2", 3, "2"),
        Row(kDec8At0955, "b", "Q", 4, "1")}},
      {{Listed(u"Twice", u"a", 2), Listed(u"Twice again", u"a", 1)},  // listed twice: the highest, the later name
       {Total(kDec8At0955, 3), Row(kDec8At0955, "a", "Twice again", 2)}},
      {{Listed(u"No address", u"", 5), Listed(u"Star", u"*", 6, u"0"), Listed(u"Star port", u"*", 7, u"7")},
       {Total(kDec8At0955, 18), Row(kDec8At0955, "*", "Star port", 7, "7")}},
      {{Listed(u"\u00c5sa & <Co>", u"h\u00f6st", 1, u"p\u00f6rt")},
       {Total(kDec8At0955, 1), Row(kDec8At0955, "h\xC3\xB6st", "\xC3\x85sa & <Co>", 1, "p\xC3\xB6rt")}},
      {{Listed(u"Two\r\nlines\n", u"h\nx", 1, u"p\r")},
       {Total(kDec8At0955, 1), Row(kDec8At0955, "h x", "Two lines ", 1, "p ")}},
      {{Listed(u"Big", u"a", INT32_MAX), Listed(u"Big", u"b", INT32_MAX)},
       {Total(kDec8At0955, int64_t{INT32_MAX} * 2), Row(kDec8At0955, "a", "Big", INT32_MAX),
        Row(kDec8At0955, "b", "Big", INT32_MAX, "1")}},
  };
  for (const auto& [reply, rows] : cases) {
    BucketRecorder recorder;
    recorder.TakeReply(reply, kDec8At0955 + 1000);
    const std::optional<FinishedBucket> finished = recorder.Finish();
    ASSERT_TRUE(finished);
    EXPECT_EQ(finished->rows, rows) << ToUtf8(reply.empty() ? u"" : reply[0].name);
    EXPECT_FALSE(recorder.OpenBucket());
  }
}

// A server that had players earlier in the bucket keeps its row when it is empty later, and
// a count of 0 or none at first makes none; a server listed only with no count keeps the name
// of its row.
TEST(BucketRecorder, AServerEmptiedLaterKeepsItsHighestCount) {
  BucketRecorder recorder;
  recorder.TakeReply({Listed(u"A", u"a", 0), Listed(u"B", u"b", 4)}, kDec8At0955);
  recorder.TakeReply({Listed(u"A", u"a", std::nullopt), Listed(u"B renamed", u"b", 0)}, kDec8At0955 + 1);
  EXPECT_EQ(recorder.Finish()->rows,
            (std::vector<HistoryRow>{Total(kDec8At0955, 4), Row(kDec8At0955, "b", "B renamed", 4)}));
}

// Buckets that cross a month, a year, a gap of hours and a clock set back each hand the open
// one back whole, under its own start.
TEST(BucketRecorder, HandsBackTheOpenBucketWheneverAReplyFallsInAnotherOne) {
  const int64_t instants[] = {kNewYear2027 - 1, kNewYear2027, kNewYear2027 + 5 * kHourMs, kNewYear2027 + 60'000};
  BucketRecorder recorder;
  std::vector<int64_t> handedBack;
  int32_t players = 1;
  for (const int64_t at : instants) {
    if (auto finished = recorder.TakeReply({Listed(u"A", u"a", players++)}, at)) {
      handedBack.push_back(finished->bucketMs);
      EXPECT_EQ(finished->rows.front().bucketMs, finished->bucketMs);
    }
  }
  EXPECT_EQ(handedBack, (std::vector<int64_t>{kNewYear2027 - 300'000, kNewYear2027, kNewYear2027 + 5 * kHourMs}));
  EXPECT_EQ(recorder.Finish()->rows, (std::vector<HistoryRow>{Total(kNewYear2027, 4), Row(kNewYear2027, "a", "A", 4)}));
  EXPECT_FALSE(recorder.Finish());
}

}  // namespace
}  // namespace quorvex
