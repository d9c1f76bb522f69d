// The notifyCommand line split by the Windows rules (the lines are in command_line_cases.h).
#include "notify/command_line.h"

#include <gtest/gtest.h>

#include "notify/command_line_cases.h"

namespace quorvex {
namespace {

TEST(SplitCommandLine, SplitsEveryLineAsWindowsDoes) {
  for (const auto& [line, words] : testing::CommandLineCases()) {
    EXPECT_EQ(SplitCommandLine(line), words) << ToUtf8(line);
  }
  EXPECT_TRUE(SplitCommandLine(u"").empty());
}

}  // namespace
}  // namespace quorvex
