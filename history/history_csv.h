// The lines of a history file: a header, then one row a line (time, address, port, name,
// players), RFC 4180 quoting, LF ends, in one of two forms that a file keeps from its start.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex {

// How a file is written. A file keeps the form it was begun in, so a month begun by an older
// Quorvex keeps its form to its end and a script reads one form per file.
enum class HistoryForm {
  // Files begun before spreadsheets were catered for: header kPlainHeader, times like
  // "2026-12-08T09:55Z", texts as they are.
  Plain,
  // Files begun now, which Excel, LibreOffice Calc and Gnumeric open as they should: a UTF-8
  // byte order mark (Excel reads UTF-8 only with it), header kSpreadsheetHeader, times like
  // "2026-12-08 09:55" (a date-time to all three; the header says they are UTC), a text a
  // spreadsheet would take for a formula marked by a leading ' (see MarkForSpreadsheets), and
  // a text holding a ";" or a TAB quoted too (Calc splits at both by default).
  Spreadsheet,
};
inline constexpr std::string_view kPlainHeader = "time,address,port,name,players\n";
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
inline constexpr std::string_view kSpreadsheetHeader = "\xEF\xBB\xBFtime (UTC),address,port,name,players\n";
// A file's form, by its first bytes: kSpreadsheetHeader's byte order mark or not.
HistoryForm FormOfHistoryFile(std::string_view bytes);
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
// quote, a CR or an LF (in the spreadsheet form a ";" or a TAB too); else as it is.
std::string CsvField(std::string_view text, HistoryForm form);
// The text with the mark spreadsheets hide: a leading ' before a text that starts with =, +,
// -, @, TAB or CR (which Excel takes for a formula) or with ' itself (which Excel and Gnumeric
// would hide). Excel and Gnumeric show the text without it; Calc shows it.
std::string MarkForSpreadsheets(std::string_view text);
// The text as the files keep it, UTF-8: each line break (CR LF, CR or LF) and every other
// control character but TAB (C0, DEL, C1) made a blank, so a row is one line and Gnumeric
// opens the file (it refuses one with a control character near its start).
std::string TextAsWritten(std::string text);
// The row's line in `form`, LF included. Its texts are written as TextAsWritten makes them:
// a row is a line, so a row cut short by a crash spoils no other.
std::string FormatHistoryRow(const HistoryRow& row, HistoryForm form);

// A row read from a file; its texts point into the file's bytes or the reader's own buffers
// and last until the next row is read.
struct HistoryRowView {
  int64_t bucketMs = 0;
  std::string_view address, port, name;
  int64_t players = 0;

  bool IsTotal() const { return address == kTotalAddress && port == kTotalPort; }
};

// Reads the rows of a file's bytes in file order, one row a line, in the form the bytes
// begin with. A line without its LF (a write cut short) is no row; so is every line that is
// not five fields of a bucket time (a whole 5 minutes, written either way), a non-empty
// address, a port, any name and players 0..kMaxRowPlayers in digits: the header, a line a
// person broke, bytes that are no history at all. A field in quotes ends with its closing
// quote; one whose quote stays open to the line's end makes no row, so whatever a cut line
// holds, it can never join the lines after it. A CR before the LF is dropped (a
// spreadsheet's CR LF). In the spreadsheet form a text's leading ' is the mark and is
// dropped. Time grows with the bytes' length only.
class HistoryRowReader {
 public:
  explicit HistoryRowReader(std::string_view bytes);
  // The next row; false at the end.
  bool Next(HistoryRowView& row);

 private:
  // The fields of one line; false when it is not five of them, each well formed.
  bool ReadFields(std::string_view line);
  bool IsRow(HistoryRowView& row) const;

  static constexpr size_t kFields = 5;
  std::string_view bytes_;
  HistoryForm form_;
  size_t at_ = 0;
  std::array<std::string_view, kFields> fields_;
  std::array<std::string, kFields> unquoted_;  // a quoted field without its quotes
};

}  // namespace quorvex
