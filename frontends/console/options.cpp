#include "frontends/console/options.h"

#include "frontends/master_option.h"
#include "history/utc_time.h"

namespace quorvex {

const char kConsoleUsage[] =
    "usage: quorvex-console [--master HOST[:PORT]] [--latest-version URL] [--home DIR]\n"
    "                       [--virtual-time [--wall-clock-start YYYY-MM-DDTHH:MM:SSZ]] [--readable]\n"
    "       quorvex-console --check-master HOST[:PORT]\n"
    "Reads commands from stdin (rbutton, balloonclick, click NAME [INDEX], advance MS,\n"
    "history [24h|7d|30d]) and prints the program's tray, menu and other events on stdout;\n"
    "see docs/console.md. --check-master only checks the value as --master would, exit\n"
    "status 0 or 2.\n";

namespace {

const std::string& ValueOf(const std::vector<std::string>& arguments, size_t& i) {
  const std::string& option = arguments[i];
  if (i + 1 >= arguments.size()) throw UsageError(option + " needs a value");
  const std::string& value = arguments[++i];
  if (value.empty()) throw UsageError(option + " needs a value");
  return value;
}

const std::string& MasterValue(const std::vector<std::string>& arguments, size_t& i) {
  const std::string& value = ValueOf(arguments, i);
  if (const auto error = MasterOptionError(value)) throw BadOptionValue(*error);
  return value;
}

}  // namespace

ConsoleOptions ParseConsoleOptions(const std::vector<std::string>& arguments, ConsoleOptions defaults) {
  ConsoleOptions options = std::move(defaults);
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--master" || option == "--check-master") {
      options.master = MasterValue(arguments, i);
      options.checkMasterOnly = options.checkMasterOnly || option == "--check-master";
    } else if (option == "--latest-version") {
      options.latestVersion = ValueOf(arguments, i);
    } else if (option == "--home") {
      options.home = ValueOf(arguments, i);
    } else if (option == "--virtual-time") {
      options.virtualTime = true;
    } else if (option == "--wall-clock-start") {
      const std::string& time = ValueOf(arguments, i);
      options.wallClockStart = ParseUtcSeconds(time);
      if (!options.wallClockStart) throw UsageError("--wall-clock-start: not a UTC time like 2026-12-08T00:00:00Z: " + time);
    } else if (option == "--readable") {
      options.readable = true;
    } else if (option == "--help" || option == "-h") {
      options.help = true;
    } else {
      throw UsageError("unknown option: " + option);
    }
  }
  if (options.wallClockStart && !options.virtualTime) throw UsageError("--wall-clock-start needs --virtual-time");
  return options;
}

}  // namespace quorvex
