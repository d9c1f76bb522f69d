// Quorvex.ini: five CR LF lines of key, "=" and value, matched by position, then the
// optional lines matched by key.
#include "settings/ini_file.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/files.h"
#include "common/numbers.h"
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
constexpr std::u16string_view kWatchKey = u"watch";
constexpr size_t kMaxWatchLines = 32;
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

// Keys as Windows treats them in its own .ini files: letter case does not matter.
bool SameKey(const Text& key, std::u16string_view wanted) {
  const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; };
  return std::equal(key.begin(), key.end(), wanted.begin(), wanted.end(),
                    [&](char16_t a, char16_t b) { return lower(a) == lower(b); });
}

// The value after the first "=", trimmed of blanks, when the key before it is `key`, blanks
// and letter case aside. A value may hold "=" (a URL's query), so it runs to the line's end.
std::optional<Text> ValueOfKeyedLine(const Text& line, std::u16string_view key) {
  const size_t equals = line.find(u'=');
  if (equals == Text::npos || !SameKey(TrimBlanks(line.substr(0, equals)), key)) return std::nullopt;
  return TrimBlanks(line.substr(equals + 1));
}

// The value of the first line after the five with `key`; nothing when no line has it.
std::optional<Text> KeyedValue(const std::vector<Text>& lines, std::u16string_view key) {
  for (size_t i = kPositionalLines; i < lines.size(); ++i) {
    if (auto value = ValueOfKeyedLine(lines[i], key)) return value;
  }
  return std::nullopt;
}

// "Quorvex.ini line 7 "watch=" has an empty pattern; it is ignored"
std::string IgnoredLineMessage(const std::vector<Text>& lines, size_t lineIndex, const std::string& why) {
  const Text& line = lines[lineIndex];
  const Text quoted = CutUnits(line, kQuotedLineUnits) + (line.size() > kQuotedLineUnits ? u"..." : u"");
  return "Quorvex.ini line " + std::to_string(lineIndex + 1) + " \"" + ToUtf8(quoted) + "\" " + why + "; it is ignored";
}

// The patterns of the watch= lines after the five, and a message for each one left out.
void ReadWatchLines(const std::vector<Text>& lines, Settings& settings) {
  settings.watchPatterns.clear();
  settings.ignoredLines.clear();
  size_t watchLines = 0;
  for (size_t i = kPositionalLines; i < lines.size(); ++i) {
    const std::optional<Text> pattern = ValueOfKeyedLine(lines[i], kWatchKey);
    if (!pattern) continue;
    ++watchLines;
    if (watchLines > kMaxWatchLines) {
      settings.ignoredLines.push_back(IgnoredLineMessage(lines, i, "is a watch= line after the 32nd"));
    } else if (pattern->empty()) {
      settings.ignoredLines.push_back(IgnoredLineMessage(lines, i, "has an empty pattern"));
    } else if (CountCharacters(*pattern) > kMaxPatternCharacters) {
      settings.ignoredLines.push_back(IgnoredLineMessage(lines, i, "has a pattern over 64 characters"));
    } else {
      settings.watchPatterns.push_back(*pattern);
    }
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
  ReadWatchLines(lines, settings);
  if (auto master = KeyedValue(lines, kMasterKey)) settings.master = std::move(master);
  if (auto url = KeyedValue(lines, kLatestVersionUrlKey)) settings.latestVersionUrl = std::move(url);
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
