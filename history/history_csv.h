// The lines of a history file: "time,address,port,name,players", RFC 4180 quoting, LF ends.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex {

inline constexpr std::string_view kHistoryHeader = "time,address,port,name,players\n";
// The row of a bucket's total: address "*", port 0, no name.
inline constexpr std::string_view kTotalAddress = "*", kTotalPort = "0";
// Whole numbers up to 12 digits: 30 days of them summed (player-minutes) stay far inside 64 bits.
inline constexpr int64_t kMaxRowPlayers = 999'999'999'999;

// One row as it is written: UTF-8 texts, the bucket's start in UTC milliseconds.
struct HistoryRow {
  int64_t bucketMs = 0;
  std::string address;
  std::string port;  // as the reply wrote it: with the address it names the server
  std::string name;
  int64_t players = 0;

  bool IsTotal() const { return address == kTotalAddress && port == kTotalPort; }
  bool operator==(const HistoryRow&) const = default;
};

// The field as written: in double quotes, inner quotes doubled, when it holds a comma, a
// quote, a CR or an LF; else as it is.
std::string CsvField(std::string_view text);
// The text with each line break (CR LF, CR or LF) made a blank.
std::string OneLine(std::string text);
// The row's line, LF included. Its texts are written on one line (see OneLine): a row is a
// line, so a row cut short by a crash spoils no other.
std::string FormatHistoryRow(const HistoryRow& row);

// A row read from a file; its texts point into the file's bytes or the reader's own buffers
// and last until the next row is read.
struct HistoryRowView {
  int64_t bucketMs = 0;
  std::string_view address, port, name;
  int64_t players = 0;

  bool IsTotal() const { return address == kTotalAddress && port == kTotalPort; }
};

// Reads the rows of a file's bytes in file order, one row a line. A line without its LF (a
// write cut short) is no row; so is every line that is not five fields of a bucket time (a
// whole 5 minutes), a non-empty address, a port, any name and players 0..kMaxRowPlayers
// in digits: the header, a line a person broke, bytes that are no history at all. A field
// in quotes ends with its closing quote; one whose quote stays open to the line's end makes
// no row, so whatever a cut line holds, it can never join the lines after it. A CR before
// the LF is dropped (a spreadsheet's CR LF). Time grows with the bytes' length only.
class HistoryRowReader {
 public:
  explicit HistoryRowReader(std::string_view bytes) : bytes_(bytes) {}
  // The next row; false at the end.
  bool Next(HistoryRowView& row);

 private:
  // The fields of one line; false when it is not five of them, each well formed.
  bool ReadFields(std::string_view line);
  bool IsRow(HistoryRowView& row) const;

  static constexpr size_t kFields = 5;
  std::string_view bytes_;
  size_t at_ = 0;
  std::array<std::string_view, kFields> fields_;
  std::array<std::string, kFields> unquoted_;  // a quoted field without its quotes
};

}  // namespace quorvex
