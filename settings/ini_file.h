// The five persisted settings and their file Quorvex.ini beside the executable.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/files.h"
#include "common/text.h"
#include "watch/alert_rule.h"

namespace quorvex {

// What number the tray icon shows: the players on the busiest server (the figure the player
// limit compares) or the watched players online.
enum class IconNumber { kBusiest, kWatched };

struct Settings {
  int16_t minPlayers = 0;  // in memory the player-limit index 1..5; the file holds the limit
  int32_t checkTime = 0;   // seconds
  int16_t sound = 0;       // boolean: 0 off, anything else on
  int16_t autostart = 0;   // boolean
  int16_t sort = 0;        // sort column 0..5
  // Every byte after the fifth line's CR LF as the file held it: the optional lines, any
  // unknown key, comment or blank line. Written back unchanged, so a rewrite never loses
  // or reformats what the player typed.
  std::string linesAfterFive;
  // What the reader found there by key. "master" and "latestVersionUrl": the master server
  // and latest-version URL a player chose instead of the built-in ones, valid or not; the
  // program checks them where it uses them.
  std::optional<Text> master;
  std::optional<Text> latestVersionUrl;
  // The patterns of the usable watch= lines, in file order.
  std::vector<Text> watchPatterns;
  // One message per line the reader ignored, naming it, for the error report.
  std::vector<std::string> ignoredLines;
  // The rules of the usable alert= lines, in file order.
  std::vector<AlertRule> alertRules;
  // The first non-empty notifyCommand= value, trimmed of blanks: the command line run for
  // every balloon.
  std::optional<Text> notifyCommand;
  // The days of player history kept (1..366), from the first history= line when it is usable.
  std::optional<int32_t> historyDays;
  // A quietWhilePlaying=1 line: no balloon and no sound while the game runs.
  bool quietWhilePlaying = false;
  // The number on the tray icon, from the first usable iconNumber= line; none shows none.
  std::optional<IconNumber> iconNumber;

  bool operator==(const Settings&) const = default;
};

// The limit shown and stored for a player-limit index: 2^(index+1).
int32_t PlayerLimit(int16_t minPlayersIndex);

// Something is where Quorvex.ini goes but it could not be read (no permission, a directory,
// a FIFO, a link to nothing, far too large): it may hold the user's values, so it is kept.
struct UnreadableSettingsFile : FileError {
  using FileError::FileError;
};

// Reads the file in `programFolder` into `settings` line by line; a missing (or hidden)
// file is replaced by the defaults (limit 4, 20 s, sound and autostart on, `sort` as held)
// which are written at once. A file that cannot be read throws UnreadableSettingsFile and
// changes nothing; a damaged one throws after the fields read so far are stored, the
// optional lines being read first, so a damaged line among the five does not lose them.
// The lines after the five end at each LF, a CR before it dropped; they are read by key.
// Up to 32 watch= lines are used; an empty pattern, one over 64 characters and every
// watch= line after the 32nd are left out and named in `ignoredLines`; so is every alert=
// line that gives no rule (see ParseAlertRule) or comes after the 32nd, an empty
// notifyCommand= and every notifyCommand= after the first one used. The first history= line
// sets `historyDays` when its value is a whole number 1..366; when it is not, it is named in
// `ignoredLines` and no history is kept. Every later history= line is named there too.
// A quietWhilePlaying= line with the value 1 sets `quietWhilePlaying`; one with any other
// value is named in `ignoredLines`.
// The first iconNumber= line whose value is "busiest" or "watched" (letter case aside) sets
// `iconNumber`; one with another value, and every one after that first, is named there.
// On return `minPlayers` holds the player count as stored, not yet the index.
void ReadSettings(const Text& programFolder, Settings& settings);
// Writes the five lines, then `linesAfterFive` as it is; `minPlayers` is the index.
// A flag (sound, autostart) is written as its absolute value, or as 1 when that does not
// fit 16 bits, so it reads back as on. The old file survives any failure, which throws.
void WriteSettings(const Text& programFolder, const Settings& settings);

}  // namespace quorvex
