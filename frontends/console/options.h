// The console's command line.
#pragma once
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvex {

struct ConsoleOptions {
  // Given on the command line: they win over Quorvex.ini's master= and latestVersionUrl=.
  std::optional<std::string> master;         // host[:port]
  std::optional<std::string> latestVersion;  // URL of latest_version.txt
  std::optional<std::string> home;  // stands in for the executable's folder when given
  bool virtualTime = false;
  // --wall-clock-start: the UTC time of day (milliseconds since 1970) the virtual clock starts at.
  std::optional<int64_t> wallClockStart;
  bool readable = false;
  bool help = false;
  bool checkMasterOnly = false;  // --check-master: the value checked, nothing run
};

struct UsageError : std::invalid_argument {
  using std::invalid_argument::invalid_argument;
};

// A value the option cannot take: the message says why, so no usage text follows it.
struct BadOptionValue : UsageError {
  using UsageError::UsageError;
};

// The arguments after the program name, over `defaults`; throws UsageError, BadOptionValue
// for a --master or --check-master value that is not a host with an optional port.
ConsoleOptions ParseConsoleOptions(const std::vector<std::string>& arguments, ConsoleOptions defaults);

extern const char kConsoleUsage[];

}  // namespace quorvex
