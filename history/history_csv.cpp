#include "history/history_csv.h"

#include <algorithm>
#include <optional>

#include "history/utc_time.h"

namespace quorvex {

namespace {

std::optional<int64_t> ParsePlayers(std::string_view digits) {
  if (digits.empty() || digits.size() > 12) return std::nullopt;
  int64_t value = 0;
  for (const char digit : digits) {
    if (digit < '0' || digit > '9') return std::nullopt;
    value = value * 10 + (digit - '0');
  }
  return value;
}

}  // namespace

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string OneLine(std::string text) {
  if (text.find_first_of("\r\n") == std::string::npos) return text;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // the LF makes the blank
    line += (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
  }
  return line;
}

std::string FormatHistoryRow(const HistoryRow& row) {
  return FormatBucketTime(row.bucketMs) + ',' + CsvField(OneLine(row.address)) + ',' + CsvField(OneLine(row.port)) +
         ',' + CsvField(OneLine(row.name)) + ',' + std::to_string(row.players) + '\n';
}

bool HistoryRowReader::Next(HistoryRowView& row) {
  for (;;) {
    const size_t lineEnd = bytes_.find('\n', at_);
    if (lineEnd == std::string_view::npos) {  // the end, or a last line cut short
      at_ = bytes_.size();
      return false;
    }
    std::string_view line = bytes_.substr(at_, lineEnd - at_);
    at_ = lineEnd + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (ReadFields(line) && IsRow(row)) return true;
  }
}

bool HistoryRowReader::IsRow(HistoryRowView& row) const {
  if (fields_[1].empty()) return false;
  const std::optional<int64_t> time = ParseBucketTime(fields_[0]);
  const std::optional<int64_t> players = ParsePlayers(fields_[4]);
  if (!time || BucketStart(*time) != *time || !players) return false;
  row = {*time, fields_[1], fields_[2], fields_[3], *players};
  return true;
}

bool HistoryRowReader::ReadFields(std::string_view line) {
  size_t at = 0;
  for (size_t field = 0; field < kFields; ++field) {
    if (field > 0) {
      if (at >= line.size() || line[at] != ',') return false;  // fewer than five fields
      ++at;
    }
    if (at < line.size() && line[at] == '"') {
      std::string& unquoted = unquoted_[field];
      unquoted.clear();
      for (size_t from = at + 1;;) {
        const size_t quote = line.find('"', from);
        if (quote == std::string_view::npos) return false;  // the quote stays open
        unquoted.append(line.substr(from, quote - from));
        at = quote + 1;
        if (at >= line.size() || line[at] != '"') break;
        unquoted += '"';  // a doubled quote stands for one
        from = at + 1;
      }
      fields_[field] = unquoted;
    } else {
      const size_t end = std::min(line.find(',', at), line.size());
      fields_[field] = line.substr(at, end - at);
      at = end;
    }
  }
  return at == line.size();  // a sixth field, or text after a closing quote, is no row
}

}  // namespace quorvex
