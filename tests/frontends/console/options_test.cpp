// The console's command line: each option's value, and --master and --check-master refusing what
// is not a host with an optional port before anything runs.
#include "frontends/console/options.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

using Arguments = std::vector<std::string>;

TEST(ConsoleOptions, EachOptionSetsItsValueOverTheDefaults) {
  ConsoleOptions defaults;
  defaults.home = "/home/default";
  const ConsoleOptions options = ParseConsoleOptions(
      {"--master", "127.0.0.1:28780", "--latest-version", "http://h/v.txt", "--virtual-time", "--readable"}, defaults);
  EXPECT_EQ(std::tie(options.master, options.latestVersion, options.home),
            std::make_tuple(std::optional<std::string>("127.0.0.1:28780"), std::optional<std::string>("http://h/v.txt"),
                            std::optional<std::string>("/home/default")));
  EXPECT_TRUE(options.virtualTime && options.readable);
  EXPECT_FALSE(options.help || options.checkMasterOnly);
  EXPECT_TRUE(ParseConsoleOptions({"-h"}, {}).help);
}

TEST(ConsoleOptions, CheckMasterTakesTheValueAndRunsNothing) {
  for (const Arguments& arguments : {Arguments{"--check-master", "master.example:1"},
                                     Arguments{"--check-master", "master.example:1", "--master", "other"},
                                     Arguments{"--master", "other", "--check-master", "master.example:1"}}) {
    const ConsoleOptions options = ParseConsoleOptions(arguments, {});
    EXPECT_TRUE(options.checkMasterOnly) << arguments.back();
  }
  EXPECT_EQ(ParseConsoleOptions({"--check-master", "a-b.c:65535"}, {}).master, "a-b.c:65535");
}

// The message of a refusal, "BadOptionValue: " before it when it is one, "" when nothing was refused.
std::string Refusal(const Arguments& arguments) {
  try {
    ParseConsoleOptions(arguments, {});
  } catch (const BadOptionValue& error) {
    return "BadOptionValue: " + std::string(error.what());
  } catch (const UsageError& error) {  // the usage text follows its message
    return error.what();
  }
  return "";
}

// A master that is no host with an optional port names the value as typed and the rule (what
// the rule itself accepts is the host rules' tests'); a missing value or an unknown option is a
// usage error, no BadOptionValue.
TEST(ConsoleOptions, ABadMasterIsRefusedByNameAndAMissingValueOrAnUnknownOptionIsAUsageError) {
  for (const char* option : {"--master", "--check-master"}) {
    for (const char* value : {"a..b", "host:99999", "host:0", "host:", ":80", "-host", "host:80:80", "h\xC3\xA9st",
                              "a b", "host/path"}) {
      EXPECT_EQ(Refusal({option, value}), "BadOptionValue: --master \"" + std::string(value) +
                                               "\" is not a host with an optional port (HOST or HOST:PORT, port 1-65535)");
    }
  }
  for (const char* value : {"localhost", "127.0.0.1:1", "10.0.0.1:65535", "master-1.example"})
    EXPECT_EQ(ParseConsoleOptions({"--master", value}, {}).master, value);
  const std::pair<Arguments, std::string> cases[] = {
      {{"--master"}, "--master needs a value"},
      {{"--check-master", ""}, "--check-master needs a value"},
      {{"--home"}, "--home needs a value"},
      {{"--latest-version", ""}, "--latest-version needs a value"},
      {{"--readable", "--verbose"}, "unknown option: --verbose"},
  };
  for (const auto& [arguments, message] : cases) EXPECT_EQ(Refusal(arguments), message);
}

}  // namespace
}  // namespace quorvex
