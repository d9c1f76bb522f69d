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

// A C0 control character but TAB, or DEL.
bool IsControlByte(char c) { return (c >= 0 && c < 0x20 && c != '\t') || c == 0x7F; }

// A C1 control character (U+0080..U+009F) at `at`: its two UTF-8 bytes.
bool IsC1ControlAt(const std::string& text, size_t at) {
  return text[at] == '\xC2' && at + 1 < text.size() && static_cast<unsigned char>(text[at + 1]) >= 0x80 &&
         static_cast<unsigned char>(text[at + 1]) <= 0x9F;
}

// The text of a field as written, without the spreadsheet form's mark.
std::string_view Unmarked(std::string_view field, HistoryForm form) {
  if (form == HistoryForm::Spreadsheet && field.starts_with('\'')) field.remove_prefix(1);
  return field;
}

std::optional<int64_t> ParseRowTime(std::string_view text) {
  const std::optional<int64_t> time = ParseUtcMinute(text);
  return time ? time : ParseBucketTime(text);
}

}  // namespace

HistoryForm FormOfHistoryFile(std::string_view bytes) {
  return bytes.starts_with(kByteOrderMark) ? HistoryForm::Spreadsheet : HistoryForm::Plain;
}

std::string CsvField(std::string_view text, HistoryForm form) {
  const char* quotedWhen = form == HistoryForm::Spreadsheet ? ",\"\r\n;\t" : ",\"\r\n";
  if (text.find_first_of(quotedWhen) == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string MarkForSpreadsheets(std::string_view text) {
  if (text.empty() || std::string_view("=+-@\t\r'").find(text.front()) == std::string_view::npos) return std::string(text);
  return "'" + std::string(text);
}

std::string TextAsWritten(std::string text) {
  std::string written;
  written.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // the LF makes the blank
    if (IsC1ControlAt(text, i)) {
      written += ' ';
      ++i;
    } else {
      written += IsControlByte(text[i]) ? ' ' : text[i];
    }
  }
  return written;
}

std::string FormatHistoryRow(const HistoryRow& row, HistoryForm form) {
  const auto field = [form](const std::string& text) {
    const std::string written = TextAsWritten(text);
    return CsvField(form == HistoryForm::Spreadsheet ? MarkForSpreadsheets(written) : written, form);
  };
  const std::string time = form == HistoryForm::Spreadsheet ? FormatUtcMinute(row.bucketMs) : FormatBucketTime(row.bucketMs);
  return time + ',' + field(row.address) + ',' + field(row.port) + ',' + field(row.name) + ',' +
         std::to_string(row.players) + '\n';
}

HistoryRowReader::HistoryRowReader(std::string_view bytes) : bytes_(bytes), form_(FormOfHistoryFile(bytes)) {
  if (form_ == HistoryForm::Spreadsheet) at_ = kByteOrderMark.size();  // the first line starts after it
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
  const std::string_view address = Unmarked(fields_[1], form_);
  if (address.empty()) return false;
  const std::optional<int64_t> time = ParseRowTime(fields_[0]);
  const std::optional<int64_t> players = ParsePlayers(fields_[4]);
  if (!time || BucketStart(*time) != *time || !players) return false;
  row = {*time, address, Unmarked(fields_[2], form_), Unmarked(fields_[3], form_), *players};
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
