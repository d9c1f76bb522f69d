// Quorvex.ini: five CR LF lines of key, "=" and value, matched by position, then the
// optional lines matched by key.
#include "settings/ini_file.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/files.h"
#include "common/numbers.h"

namespace quorvex {

namespace {

// Nothing the program writes comes near this; a bigger file is not ours and is not read.
constexpr int64_t kMaxSettingsBytes = 64 * 1024;

// The limit a missing file starts with, and the index it has in memory after start-up.
constexpr int16_t kDefaultPlayerLimit = 4;
constexpr int16_t kDefaultPlayerLimitIndex = 1;

constexpr size_t kPositionalLines = 5;
constexpr std::u16string_view kMasterKey = u"master", kLatestVersionUrlKey = u"latestVersionUrl";

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

// The value after the first "=" of the first line after the five whose key, blanks and
// letter case aside, is `key`; nothing when no line has it. A value may hold "=" (a URL's
// query), so it runs to the end of the line.
std::optional<Text> KeyedValue(const std::vector<Text>& lines, std::u16string_view key) {
  for (size_t i = kPositionalLines; i < lines.size(); ++i) {
    const size_t equals = lines[i].find(u'=');
    if (equals != Text::npos && SameKey(TrimBlanks(lines[i].substr(0, equals)), key))
      return TrimBlanks(lines[i].substr(equals + 1));
  }
  return std::nullopt;
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
    Settings asWritten = settings;
    asWritten.minPlayers = kDefaultPlayerLimitIndex;
    WriteSettings(programFolder, asWritten);
    return;
  }
  const std::vector<Text> lines = SplitAtCrLf(FromUtf8(ReadableBytes(path)));
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
  if (settings.master) text += Text(kMasterKey) + u"=" + *settings.master + u"\r\n";
  if (settings.latestVersionUrl) text += Text(kLatestVersionUrlKey) + u"=" + *settings.latestVersionUrl + u"\r\n";
  // UTF-8 as the file is read: the five lines are ASCII, the optional values come back as read.
  ReplaceFileBytes(SettingsPath(programFolder), ToUtf8(text));
}

}  // namespace quorvex
