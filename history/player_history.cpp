#include "history/player_history.h"

#include "history/utc_time.h"

namespace quorvex {

std::string AppendBytes(std::optional<char> lastByte, const std::vector<HistoryRow>& rows, HistoryForm form) {
  std::string bytes;
  if (!lastByte) {
    bytes = form == HistoryForm::Spreadsheet ? kSpreadsheetHeader : kPlainHeader;
  } else if (*lastByte != '\n') {
    bytes = ",\n";
  }
  for (const HistoryRow& row : rows) bytes += FormatHistoryRow(row, form);
  return bytes;
}

void PlayerHistory::DeleteOldMonths(int64_t nowMs) {
  const int64_t keptFrom = nowMs - int64_t{keepDays_} * kDayMs;
  for (const std::string& name : folder_->FileNames()) {
    const std::optional<UtcMonth> month = MonthOfHistoryFile(name);
    if (month && MonthStartMs(NextMonth(*month)) <= keptFrom) folder_->Remove(name);
  }
}

std::optional<std::string> PlayerHistory::TakeReply(const std::vector<ListedServer>& servers, int64_t nowMs) {
  return Write(recorder_.TakeReply(servers, nowMs));
}

std::optional<std::string> PlayerHistory::Flush() { return Write(recorder_.Finish()); }

std::optional<std::string> PlayerHistory::Write(const std::optional<FinishedBucket>& bucket) {
  if (!bucket) return std::nullopt;
  const std::string name = HistoryFileName(MonthOf(bucket->bucketMs));
  try {
    const std::optional<char> lastByte = folder_->LastByte(name);
    // A new file is begun in the spreadsheet form; one begun earlier keeps its own.
    const HistoryForm form = lastByte ? FormOfFile(name) : HistoryForm::Spreadsheet;
    folder_->Append(name, AppendBytes(lastByte, bucket->rows, form));
    forms_[name] = form;
    return std::nullopt;
  } catch (const FileError& error) {
    if (failureTold_) return std::nullopt;
    failureTold_ = true;
    return "the player history cannot be kept: " + std::string(error.what());
  }
}

HistoryForm PlayerHistory::FormOfFile(const std::string& name) {
  if (const auto known = forms_.find(name); known != forms_.end()) return known->second;
  try {
    if (const std::optional<std::string> bytes = folder_->Read(name, kMaxHistoryFileBytes)) return FormOfHistoryFile(*bytes);
  } catch (const FileError&) {
  }
  return HistoryForm::Plain;  // unreadable: rows without marks, whose times the reader takes either way
}

HistoryChart PlayerHistory::Chart(ChartRange range, int64_t nowMs, const LocalOffset& localOffset) const {
  HistoryChartBuilder builder(range, nowMs);
  const UtcMonth last = MonthOf(builder.EndMs() - 1);
  for (UtcMonth month = MonthOf(builder.StartMs()); month <= last; month = NextMonth(month)) {
    std::optional<std::string> bytes;
    try {
      bytes = folder_->Read(HistoryFileName(month), kMaxHistoryFileBytes);
    } catch (const FileError&) {
    }
    if (!bytes) continue;
    HistoryRowReader reader(*bytes);
    for (HistoryRowView row; reader.Next(row);) builder.Add(row);
  }
  if (const std::optional<FinishedBucket> open = recorder_.OpenBucket()) {
    for (const HistoryRow& row : open->rows) builder.Add({row.bucketMs, row.address, row.port, row.name, row.players});
  }
  return builder.Build(localOffset);
}

}  // namespace quorvex
