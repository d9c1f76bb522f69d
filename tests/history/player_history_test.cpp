// The history's files: a bucket appended in one write when a later one begins and at Exit,
// one file per UTC month with its header, a new file in the spreadsheet form and one begun
// earlier in its own, a cut write repaired, a failed write told once, old months deleted and
// nothing else touched.
#include "history/player_history.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "history/utc_time.h"
#include "tests/history/fake_history_folder.h"

namespace quorvex {
namespace {

using testing::FakeHistoryFolder;
using testing::HistoryFiles;

constexpr int64_t kDec8At0955 = 1796723700000;
constexpr int64_t kNewYear2027 = 1798761600000;
const std::string kBom = "\xEF\xBB\xBF";
const std::string kHeader = kBom + "time (UTC),address,port,name,players\n";

std::vector<ListedServer> Reply(int32_t alphaPlayers) { return {{u"Alpha", u"10.0.0.1", u"1", alphaPlayers, {}}}; }

struct HistoryRig {
  HistoryFiles files;
  PlayerHistory history{std::make_unique<FakeHistoryFolder>(files), 30};
};

TEST(PlayerHistory, AppendsABucketInOneWriteWhenTheFirstReplyOfALaterOneComesAndAtExit) {
  HistoryRig rig;
  EXPECT_EQ(rig.history.TakeReply(Reply(3), kDec8At0955), std::nullopt);
  EXPECT_EQ(rig.history.TakeReply(Reply(5), kDec8At0955 + 200'000), std::nullopt);
  EXPECT_EQ(rig.files.appends, 0);  // the open bucket is in memory only
  rig.history.TakeReply(Reply(2), kDec8At0955 + 300'000);
  EXPECT_EQ(rig.files.appends, 1);
  EXPECT_EQ(rig.files.files, (std::map<std::string, std::string>{
                                 {"history-2026-12.csv",
                                  kHeader + "2026-12-08 09:55,*,0,,5\n"
                                  "2026-12-08 09:55,10.0.0.1,1,Alpha,5\n"}}));
  rig.history.Flush();
  EXPECT_EQ(rig.files.appends, 2);
  EXPECT_TRUE(rig.files.files["history-2026-12.csv"].ends_with(
      "5\n2026-12-08 10:00,*,0,,2\n2026-12-08 10:00,10.0.0.1,1,Alpha,2\n"));
  rig.history.Flush();  // nothing open: nothing written
  EXPECT_EQ(rig.files.appends, 2);
}

// A month an older Quorvex began keeps its plain form to its end; the next month's file is
// begun in the spreadsheet form. Both read back as they were recorded.
TEST(PlayerHistory, WritesEachBucketToTheFileOfItsUtcMonthEachInTheFormItWasBegunIn) {
  HistoryRig rig;
  rig.files.files["history-2026-12.csv"] = "time,address,port,name,players\n2026-12-31T23:50Z,*,0,,1\n";
  const std::vector<ListedServer> hostile = {{u"=AC= Night Ops\u0001", u"10.0.0.1", u"1", 1, {}}};
  rig.history.TakeReply(hostile, kNewYear2027 - 1);
  rig.history.TakeReply(Reply(2), kNewYear2027);
  rig.history.TakeReply(hostile, kNewYear2027 + 300'000);
  rig.history.Flush();
  EXPECT_EQ(rig.files.files, (std::map<std::string, std::string>{
                                 {"history-2026-12.csv",
                                  "time,address,port,name,players\n2026-12-31T23:50Z,*,0,,1\n"
                                  "2026-12-31T23:55Z,*,0,,1\n2026-12-31T23:55Z,10.0.0.1,1,=AC= Night Ops ,1\n"},
                                 {"history-2027-01.csv",
                                  kHeader + "2027-01-01 00:00,*,0,,2\n2027-01-01 00:00,10.0.0.1,1,Alpha,2\n"
                                  "2027-01-01 00:05,*,0,,1\n2027-01-01 00:05,10.0.0.1,1,'=AC= Night Ops ,1\n"}}));
  const HistoryChart chart = rig.history.Chart(ChartRange::Day, kNewYear2027 + 600'000, [](int64_t) { return 0; });
  std::vector<std::string> labels;
  for (const ChartSeries& series : chart.series) labels.push_back(ToUtf8(series.label));
  EXPECT_EQ(labels, (std::vector<std::string>{"All servers", "=AC= Night Ops "}));  // the latest name, unmarked
}

// The form is the file's own, whoever began it and whatever this run wrote to another file;
// a file emptied or deleted meanwhile is begun again, in the spreadsheet form.
TEST(PlayerHistory, KeepsEachFilesFormAcrossWritesAndBeginsAnEmptiedFileAgain) {
  HistoryRig rig;
  rig.files.files["history-2026-12.csv"] = "time,address,port,name,players\n";
  rig.history.TakeReply(Reply(1), kDec8At0955);
  rig.history.TakeReply(Reply(2), kDec8At0955 + 300'000);
  rig.history.TakeReply(Reply(3), kDec8At0955 + 600'000);
  EXPECT_EQ(rig.files.files["history-2026-12.csv"],
            "time,address,port,name,players\n2026-12-08T09:55Z,*,0,,1\n2026-12-08T09:55Z,10.0.0.1,1,Alpha,1\n"
            "2026-12-08T10:00Z,*,0,,2\n2026-12-08T10:00Z,10.0.0.1,1,Alpha,2\n");
  rig.files.files["history-2026-12.csv"].clear();
  rig.history.Flush();
  EXPECT_EQ(rig.files.files["history-2026-12.csv"], kHeader + "2026-12-08 10:05,*,0,,3\n2026-12-08 10:05,10.0.0.1,1,Alpha,3\n");
  // A file it cannot read gets plain rows, which the reader takes in a file of either form.
  HistoryRig unreadable;
  unreadable.files.files["history-2026-12.csv"] = kHeader;
  unreadable.files.failReads = "cannot open";
  unreadable.history.TakeReply(Reply(4), kDec8At0955);
  unreadable.history.Flush();
  EXPECT_EQ(unreadable.files.files["history-2026-12.csv"], kHeader + "2026-12-08T09:55Z,*,0,,4\n2026-12-08T09:55Z,10.0.0.1,1,Alpha,4\n");
}

TEST(AppendBytes, StartsANewFileWithItsFormsHeaderAndACutOneOnALineOfItsOwn) {
  const std::vector<HistoryRow> rows = {{kDec8At0955, "*", "0", "", 4}};
  const struct {
    std::optional<char> last;
    std::string plain, spreadsheet;
  } cases[] = {
      {std::nullopt, "time,address,port,name,players\n2026-12-08T09:55Z,*,0,,4\n", kHeader + "2026-12-08 09:55,*,0,,4\n"},
      {'\n', "2026-12-08T09:55Z,*,0,,4\n", "2026-12-08 09:55,*,0,,4\n"},
      {'7', ",\n2026-12-08T09:55Z,*,0,,4\n", ",\n2026-12-08 09:55,*,0,,4\n"},
      {'"', ",\n2026-12-08T09:55Z,*,0,,4\n", ",\n2026-12-08 09:55,*,0,,4\n"},
      {'\r', ",\n2026-12-08T09:55Z,*,0,,4\n", ",\n2026-12-08 09:55,*,0,,4\n"},
  };
  for (const auto& [last, plain, spreadsheet] : cases) {
    EXPECT_EQ(AppendBytes(last, rows, HistoryForm::Plain), plain) << last.value_or('-');
    EXPECT_EQ(AppendBytes(last, rows, HistoryForm::Spreadsheet), spreadsheet) << last.value_or('-');
  }
}

// A count cut short by a crash (12 written as 1) is not read, and the rows after it are.
TEST(PlayerHistory, ARowCutShortIsNeverReadAndTheNextBucketStillIs) {
  HistoryRig rig;
  rig.files.files["history-2026-12.csv"] =
      "time,address,port,name,players\n2026-12-08T09:50Z,*,0,,12\n2026-12-08T09:50Z,10.0.0.1,1,Alpha,1";
  rig.history.TakeReply(Reply(3), kDec8At0955);
  rig.history.Flush();
  const HistoryChart chart = rig.history.Chart(ChartRange::Day, kDec8At0955, [](int64_t) { return 0; });
  ASSERT_EQ(chart.series.size(), 2u);
  EXPECT_EQ(chart.series[0].segments, (std::vector<ChartSegment>{{kDec8At0955 - 300'000, {12, 3}}}));
  EXPECT_EQ(chart.series[1].segments, (std::vector<ChartSegment>{{kDec8At0955 - 300'000, {0, 3}}}));
}

TEST(PlayerHistory, TellsTheFirstFailedWriteOnlyAndGoesOn) {
  HistoryRig rig;
  rig.files.failWrites = "cannot write history-2026-12.csv: No space left on device";
  rig.history.TakeReply(Reply(1), kDec8At0955);
  EXPECT_EQ(rig.history.TakeReply(Reply(1), kDec8At0955 + 300'000),
            "the player history cannot be kept: cannot write history-2026-12.csv: No space left on device");
  EXPECT_EQ(rig.history.TakeReply(Reply(1), kDec8At0955 + 600'000), std::nullopt);
  EXPECT_EQ(rig.history.Flush(), std::nullopt);
  EXPECT_EQ(rig.files.appends, 3);  // every bucket was tried
  rig.files.failWrites.reset();
  rig.history.TakeReply(Reply(4), kDec8At0955 + 900'000);
  EXPECT_EQ(rig.history.Flush(), std::nullopt);
  EXPECT_EQ(rig.files.files["history-2026-12.csv"], kHeader + "2026-12-08 10:10,*,0,,4\n2026-12-08 10:10,10.0.0.1,1,Alpha,4\n");
}

// On 2027-03-02T12:00Z February ended a day and a half before, January 29.5 days, March
// 2026 335.5 days, February 2026 366.5 days. Only names of the exact form are looked at.
TEST(PlayerHistory, DeletesOnlyHistoryFilesOfMonthsWhollyOlderThanTheDaysKept) {
  const int64_t now = MonthStartMs({2027, 3}) + kDayMs + 12 * kHourMs;
  const std::vector<std::string> others = {"History-2020-01.csv", "Quorvex.ini", "history-2026-12.csv.bak",
                                           "history-20x6-01.csv", "notes.txt"};
  const struct {
    int32_t days;
    std::vector<std::string> kept;  // of the history files
  } cases[] = {
      {1, {"history-2027-03.csv", "history-2027-04.csv"}},
      {2, {"history-2027-02.csv", "history-2027-03.csv", "history-2027-04.csv"}},
      {29, {"history-2027-02.csv", "history-2027-03.csv", "history-2027-04.csv"}},
      {30, {"history-2027-01.csv", "history-2027-02.csv", "history-2027-03.csv", "history-2027-04.csv"}},
      {366, {"history-2026-03.csv", "history-2026-12.csv", "history-2027-01.csv", "history-2027-02.csv",
             "history-2027-03.csv", "history-2027-04.csv"}},
  };
  for (const auto& [days, kept] : cases) {
    HistoryFiles files;
    for (const char* name : {"history-2020-01.csv", "History-2020-01.csv", "history-2026-02.csv",
                             "history-2026-03.csv", "history-2026-12.csv", "history-2026-12.csv.bak",
                             "history-2027-01.csv", "history-2027-02.csv", "history-2027-03.csv",
                             "history-2027-04.csv", "history-20x6-01.csv", "Quorvex.ini", "notes.txt"})
      files.files.emplace(name, "x");
    PlayerHistory(std::make_unique<FakeHistoryFolder>(files), days).DeleteOldMonths(now);
    std::vector<std::string> left, wanted = kept;
    for (const auto& [name, bytes] : files.files) left.push_back(name);
    wanted.insert(wanted.end(), others.begin(), others.end());
    std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(left, wanted) << days << " days";
  }
}

// The chart reads the months its range touches and the open bucket; a file it cannot read
// is a time without a list.
TEST(PlayerHistory, ChartsTheFilesOfTheRangeAndTheOpenBucket) {
  HistoryRig rig;
  rig.files.files["history-2026-12.csv"] = "time,address,port,name,players\n2026-12-31T23:55Z,*,0,,7\n";
  rig.files.files["history-2026-11.csv"] = "time,address,port,name,players\n2026-12-31T23:50Z,*,0,,6\n";
  rig.history.TakeReply(Reply(2), kNewYear2027 + 1000);
  const auto utc = [](int64_t) { return 0; };
  EXPECT_EQ(rig.history.Chart(ChartRange::Day, kNewYear2027 + 2000, utc).series[0].segments,
            (std::vector<ChartSegment>{{kNewYear2027 - 300'000, {7, 2}}}));  // November's file is not December
  rig.files.failReads = "cannot open";
  EXPECT_EQ(rig.history.Chart(ChartRange::Day, kNewYear2027 + 2000, utc).series[0].segments,
            (std::vector<ChartSegment>{{kNewYear2027, {2}}}));
}

}  // namespace
}  // namespace quorvex
