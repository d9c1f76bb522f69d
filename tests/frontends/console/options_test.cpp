#include "frontends/console/options.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

ConsoleOptions Defaults() {
  ConsoleOptions defaults;
  defaults.master = "127.0.0.1:28780";
  defaults.latestVersion = "http://127.0.0.1:28780/latest_version.txt";
  return defaults;
}

TEST(ConsoleOptions, WithoutArgumentsTheDefaultsHold) {
  const ConsoleOptions options = ParseConsoleOptions({}, Defaults());
  EXPECT_EQ(options.master, "127.0.0.1:28780");
  EXPECT_EQ(options.latestVersion, "http://127.0.0.1:28780/latest_version.txt");
  EXPECT_FALSE(options.home);
  EXPECT_FALSE(options.virtualTime);
  EXPECT_FALSE(options.readable);
}

TEST(ConsoleOptions, EveryOptionInAnyOrder) {
  const ConsoleOptions options =
      ParseConsoleOptions({"--readable", "--home", "/tmp/q", "--master", "127.0.0.5:9", "--virtual-time",
                           "--latest-version", "http://127.0.0.5:9/v.txt"},
                          Defaults());
  EXPECT_EQ(options.master, "127.0.0.5:9");
  EXPECT_EQ(options.latestVersion, "http://127.0.0.5:9/v.txt");
  EXPECT_EQ(options.home, "/tmp/q");
  EXPECT_TRUE(options.virtualTime);
  EXPECT_TRUE(options.readable);
}

TEST(ConsoleOptions, UnknownOptionsAndMissingValuesAreUsageErrors) {
  EXPECT_THROW(ParseConsoleOptions({"--verbose"}, Defaults()), UsageError);
  EXPECT_THROW(ParseConsoleOptions({"--master"}, Defaults()), UsageError);
  EXPECT_THROW(ParseConsoleOptions({"--home", ""}, Defaults()), UsageError);
  EXPECT_THROW(ParseConsoleOptions({"127.0.0.1"}, Defaults()), UsageError);
}

}  // namespace
}  // namespace quorvex
