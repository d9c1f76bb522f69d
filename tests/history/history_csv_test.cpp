// The lines of the history files: RFC 4180 quoting, and a reader that takes only whole rows
// from torn, edited and hostile files.
#include "history/history_csv.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/history/read_rows.h"

namespace quorvex {
namespace {

using namespace std::string_literals;

constexpr int64_t kDec8At0955 = 1796723700000;

HistoryRow Row(std::string address, std::string port, std::string name, int64_t players, int64_t at = kDec8At0955) {
  return {at, std::move(address), std::move(port), std::move(name), players};
}

using testing::ReadAllRows;

TEST(CsvField, IsQuotedOnlyWhenItHoldsACommaAQuoteOrALineBreak) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"Alpha", "Alpha"},
      {" blanks kept ", " blanks kept "},
      {"[EU] Invasion; 24/7", "[EU] Invasion; 24/7"},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"\"", "\"\"\"\""},
      {"two\nlines", "\"two\nlines\""},
      {"cr\r", "\"cr\r\""},
      {"\xC3\x85sa \xF0\x9F\x98\x80", "\xC3\x85sa \xF0\x9F\x98\x80"},
  };
  for (const auto& [text, field] : cases) EXPECT_EQ(CsvField(text), field) << text;
}

TEST(FormatHistoryRow, WritesTimeAddressPortNameAndPlayersEndedByLf) {
  EXPECT_EQ(FormatHistoryRow(Row("127.0.0.2", "40000", "Alpha & Co", 12)),
            "2026-12-08T09:55Z,127.0.0.2,40000,Alpha & Co,12\n");
  EXPECT_EQ(FormatHistoryRow(Row("*", "0", "", 0)), "2026-12-08T09:55Z,*,0,,0\n");
  EXPECT_EQ(FormatHistoryRow(Row("a,b", "x\"", "n\r\n\"", 3)), "2026-12-08T09:55Z,\"a,b\",\"x\"\"\",\"n \"\"\",3\n");
}

TEST(OneLine, MakesEachLineBreakABlank) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {"plain", "plain"}, {"a\nb", "a b"}, {"a\r\nb", "a b"}, {"a\rb", "a b"},
      {"\n\r", "  "}, {"\r\r\n\n", "   "}, {"end\r", "end "}, {"end\r\n", "end "},
  };
  for (const auto& [text, line] : cases) EXPECT_EQ(OneLine(text), line) << text;
}

// Whatever the writer writes, the reader reads back, one row per row.
TEST(HistoryRowReader, ReadsBackEveryRowTheWriterWrites) {
  const std::vector<HistoryRow> rows = {
      Row("*", "0", "", 40), Row("10.0.0.1", "27015", "Plain", 1),
      Row("10.0.0.2", "port", "\"quoted\", with, commas", 7),
      Row("10.0.0.3", "1", "\"", 999'999'999'999),
      Row("10.0.0.4", "", "", 5, kDec8At0955 + 300'000), Row("a\"b", "\"", "\"\"", 0),
  };
  std::string bytes(kHistoryHeader);
  for (const HistoryRow& row : rows) bytes += FormatHistoryRow(row);
  EXPECT_EQ(ReadAllRows(bytes), rows);
}

// What a crash, a full disk, an editor or a stranger can leave: only whole rows are read,
// each a line of its own.
TEST(HistoryRowReader, TakesOnlyWholeRowsFromTornEditedAndHostileFiles) {
  const std::string good = "2026-12-08T09:55Z,10.0.0.1,1,A,3\n";
  const std::vector<HistoryRow> one = {Row("10.0.0.1", "1", "A", 3)};
  const std::pair<std::string, std::vector<HistoryRow>> cases[] = {
      {"", {}},
      {"\n\n\n", {}},
      {std::string(kHistoryHeader), {}},
      {good, one},
      {good.substr(0, good.size() - 1), {}},                      // torn: the last line has no LF
      {good + good.substr(0, 20), one},                           // a torn row after a whole one
      {good + "2026-12-08T09:55Z,10.0.0.1,1,A,12", one},          // a count cut short is no count
      {"2026-12-08T09:55Z,10.0.0.1,1,A,1,\n" + good, one},        // the mark after a cut: six fields
      {"2026-12-08T09:55Z,10.0.0.1,1,\"Bo,\n" + good, one},        // a quote left open by a cut
      {"2026-12-08T09:55Z,10.0.0.1,1,\"Bo\n2026-12-08T09:55Z,x,1,\"Ann\",4\n" + good,
       {Row("x", "1", "Ann", 4), Row("10.0.0.1", "1", "A", 3)}},  // ... before a quoted name
      {"2026-12-08T09:55Z,10.0.0.1,1,A,3\r\n", one},              // a spreadsheet's CR LF
      {"2026-12-08T09:55Z,10.0.0.1,1,\"two\r\nlines\",3\r\n" + good, one},  // a row is one line
      {"2026-12-08T09:55Z,10.0.0.1,1,\"A\"\r\n", {}},             // a name where the count goes
      {"2026-12-08T09:55Z,10.0.0.1,1,\"A\"x,3\n" + good, one},     // text after a closing quote
      {"2026-12-08T09:55Z,10.0.0.1,1,A\n" + good, one},           // four fields
      {"2026-12-08T09:55Z,10.0.0.1,1,A,3,4\n" + good, one},       // six fields
      {"2026-12-08T09:57Z,10.0.0.1,1,A,3\n" + good, one},         // not the start of a bucket
      {"2026-12-08T09:55Z,,1,A,3\n" + good, one},                 // no address
      {"2026-12-08T09:55Z,10.0.0.1,1,A,-3\n" + good, one},
      {"2026-12-08T09:55Z,10.0.0.1,1,A, 3\n" + good, one},
      {"2026-12-08T09:55Z,10.0.0.1,1,A,1000000000000\n" + good, one},  // over 12 digits
      {"2026-12-08T09:55Z,10.0.0.1,1,A,\n" + good, one},
      {"2026-12-08T09:55Z,10.0.0.1,1,A\0B,3\n"s, {Row("10.0.0.1", "1", "A\0B"s, 3)}},
      {"\xFF\xFE garbage \x01\n" + good + "\"\"\"\n", one},
      {"\"" + good, {}},  // a quote opened before everything holds everything
  };
  for (const auto& [bytes, rows] : cases) EXPECT_EQ(ReadAllRows(bytes), rows) << bytes;
}

// Files made to cost: quotes that never close, quotes that close on every line, a million
// commas, a line of a megabyte. Each is read in time that grows with its length only.
TEST(HistoryRowReader, HostileFilesCostTimeInProportionToTheirLength) {
  const size_t n = 1'000'000;  // linear: well under the limit even under the sanitizers; quadratic: hours
  std::string openQuotes, lineQuotes, quotePairs;
  while (openQuotes.size() < n) openQuotes += "a,\"b\n";
  while (lineQuotes.size() < n) lineQuotes += "\"\n";
  while (quotePairs.size() < n) quotePairs += "x,\"\"\"\n";
  const std::string cases[] = {openQuotes, lineQuotes, quotePairs, std::string(n, ','), std::string(n, '"'),
                               std::string(n, 'x') + "\n", std::string(n, '\n')};
  for (const std::string& bytes : cases) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(ReadAllRows(bytes).empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500)) << bytes.substr(0, 8);
  }
}

}  // namespace
}  // namespace quorvex
