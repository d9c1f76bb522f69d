// Quorvex.ini: five CR LF lines of key, "=" and value, matched by position, then the
// optional lines matched by key, each ended by LF with or without a CR before it.
#include "settings/ini_file.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/files.h"
#include "common/numbers.h"
#include "watch/alert_rule.h"
#include "watch/listed_servers.h"
#include "watch/wildcard.h"

namespace quorvex {

namespace {

// Nothing the program writes comes near this; a bigger file is not ours and is not read.
constexpr int64_t kMaxSettingsBytes = 64 * 1024;

// The limit a missing file starts with, and the index it has in memory after start-up.
constexpr int16_t kDefaultPlayerLimit = 4;
constexpr int16_t kDefaultPlayerLimitIndex = 1;

constexpr size_t kPositionalLines = 5;
constexpr std::u16string_view kMasterKey = u"master", kLatestVersionUrlKey = u"latestVersionUrl";
constexpr std::u16string_view kWatchKey = u"watch", kAlertKey = u"alert", kNotifyCommandKey = u"notifyCommand";
constexpr std::u16string_view kHistoryKey = u"history";
constexpr std::u16string_view kQuietWhilePlayingKey = u"quietWhilePlaying";
constexpr std::u16string_view kIconNumberKey = u"iconNumber";
constexpr int32_t kMaxHistoryDays = 366;
constexpr size_t kMaxWatchLines = 32, kMaxAlertLines = 32;
// How much of an ignored line its report quotes.
constexpr size_t kQuotedLineUnits = 80;

Text SettingsPath(const Text& programFolder) { return JoinPath(programFolder, u"Quorvex.ini"); }

std::vector<Text> SplitAtCrLf(const Text& text) {
  std::vector<Text> lines;
  size_t start = 0;
  for (size_t found; (found = text.find(u"\r\n", start)) != Text::npos; start = found + 2)
    lines.push_back(text.substr(start, found - start));
  lines.push_back(text.substr(start));
  return lines;
}

// The lines after the five as a player's editor sees them: ended by LF, one CR before it
// dropped, so that a line appended with LF alone (as Linux editors and "echo >>" write) is a
// line of its own.
std::vector<Text> SplitLinesAfterFive(const std::string& bytes) {
  std::vector<Text> lines;
  const Text text = FromUtf8(bytes);
  size_t start = 0;
  for (size_t end; start < text.size(); start = end + 1) {
    end = std::min(text.find(u'\n', start), text.size());
    const bool crBefore = end > start && text[end - 1] == u'\r';
    lines.push_back(text.substr(start, end - start - (crBefore ? 1 : 0)));
  }
  return lines;
}

// The text between the first "=" and the next "=" (or the end); the key is not looked at.
Text ValueOfLine(const std::vector<Text>& lines, size_t lineIndex) {
  if (lineIndex >= lines.size())
    throw FileError("Quorvex.ini has no line " + std::to_string(lineIndex + 1));
  const Text& line = lines[lineIndex];
  const size_t firstEquals = line.find(u'=');
  if (firstEquals == Text::npos)
    throw FileError("Quorvex.ini line " + std::to_string(lineIndex + 1) + " has no \"=\"");
  const size_t nextEquals = line.find(u'=', firstEquals + 1);
  const size_t length = nextEquals == Text::npos ? Text::npos : nextEquals - firstEquals - 1;
  return line.substr(firstEquals + 1, length);
}

Text TrimBlanks(const Text& text) {
  const size_t first = text.find_first_not_of(u" \t");
  if (first == Text::npos) return u"";
  return text.substr(first, text.find_last_not_of(u" \t") - first + 1);
}

// The value after the first "=", trimmed of blanks, when the key before it is `key`, blanks
// and letter case aside (as Windows reads keys in its own .ini files). A value may hold "="
// (a URL's query), so it runs to the line's end.
std::optional<Text> ValueOfKeyedLine(const Text& line, std::u16string_view key) {
  const size_t equals = line.find(u'=');
  if (equals == Text::npos || FoldAsciiCase(TrimBlanks(line.substr(0, equals))) != FoldAsciiCase(key)) {
    return std::nullopt;
  }
  return TrimBlanks(line.substr(equals + 1));
}

// The value of the first line after the five with `key`; nothing when no line has it.
std::optional<Text> KeyedValue(const std::vector<Text>& linesAfterFive, std::u16string_view key) {
  for (const Text& line : linesAfterFive) {
    if (auto value = ValueOfKeyedLine(line, key)) return value;
  }
  return std::nullopt;
}

// "Quorvex.ini line 7 "watch=" has an empty pattern; it is ignored"
std::string IgnoredLineMessage(const Text& line, size_t lineNumber, const std::string& why) {
  const Text quoted = CutUnits(line, kQuotedLineUnits) + (line.size() > kQuotedLineUnits ? u"..." : u"");
  return "Quorvex.ini line " + std::to_string(lineNumber) + " \"" + ToUtf8(quoted) + "\" " + why + "; it is ignored";
}

// Each Take...Line uses a line's value, or says why it is left out.
std::string TakeWatchLine(const Text& pattern, size_t& watchLines, Settings& settings) {
  if (++watchLines > kMaxWatchLines) return "is a watch= line after the 32nd";
  if (pattern.empty()) return "has an empty pattern";
  if (CountCharacters(pattern) > kMaxPatternCharacters) return "has a pattern over 64 characters";
  settings.watchPatterns.push_back(pattern);
  return {};
}

std::string TakeAlertLine(const Text& value, size_t& alertLines, Settings& settings) {
  if (++alertLines > kMaxAlertLines) return "is an alert= line after the 32nd";
  std::string problem;
  if (auto rule = ParseAlertRule(value, problem)) settings.alertRules.push_back(std::move(*rule));
  return problem;
}

// The first command wins, as the first master= does.
std::string TakeNotifyCommandLine(const Text& command, Settings& settings) {
  if (command.empty()) return "has no command";
  if (settings.notifyCommand) return "is a notifyCommand= line after the first";
  settings.notifyCommand = command;
  return {};
}

// Only the first history= line counts, usable or not: a later one that is usable does not
// quietly stand in for a mistyped first one.
std::string TakeHistoryLine(const Text& days, bool& historySeen, Settings& settings) {
  if (historySeen) return "is a history= line after the first";
  historySeen = true;
  const std::optional<int32_t> value = WholeNumber(days);
  if (!value || *value < 1 || *value > kMaxHistoryDays) return "is not a number of days from 1 to 366";
  settings.historyDays = *value;
  return {};
}

std::string TakeQuietWhilePlayingLine(const Text& value, Settings& settings) {
  if (value != u"1") return "is not quietWhilePlaying=1";
  settings.quietWhilePlaying = true;
  return {};
}

// The first usable line wins; a mistyped one before it does not keep the number off.
std::string TakeIconNumberLine(const Text& value, Settings& settings) {
  std::optional<IconNumber> number;
  if (FoldAsciiCase(value) == u"busiest") number = IconNumber::kBusiest;
  if (FoldAsciiCase(value) == u"watched") number = IconNumber::kWatched;
  if (!number) return "is neither \"busiest\" nor \"watched\"";
  if (settings.iconNumber) return "is an iconNumber= line after the first";
  settings.iconNumber = number;
  return {};
}

// The watch=, alert=, notifyCommand=, history=, quietWhilePlaying= and iconNumber= lines after the five, and a message for each one
// left out, in the order of the file.
void ReadOptInLines(const std::vector<Text>& linesAfterFive, Settings& settings) {
  settings.watchPatterns.clear();
  settings.alertRules.clear();
  settings.notifyCommand.reset();
  settings.historyDays.reset();
  settings.quietWhilePlaying = false;
  settings.iconNumber.reset();
  settings.ignoredLines.clear();
  size_t watchLines = 0, alertLines = 0;
  bool historySeen = false;
  for (size_t i = 0; i < linesAfterFive.size(); ++i) {
    const Text& line = linesAfterFive[i];
    std::string problem;
    if (auto pattern = ValueOfKeyedLine(line, kWatchKey)) {
      problem = TakeWatchLine(*pattern, watchLines, settings);
    } else if (auto rule = ValueOfKeyedLine(line, kAlertKey)) {
      problem = TakeAlertLine(*rule, alertLines, settings);
    } else if (auto command = ValueOfKeyedLine(line, kNotifyCommandKey)) {
      problem = TakeNotifyCommandLine(*command, settings);
    } else if (auto days = ValueOfKeyedLine(line, kHistoryKey)) {
      problem = TakeHistoryLine(*days, historySeen, settings);
    } else if (auto quiet = ValueOfKeyedLine(line, kQuietWhilePlayingKey)) {
      problem = TakeQuietWhilePlayingLine(*quiet, settings);
    } else if (auto number = ValueOfKeyedLine(line, kIconNumberKey)) {
      problem = TakeIconNumberLine(*number, settings);
    }
    if (!problem.empty()) settings.ignoredLines.push_back(IgnoredLineMessage(line, kPositionalLines + 1 + i, problem));
  }
}

// The bytes after the fifth CR LF; none when the file has fewer lines.
std::string BytesAfterFiveLines(const std::string& bytes) {
  size_t start = 0;
  for (size_t line = 0; line < kPositionalLines; ++line) {
    const size_t lineEnd = bytes.find("\r\n", start);
    if (lineEnd == std::string::npos) return {};
    start = lineEnd + 2;
  }
  return bytes.substr(start);
}

Text FormatAbsolute(int64_t value) { return FormatPlain(std::llabs(value)); }

// The absolute value of -32768 is no 16-bit number the reader would take back.
Text FormatFlag(int16_t value) {
  const int64_t magnitude = std::llabs(int64_t{value});
  return FormatPlain(magnitude > INT16_MAX ? 1 : magnitude);
}

std::string ReadableBytes(const Text& path) {
  try {
    return ReadFileBytes(path, kMaxSettingsBytes);
  } catch (const FileError& error) {
    throw UnreadableSettingsFile(error.what());
  }
}

}  // namespace

int32_t PlayerLimit(int16_t minPlayersIndex) {
  const int exponent = minPlayersIndex + 1;
  // 2^31 and up do not fit; a negative exponent is a fraction of at most 1/2, which rounds
  // (half to even) to 0.
  if (exponent > 30) throw OverflowError("player limit 2^" + std::to_string(exponent) + " does not fit");
  if (exponent < 0) return 0;
  return int32_t{1} << exponent;
}

void ReadSettings(const Text& programFolder, Settings& settings) {
  const Text path = SettingsPath(programFolder);
  if (CountsAsMissing(path)) {
    settings.minPlayers = kDefaultPlayerLimit;  // a count, as if read from a file
    settings.checkTime = 20;
    settings.sound = 1;
    settings.autostart = 1;
    settings.linesAfterFive.clear();  // a first start writes the five lines alone
    Settings asWritten = settings;
    asWritten.minPlayers = kDefaultPlayerLimitIndex;
    WriteSettings(programFolder, asWritten);
    return;
  }
  const std::string bytes = ReadableBytes(path);
  // CR and LF are never part of a longer UTF-8 sequence, so the bytes and the decoded text
  // have their line ends in the same places.
  const std::vector<Text> lines = SplitAtCrLf(FromUtf8(bytes));
  settings.linesAfterFive = BytesAfterFiveLines(bytes);
  const std::vector<Text> linesAfterFive = SplitLinesAfterFive(settings.linesAfterFive);
  ReadOptInLines(linesAfterFive, settings);
  if (auto master = KeyedValue(linesAfterFive, kMasterKey)) settings.master = std::move(master);
  if (auto url = KeyedValue(linesAfterFive, kLatestVersionUrlKey)) settings.latestVersionUrl = std::move(url);
  // Each field is stored as soon as it converts, so a bad line leaves the earlier ones read.
  settings.minPlayers = ToInt16(ValueOfLine(lines, 0));
  settings.checkTime = ToInt32(ValueOfLine(lines, 1));
  settings.sound = ToInt16(ValueOfLine(lines, 2));
  settings.autostart = ToInt16(ValueOfLine(lines, 3));
  settings.sort = ToInt16(ValueOfLine(lines, 4));
}

void WriteSettings(const Text& programFolder, const Settings& settings) {
  Text text = u"minPlayers=" + FormatSignedBlank(PlayerLimit(settings.minPlayers)) + u"\r\n" +
              u"checkTime=" + FormatSignedBlank(settings.checkTime) + u"\r\n" +
              u"sound=" + FormatFlag(settings.sound) + u"\r\n" +
              u"autostart=" + FormatFlag(settings.autostart) + u"\r\n" +
              u"sort=" + FormatAbsolute(settings.sort) + u"\r\n";
  // The five lines are ASCII; the rest goes back byte for byte, even bytes that are no UTF-8.
  ReplaceFileBytes(SettingsPath(programFolder), ToUtf8(text) + settings.linesAfterFive);
}

}  // namespace quorvex
