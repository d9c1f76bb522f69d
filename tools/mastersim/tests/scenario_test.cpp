// Reading scenario folders: the server sections and the step lines, the bounds that keep a
// small file from taking gigabytes, and the names of the faults. (The demo scenario and its
// replies are read over HTTP by the HTTP integration tests and console-e2e.)
#include "tools/mastersim/scenario.h"

#include <gtest/gtest.h>

#include "tools/mastersim/reply_xml.h"  // OnlineCount

namespace quorvex::mastersim {
namespace {

const char* kTwoServers = R"(# comment
[alpha]
name = [EU] Alpha & Co
players = Ann, Bob ,Cid

[beta]
name = "  spaced  "
online = no
)";

using Names = std::vector<std::string>;

// Sections with quotes and player lists, then steps that each change the one before.
TEST(BuildTimeline, ReadsTheServersAndEachStepChangesTheOneBefore) {
  const auto timeline = BuildTimeline(ParseServers(kTwoServers), R"(
step 1
join alpha Dan, Eve
appear beta
step 2
leave alpha Bob
join beta 3
set alpha map_name = Keepsake Bay
step 3: a comment after the number
leave alpha 2
leave beta 10
vanish alpha
step
join beta 20000
join alpha 123456
)");
  ASSERT_EQ(timeline.size(), 5u);
  const GameServer &alpha = timeline[0][0], &beta = timeline[0][1];  // in the order servers.txt lists them
  EXPECT_EQ(alpha.fields.at("name"), "[EU] Alpha & Co");
  EXPECT_EQ(alpha.players, (Names{"Ann", "Bob", "Cid"}));
  EXPECT_EQ(beta.fields.at("name"), "  spaced  ");
  EXPECT_EQ(OnlineCount(timeline[0]), 1);
  EXPECT_EQ(timeline[1][0].players, (Names{"Ann", "Bob", "Cid", "Dan", "Eve"}));
  EXPECT_EQ(OnlineCount(timeline[1]), 2);
  EXPECT_EQ(timeline[2][0].players, (Names{"Ann", "Cid", "Dan", "Eve"}));
  EXPECT_EQ(timeline[2][1].players, (Names{"Recruit 1", "Recruit 2", "Recruit 3"}));
  EXPECT_EQ(timeline[2][0].fields.at("map_name"), "Keepsake Bay");
  // "leave N" takes the last to join; more than there are empties the server.
  EXPECT_EQ(timeline[3][0].players, (Names{"Ann", "Cid"}));
  EXPECT_TRUE(timeline[3][1].players.empty());
  EXPECT_FALSE(timeline[3][0].online);
  // Counts of up to five digits, enough to overflow a 16-bit total; six digits are a name.
  EXPECT_EQ(timeline[4][1].players.size(), 20000u);
  EXPECT_EQ(timeline[4][1].players.back(), "Recruit 20003");  // numbered on from the first three
  EXPECT_EQ(timeline[4][0].players.back(), "123456");
}

// A mistake, or more than a scenario may hold, is refused with a message naming the line.
TEST(BuildTimeline, RefusesWhatItCannotApplyOrHoldNamingTheLine) {
  auto repeat = [](const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
  };
  std::string manyServers;
  for (int i = 1; i <= 65; ++i) manyServers += "[s" + std::to_string(i) + "]\n";
  const std::string alpha = "[alpha]\n", two = kTwoServers;
  const struct {
    std::string servers, steps, expected;
  } cases[] = {
      {"[a]\nname = x\ncolour = red\n", "", "servers.txt:3"},
      {"name = x\n", "", "servers.txt:1"},  // before any [id]
      {"[a]\nonline = maybe\n", "", "servers.txt:2"},
      {two, "join alpha Dan\n", "steps.txt:1"},  // before the first step
      {two, "step\njoin gamma Dan\n", "steps.txt:2"},
      {two, "step\nleave alpha Zed\n", "steps.txt:2"},
      {manyServers, "", "servers.txt:65: more than 64 servers"},
      {alpha + "name = " + std::string(1 << 20, 'x') + "\n", "", "servers.txt:2: one step's servers hold more than 1 MiB"},
      {alpha, repeat("step\njoin alpha 99999\n", 40), "steps.txt:2: more than 50000 players in one step"},
      {alpha, "step\njoin alpha 30000\n" + repeat("step\n", 60), "the steps hold more than 16 MiB"},
      {alpha, repeat("step\n", 1001), "steps.txt:1001: more than 1000 steps"},
  };
  for (const auto& c : cases) {
    try {
      BuildTimeline(ParseServers(c.servers), c.steps);
      ADD_FAILURE() << "accepted: " << c.expected;
    } catch (const ScenarioError& error) {
      EXPECT_NE(std::string(error.what()).find(c.expected), std::string::npos) << error.what();
    }
  }
}

// (Over HTTP the integration tests see what most modes do.)
TEST(Faults, EveryModeReadsBackAsWritten) {
  for (const char* text : {"none", "delay:250", "trickle:100", "hang", "reset", "truncated", "huge", "garbage",
                           "status:404", "negative", "disagree"})
    EXPECT_EQ(FaultName(ParseFault(text)), text);
}

}  // namespace
}  // namespace quorvex::mastersim
