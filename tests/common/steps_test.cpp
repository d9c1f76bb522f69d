// How every front end runs a handler: an error ends the handler and is reported by name, an
// Exit inside it ends it quietly.
#include "common/steps.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace quorvex {
namespace {

struct Reported {
  std::vector<std::string> lines;
  void operator()(std::string_view handler, std::string_view message) {
    lines.push_back(std::string(handler) + ": " + std::string(message));
  }
};

TEST(DispatchHandler, AnErrorEndsTheHandlerAndIsReportedAnExitEndsItQuietly) {
  Reported reported;
  bool after = false;
  EXPECT_FALSE(DispatchHandler("Timer3_Timer", [&] {
    throw std::runtime_error("no list");
    after = true;
  }, reported));
  EXPECT_FALSE(after);
  EXPECT_EQ(reported.lines, std::vector<std::string>{"Timer3_Timer: no list"});

  EXPECT_TRUE(DispatchHandler("menExit_Click", [] { throw HandlerAborted{}; }, reported));
  int runs = 0;
  EXPECT_TRUE(DispatchHandler("Form_Load", [&] { ++runs; }, reported));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(reported.lines.size(), 1u);  // neither of the last two said anything
}

}  // namespace
}  // namespace quorvex
