// Quorvex.ini as anything may have left it (the input) fails to read only with the program's
// own errors, and gives at most 32 watch patterns and 32 alert rules, no pattern empty, blank
// at an end or over 64 characters, every rule's count 1 to 999, a notify command non-empty. What the writer writes, the reader reads: settings Form1 can hold at Exit (from
// the first 10 bytes a limit index 1..5, any update rate and flags, a sort column 0..5; the
// rest as the lines after the five) read back to the same values, a flag as on or off, and the
// lines after the five go back to the file byte for byte.
#include <algorithm>
#include <cstring>
#include <optional>

#include "common/files.h"
#include "common/numbers.h"
#include "fuzz_support.h"
#include "settings/ini_file.h"
#include "watch/wildcard.h"

namespace quorvex::fuzz {
namespace {

bool TrimmedAndNotEmpty(const Text& text) {
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  return !text.empty() && !blank(text.front()) && !blank(text.back());
}

bool UsablePattern(const Text& pattern) {
  return TrimmedAndNotEmpty(pattern) && CountCharacters(pattern) <= kMaxPatternCharacters;
}

void CheckWatchLines(const Settings& settings) {
  Require(settings.watchPatterns.size() <= 32, "at most 32 watch patterns");
  Require(std::all_of(settings.watchPatterns.begin(), settings.watchPatterns.end(), UsablePattern),
          "every watch pattern is usable");
  Require(settings.alertRules.size() <= 32, "at most 32 alert rules");
  Require(std::all_of(settings.alertRules.begin(), settings.alertRules.end(),
                      [](const AlertRule& rule) {
                        return rule.players >= 1 && rule.players <= kMaxAlertPlayers && UsablePattern(rule.pattern);
                      }),
          "every alert rule is usable");
  Require(!settings.notifyCommand || TrimmedAndNotEmpty(*settings.notifyCommand),
          "a notify command is trimmed and not empty");
  Require(!settings.historyDays || (*settings.historyDays >= 1 && *settings.historyDays <= 366),
          "the days of history kept are 1 to 366");
}

bool SameFlag(int16_t read, int16_t held) { return (read != 0) == (held != 0) && read >= 0; }

}  // namespace
}  // namespace quorvex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvex;
  const Text folder = fuzz::ScratchFolder();
  ReplaceFileBytes(JoinPath(folder, u"Quorvex.ini"), std::string(fuzz::Bytes(data, size)));
  try {
    Settings left;
    ReadSettings(folder, left);
    fuzz::CheckWatchLines(left);
  } catch (const FileError&) {
  } catch (const ConversionError&) {
  } catch (const OverflowError&) {
  }
  if (size < 10) return 0;
  const auto take = [&data](auto value) {
    std::memcpy(&value, data, sizeof value);
    data += sizeof value;
    return value;
  };
  Settings held{.minPlayers = static_cast<int16_t>(1 + take(uint8_t{}) % 5), .checkTime = take(int32_t{}),
                .sound = take(int16_t{}), .autostart = take(int16_t{}),
                .sort = static_cast<int16_t>(take(uint8_t{}) % 6)};
  held.linesAfterFive = std::string(fuzz::Bytes(data, size - 10));
  WriteSettings(folder, held);
  const std::string written = ReadFileBytes(JoinPath(folder, u"Quorvex.ini"), 1 << 20);
  Settings read;
  ReadSettings(folder, read);  // throws, and so fails, if the file does not read back
  fuzz::Require(read.minPlayers == PlayerLimit(held.minPlayers) && read.checkTime == held.checkTime &&
                    read.sort == held.sort,
                "the limit, the update rate and the sort column read back");
  fuzz::Require(fuzz::SameFlag(read.sound, held.sound) && fuzz::SameFlag(read.autostart, held.autostart),
                "sound and autostart read back as on or off");
  fuzz::Require(read.linesAfterFive == held.linesAfterFive && written.ends_with(held.linesAfterFive) &&
                    written.size() - held.linesAfterFive.size() == written.find("sort=") + 8,
                "the lines after the five follow the fifth line's CR LF byte for byte");
  fuzz::CheckWatchLines(read);
  return 0;
}
