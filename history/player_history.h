// The player history of a history= line: each answered list reply recorded in 5-minute
// buckets, a finished bucket appended to its month's file, old months deleted, and the chart
// drawn from the files and the open bucket.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history/bucket_recorder.h"
#include "history/history_chart.h"
#include "history/history_folder.h"
#include "watch/listed_servers.h"

namespace quorvex {

// A month of 1,000 servers all busy would pass this; one larger is not ours and is not read.
inline constexpr int64_t kMaxHistoryFileBytes = int64_t{256} << 20;

class PlayerHistory {
 public:
  PlayerHistory(std::unique_ptr<HistoryFolder> folder, int32_t keepDays)
      : folder_(std::move(folder)), keepDays_(keepDays) {}

  // Deletes the files of the months that ended `keepDays` or more before `nowMs`; only
  // names of the form history-YYYY-MM.csv are looked at.
  void DeleteOldMonths(int64_t nowMs);
  // Records an answered list reply read at `nowMs` (UTC); a bucket it finishes is written.
  // Returns what to report when that write failed, the first failure of the run only.
  std::optional<std::string> TakeReply(const std::vector<ListedServer>& servers, int64_t nowMs);
  // Writes the open bucket (at Exit); the same report as TakeReply.
  std::optional<std::string> Flush();
  // The chart of `range` ending at `nowMs`, from the files and the open bucket. A file that
  // cannot be read is drawn as the time without a list it then is.
  HistoryChart Chart(ChartRange range, int64_t nowMs, const LocalOffset& localOffset) const;

 private:
  std::optional<std::string> Write(const std::optional<FinishedBucket>& bucket);
  // The form of the file `name`, which is not empty: the one it was begun in, read from its
  // start the first time a run writes to it.
  HistoryForm FormOfFile(const std::string& name);

  std::unique_ptr<HistoryFolder> folder_;
  int32_t keepDays_;
  BucketRecorder recorder_;
  bool failureTold_ = false;
  std::map<std::string, HistoryForm> forms_;  // by file name, the files this run wrote to
};

// The bytes that append `rows` in `form` to a file whose last byte is `lastByte` (nothing: a
// new or empty file, which gets the form's header first). After a write cut short (a last
// byte that is no LF) a "," and an LF come first: the cut line gets an empty sixth field, so
// it can never be read as a row with a count cut short, and the rows start on a line of
// their own.
std::string AppendBytes(std::optional<char> lastByte, const std::vector<HistoryRow>& rows, HistoryForm form);

}  // namespace quorvex
