// The lines of the history files in both forms: RFC 4180 quoting, the spreadsheet form's
// mark, and a reader that reads back what either form wrote and takes only whole rows from
// torn, edited and hostile files.
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

constexpr HistoryForm kPlain = HistoryForm::Plain, kSpreadsheet = HistoryForm::Spreadsheet;

TEST(CsvField, IsQuotedOnlyWhenItHoldsACommaAQuoteOrALineBreakAndForSpreadsheetsASemicolonOrATab) {
  const struct {
    std::string text, plain, spreadsheet;
  } cases[] = {
      {"", "", ""},
      {"Alpha", "Alpha", "Alpha"},
      {" blanks kept ", " blanks kept ", " blanks kept "},
      {"a,b", "\"a,b\"", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\"", "\"say \"\"hi\"\"\""},
      {"\"", "\"\"\"\"", "\"\"\"\""},
      {"two\nlines", "\"two\nlines\"", "\"two\nlines\""},
      {"cr\r", "\"cr\r\"", "\"cr\r\""},
      {"[EU] Invasion; 24/7", "[EU] Invasion; 24/7", "\"[EU] Invasion; 24/7\""},
      {"tab\there", "tab\there", "\"tab\there\""},
      {"'=x", "'=x", "'=x"},
      {"\xC3\x85sa \xF0\x9F\x98\x80", "\xC3\x85sa \xF0\x9F\x98\x80", "\xC3\x85sa \xF0\x9F\x98\x80"},
  };
  for (const auto& [text, plain, spreadsheet] : cases) {
    EXPECT_EQ(CsvField(text, kPlain), plain) << text;
    EXPECT_EQ(CsvField(text, kSpreadsheet), spreadsheet) << text;
  }
}

// What Excel takes for a formula, and the mark itself, get the mark; nothing else does.
TEST(MarkForSpreadsheets, MarksWhatExcelTakesForAFormulaAndALeadingApostrophe) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"=AC= Night Ops", "'=AC= Night Ops"},
      {"-=[ABC]=- Rifles", "'-=[ABC]=- Rifles"},
      {"+18 Hardcore", "'+18 Hardcore"},
      {"@Home", "'@Home"},
      {"\tTabbed", "'\tTabbed"},
      {"\rCr", "'\rCr"},
      {"'Nam Vets", "''Nam Vets"},
      {"'", "''"},
      {"Night Ops =AC=", "Night Ops =AC="},
      {" =x", " =x"},
      {"[EU] Night Owls", "[EU] Night Owls"},
      {"\xC3\x96stra Fronten", "\xC3\x96stra Fronten"},
  };
  for (const auto& [text, marked] : cases) EXPECT_EQ(MarkForSpreadsheets(text), marked) << text;
}

TEST(TextAsWritten, MakesEachLineBreakAndEveryOtherControlCharacterButTabABlank) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {"plain", "plain"}, {"a\nb", "a b"}, {"a\r\nb", "a b"}, {"a\rb", "a b"},
      {"\n\r", "  "}, {"\r\r\n\n", "   "}, {"end\r", "end "}, {"end\r\n", "end "},
      {"a\tb", "a\tb"}, {"a\x01z", "a z"}, {"\x1F\x0B\x0C", "   "}, {"nul\0"s, "nul "}, {"del\x7F", "del "},
      {"c1\xC2\x80\xC2\x85\xC2\x9F", "c1   "},                      // U+0080, NEL, U+009F: one blank each
      {"\xC2\xA0nbsp \xC2\xA9", "\xC2\xA0nbsp \xC2\xA9"},           // U+00A0 and U+00A9 are no controls
      {"\xE2\x80\x8Dzwj \xE6\x97\xA5", "\xE2\x80\x8Dzwj \xE6\x97\xA5"},  // nor is U+200D or a CJK character
      {"cut \xC2", "cut \xC2"},                                          // a lead byte at the end stays
  };
  for (const auto& [text, written] : cases) EXPECT_EQ(TextAsWritten(text), written) << text;
}

TEST(FormatHistoryRow, WritesTimeAddressPortNameAndPlayersEndedByLfInEitherForm) {
  EXPECT_EQ(FormatHistoryRow(Row("127.0.0.2", "40000", "Alpha & Co", 12), kPlain),
            "2026-12-08T09:55Z,127.0.0.2,40000,Alpha & Co,12\n");
  EXPECT_EQ(FormatHistoryRow(Row("127.0.0.2", "40000", "Alpha & Co", 12), kSpreadsheet),
            "2026-12-08 09:55,127.0.0.2,40000,Alpha & Co,12\n");
  EXPECT_EQ(FormatHistoryRow(Row("*", "0", "", 0), kPlain), "2026-12-08T09:55Z,*,0,,0\n");
  EXPECT_EQ(FormatHistoryRow(Row("*", "0", "", 0), kSpreadsheet), "2026-12-08 09:55,*,0,,0\n");
  EXPECT_EQ(FormatHistoryRow(Row("a,b", "x\"", "n\r\n\"", 3), kPlain), "2026-12-08T09:55Z,\"a,b\",\"x\"\"\",\"n \"\"\",3\n");
  // The plain form writes the texts as they are, the spreadsheet form marks every one of them.
  const HistoryRow hostile = Row("=1+1", "-1", "=HYPERLINK(\"http://127.0.0.1/x\",\"Click\")\x01", 5);
  EXPECT_EQ(FormatHistoryRow(hostile, kPlain), "2026-12-08T09:55Z,=1+1,-1,\"=HYPERLINK(\"\"http://127.0.0.1/x\"\",\"\"Click\"\") \",5\n");
  EXPECT_EQ(FormatHistoryRow(hostile, kSpreadsheet),
            "2026-12-08 09:55,'=1+1,'-1,\"'=HYPERLINK(\"\"http://127.0.0.1/x\"\",\"\"Click\"\") \",5\n");
  EXPECT_EQ(FormatHistoryRow(Row("10.0.0.1", "1", "\tSemi; colon", 1), kSpreadsheet),
            "2026-12-08 09:55,10.0.0.1,1,\"'\tSemi; colon\",1\n");
}

TEST(FormOfHistoryFile, IsTheSpreadsheetFormOnlyAfterAByteOrderMarkAtTheStart) {
  EXPECT_EQ(FormOfHistoryFile(kSpreadsheetHeader), kSpreadsheet);
  EXPECT_EQ(FormOfHistoryFile("\xEF\xBB\xBF"), kSpreadsheet);
  EXPECT_EQ(FormOfHistoryFile(kPlainHeader), kPlain);
  EXPECT_EQ(FormOfHistoryFile(""), kPlain);
  EXPECT_EQ(FormOfHistoryFile("\xEF\xBB"), kPlain);
  EXPECT_EQ(FormOfHistoryFile("x\xEF\xBB\xBF"), kPlain);
}

// Whatever the writer writes, the reader reads back, one row per row, in either form: the
// spreadsheet form's marks dropped, the plain form's apostrophes kept.
TEST(HistoryRowReader, ReadsBackEveryRowTheWriterWritesInEitherForm) {
  const std::vector<HistoryRow> rows = {
      Row("*", "0", "", 40), Row("10.0.0.1", "27015", "Plain", 1),
      Row("10.0.0.2", "port", "\"quoted\", with, commas", 7),
      Row("10.0.0.3", "1", "\"", 999'999'999'999),
      Row("10.0.0.4", "", "", 5, kDec8At0955 + 300'000), Row("a\"b", "\"", "\"\"", 0),
      Row("10.0.0.5", "1", "=AC= Night Ops", 2), Row("10.0.0.6", "1", "-=[ABC]=- Rifles", 2),
      Row("10.0.0.7", "1", "+18 Hardcore", 2), Row("10.0.0.8", "1", "@Home", 2),
      Row("10.0.0.9", "1", "=HYPERLINK(\"http://127.0.0.1/x\",\"Click\")", 2),
      Row("10.0.0.10", "1", "'Nam Vets", 2), Row("'", "'", "'", 2), Row("''", "=", "''=", 2),
      Row("-1", "+2", "\tTab\tand; semicolon", 2), Row("10.0.0.11", "1", "\xC3\x96stra Fronten \xE6\x97\xA5\xE6\x9C\xAC", 2),
  };
  for (const HistoryForm form : {kPlain, kSpreadsheet}) {
    std::string bytes(form == kSpreadsheet ? kSpreadsheetHeader : kPlainHeader);
    for (const HistoryRow& row : rows) bytes += FormatHistoryRow(row, form);
    EXPECT_EQ(ReadAllRows(bytes), rows) << bytes;
  }
}

// Each file is read in its own form: a leading ' is the mark only after the byte order mark;
// times are read written either way.
TEST(HistoryRowReader, DropsTheMarkOnlyInTheSpreadsheetFormAndReadsTimesWrittenEitherWay) {
  const std::string lines = "2026-12-08T09:55Z,'10.0.0.1,'1,'=AC=,3\n2026-12-08 10:00,'',1,''Nam,4\n";
  EXPECT_EQ(ReadAllRows(std::string(kPlainHeader) + lines),
            (std::vector<HistoryRow>{Row("'10.0.0.1", "'1", "'=AC=", 3), Row("''", "1", "''Nam", 4, kDec8At0955 + 300'000)}));
  EXPECT_EQ(ReadAllRows(std::string(kSpreadsheetHeader) + lines),
            (std::vector<HistoryRow>{Row("10.0.0.1", "1", "=AC=", 3), Row("'", "1", "'Nam", 4, kDec8At0955 + 300'000)}));
  EXPECT_EQ(ReadAllRows("\xEF\xBB\xBF" + lines), ReadAllRows(std::string(kSpreadsheetHeader) + lines));  // no header
  // An address that is only the mark is no address; a time of another spelling is no time.
  const std::pair<std::string, size_t> cases[] = {
      {"2026-12-08 09:55,',1,A,3\n", 0},        {"2026-12-08 09:55,'x,1,A,3\n", 1},
      {"2026-12-08 09:55Z,x,1,A,3\n", 0},       {"2026-12-08T09:55,x,1,A,3\n", 0},
      {"2026-12-08 9:55,x,1,A,3\n", 0},         {"2026-12-08  09:55,x,1,A,3\n", 0},
      {"2026-12-08 09:57,x,1,A,3\n", 0},        {"2026-02-30 09:55,x,1,A,3\n", 0},
      {"2026-12-08 09:55:00,x,1,A,3\n", 0},     {"\"2026-12-08 09:55\",x,1,A,3\n", 1},
  };
  for (const auto& [line, count] : cases) EXPECT_EQ(ReadAllRows(std::string(kSpreadsheetHeader) + line).size(), count) << line;
}

// What a crash, a full disk, an editor or a stranger can leave: only whole rows are read,
// each a line of its own.
TEST(HistoryRowReader, TakesOnlyWholeRowsFromTornEditedAndHostileFiles) {
  const std::string good = "2026-12-08T09:55Z,10.0.0.1,1,A,3\n";
  const std::vector<HistoryRow> one = {Row("10.0.0.1", "1", "A", 3)};
  const std::pair<std::string, std::vector<HistoryRow>> cases[] = {
      {"", {}},
      {"\n\n\n", {}},
      {std::string(kPlainHeader), {}},
      {std::string(kSpreadsheetHeader), {}},
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
