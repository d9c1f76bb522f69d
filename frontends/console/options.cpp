#include "frontends/console/options.h"

#include "frontends/master_option.h"

namespace quorvex {

const char kConsoleUsage[] =
    "usage: quorvex-console [--master HOST[:PORT]] [--latest-version URL] [--home DIR]\n"
    "                       [--virtual-time] [--readable]\n"
    "       quorvex-console --check-master HOST[:PORT]\n"
    "Reads commands from stdin (rbutton, click NAME [INDEX], advance MS) and prints\n"
    "the program's tray, menu and other events on stdout; see docs/console.md.\n"
    "--check-master only checks the value as --master would, exit status 0 or 2.\n";

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
    } else if (option == "--readable") {
      options.readable = true;
    } else if (option == "--help" || option == "-h") {
      options.help = true;
    } else {
      throw UsageError("unknown option: " + option);
    }
  }
  return options;
}

}  // namespace quorvex
