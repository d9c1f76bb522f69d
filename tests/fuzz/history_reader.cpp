// A history file as anything may have left it (the input), in either form: the reader takes
// only rows it could have written, a row it read writes and reads back the same in both
// forms, rows appended in the file's form after any bytes at all (a write cut short, an edit,
// garbage) are read back whole and last, and the chart of what was read keeps to its range.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "history/history_chart.h"
#include "history/history_csv.h"
#include "history/player_history.h"
#include "history/utc_time.h"
#include "tests/history/read_rows.h"

namespace quorvex::fuzz {
namespace {

using testing::ReadAllRows;

// The file's first line in `form`: what tells the reader the form.
std::string_view Header(HistoryForm form) { return form == HistoryForm::Spreadsheet ? kSpreadsheetHeader : kPlainHeader; }

void CheckRowsRead(const std::vector<HistoryRow>& rows) {
  for (const HistoryRow& row : rows) {
    Require(BucketStart(row.bucketMs) == row.bucketMs, "a row's time is the start of a bucket");
    Require(!row.address.empty(), "a row has an address");
    Require(row.players >= 0 && row.players <= kMaxRowPlayers, "a row's players are 0..kMaxRowPlayers");
    HistoryRow asWritten = row;
    asWritten.address = TextAsWritten(row.address);
    asWritten.port = TextAsWritten(row.port);
    asWritten.name = TextAsWritten(row.name);
    for (const HistoryForm form : {HistoryForm::Plain, HistoryForm::Spreadsheet}) {
      Require(ReadAllRows(std::string(Header(form)) + FormatHistoryRow(row, form)) == std::vector<HistoryRow>{asWritten},
              "a row read writes and reads back in either form");
    }
  }
}

// Rows whose texts come from the input too, so quotes, commas and line breaks are in them.
std::vector<HistoryRow> RowsToAppend(std::string_view bytes) {
  const std::string text(bytes.substr(0, std::min<size_t>(bytes.size(), 24)));
  const int64_t at = 1796723700000;
  std::vector<HistoryRow> rows = {{at, "*", "0", "", 7}, {at, "10.0.0.1", "27015", text, 3}};
  if (!text.empty()) rows.push_back({at + kBucketMs, text, text, "\"" + text + ",", 4});
  if (!text.empty()) rows.push_back({at + kBucketMs, "'" + text, "=" + text, "\t'" + text + ";", 5});
  for (HistoryRow& row : rows) {
    row.address = TextAsWritten(row.address);
    row.port = TextAsWritten(row.port);
    row.name = TextAsWritten(row.name);
  }
  return rows;
}

void CheckChart(const std::vector<HistoryRow>& rows) {
  if (rows.empty()) return;
  HistoryChartBuilder builder(ChartRange::Day, rows.back().bucketMs);
  for (const HistoryRow& row : rows) builder.Add({row.bucketMs, row.address, row.port, row.name, row.players});
  const HistoryChart chart = builder.Build([](int64_t at) { return static_cast<int32_t>(at % 1500) - 720; });
  Require(!chart.series.empty() && chart.series.size() <= 6 && chart.series[0].total, "the total and up to 5 servers");
  for (const ChartSeries& series : chart.series) {
    for (const ChartSegment& segment : series.segments) {
      Require(segment.fromMs >= chart.startMs && !segment.players.empty() &&
                  segment.fromMs + static_cast<int64_t>(segment.players.size()) * kBucketMs <= chart.endMs,
              "every segment lies in the range");
      Require(std::all_of(segment.players.begin(), segment.players.end(),
                          [&](int64_t players) { return players >= 0 && players <= chart.playerTop; }),
              "every count lies on the player axis");
    }
  }
}

}  // namespace
}  // namespace quorvex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvex;
  const std::string_view file = fuzz::Bytes(data, size);
  const std::vector<HistoryRow> rows = fuzz::ReadAllRows(file);
  fuzz::CheckRowsRead(rows);
  fuzz::CheckChart(rows);

  // Appended as the program appends: a new file in the spreadsheet form, any other in its own.
  const std::vector<HistoryRow> appended = fuzz::RowsToAppend(file);
  const std::optional<char> last = file.empty() ? std::nullopt : std::optional<char>(file.back());
  const HistoryForm form = file.empty() ? HistoryForm::Spreadsheet : FormOfHistoryFile(file);
  const std::vector<HistoryRow> after = fuzz::ReadAllRows(std::string(file) + AppendBytes(last, appended, form));
  fuzz::Require(after.size() >= appended.size() && std::equal(appended.begin(), appended.end(), after.end() - appended.size()),
                "rows appended after any bytes are read back whole, last");
  return 0;
}
