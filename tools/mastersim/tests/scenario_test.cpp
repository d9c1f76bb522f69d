// Reading scenario folders: the server sections, the step lines and the fault lines; the
// replies made of them. (The demo scenario and the walk through its steps are read by the
// HTTP integration tests and console-e2e.)
#include "tools/mastersim/scenario.h"

#include <gtest/gtest.h>

#include "tools/mastersim/reply_xml.h"

namespace quorvex::mastersim {
namespace {

const char* kTwoServers = R"(# comment
[alpha]
name = [EU] Alpha & Co
address = 127.0.0.2
port = 40000
players = Ann, Bob ,Cid

[beta]
name = "  spaced  "
address = 127.0.0.3
port = 1
online = no
)";

std::vector<std::string> Players(const ServerSet& servers, const std::string& id) {
  for (const auto& server : servers) {
    if (server.id == id) return server.players;
  }
  return {"<missing>"};
}

TEST(ParseServers, ReadsSectionsWithDefaultsQuotesAndPlayerLists) {
  const ServerSet servers = ParseServers(kTwoServers);
  ASSERT_EQ(servers.size(), 2u);
  EXPECT_EQ(servers[0].id, "alpha");
  EXPECT_EQ(servers[0].fields.at("name"), "[EU] Alpha & Co");
  EXPECT_EQ(servers[0].fields.at("port"), "40000");
  EXPECT_EQ(servers[0].fields.at("dedicated"), "1");
  EXPECT_EQ(servers[0].fields.at("map_name"), "");
  EXPECT_EQ(servers[0].players, (std::vector<std::string>{"Ann", "Bob", "Cid"}));
  EXPECT_TRUE(servers[0].online);
  EXPECT_EQ(servers[1].fields.at("name"), "  spaced  ");
  EXPECT_FALSE(servers[1].online);
}

TEST(ParseServers, NamesTheLineOfAMistake) {
  try {
    ParseServers("[a]\nname = x\ncolour = red\n");
    FAIL() << "an unknown key was accepted";
  } catch (const ScenarioError& error) {
    EXPECT_NE(std::string(error.what()).find("servers.txt:3"), std::string::npos) << error.what();
  }
  // Before any [id], listed twice, a bad flag, no "=".
  for (const char* text : {"name = x\n", "[a]\n[a]\n", "[a]\nonline = maybe\n", "[a]\njust words\n"})
    EXPECT_THROW(ParseServers(text), ScenarioError) << text;
}

TEST(BuildTimeline, EachStepChangesTheOneBefore) {
  const ServerSet initial = ParseServers(kTwoServers);
  const auto timeline = BuildTimeline(initial, R"(
step 1
join alpha Dan, Eve
appear beta
step 2
leave alpha Bob
join beta 3
set alpha map_name = Keepsake Bay
step 3: nothing changes
step 4
leave alpha 2
leave beta 10
vanish alpha
)");
  ASSERT_EQ(timeline.size(), 5u);
  EXPECT_EQ(Players(timeline[0], "alpha"), (std::vector<std::string>{"Ann", "Bob", "Cid"}));
  EXPECT_EQ(Players(timeline[1], "alpha"), (std::vector<std::string>{"Ann", "Bob", "Cid", "Dan", "Eve"}));
  EXPECT_TRUE(timeline[1][1].online);
  EXPECT_EQ(Players(timeline[2], "alpha"), (std::vector<std::string>{"Ann", "Cid", "Dan", "Eve"}));
  EXPECT_EQ(Players(timeline[2], "beta"), (std::vector<std::string>{"Recruit 1", "Recruit 2", "Recruit 3"}));
  EXPECT_EQ(timeline[2][0].fields.at("map_name"), "Keepsake Bay");
  EXPECT_EQ(timeline[3][0].players, timeline[2][0].players);
  // "leave N" takes the last to join; more than there are empties the server.
  EXPECT_EQ(Players(timeline[4], "alpha"), (std::vector<std::string>{"Ann", "Cid"}));
  EXPECT_TRUE(Players(timeline[4], "beta").empty());
  EXPECT_FALSE(timeline[4][0].online);
}

TEST(BuildTimeline, CountsUpToFiveDigitsAndRejectsChangesItCannotApply) {
  const ServerSet initial = ParseServers(kTwoServers);
  const auto timeline = BuildTimeline(initial, "step\njoin beta 20000\njoin alpha 123456\n");
  EXPECT_EQ(timeline[1][1].players.size(), 20000u);  // enough to overflow a 16-bit total
  EXPECT_EQ(timeline[1][1].players.back(), "Recruit 20000");
  EXPECT_EQ(timeline[1][0].players.back(), "123456");  // six digits are a name
  for (const char* steps : {"join alpha Dan\n",  // before the first step
                            "step\njoin gamma Dan\n", "step\nleave alpha Zed\n", "step\ndance alpha\n",
                            "step\nset alpha colour = red\n", "step\nappear alpha now\n"})
    EXPECT_THROW(BuildTimeline(initial, steps), ScenarioError) << steps;
}

// Bounded so that a small file cannot make mastersim take gigabytes; the message names the
// line that asked for too much.
TEST(BuildTimeline, RefusesMoreThanAScenarioMayHoldNamingTheLine) {
  auto repeat = [](const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
  };
  std::string manyServers;
  for (int i = 1; i <= 65; ++i) manyServers += "[s" + std::to_string(i) + "]\n";
  const std::string alpha = "[alpha]\n";
  const struct {
    std::string servers, steps, expected;
  } cases[] = {
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

TEST(Faults, OnePerEndpointAndEveryModeReadsBackAsWritten) {
  const auto faults = ParseFaultFile("# slow master\ncount = delay:1500\nlist=status:500\n");
  EXPECT_EQ(faults.at(Endpoint::Count), (Fault{FaultMode::Delay, 1500}));
  EXPECT_EQ(faults.at(Endpoint::List), (Fault{FaultMode::Status, 500}));
  EXPECT_EQ(faults.count(Endpoint::Version), 0u);
  for (const char* text : {"list = negative\n", "count = delay\n", "count = hang:5\n", "count = status:42\n",
                           "master = reset\n"})
    EXPECT_THROW(ParseFaultFile(text), ScenarioError) << text;
  for (const char* text : {"none", "delay:250", "trickle:100", "hang", "reset", "truncated", "huge", "garbage",
                           "status:404", "negative", "disagree"})
    EXPECT_EQ(FaultName(ParseFault(text)), text);
  EXPECT_THROW(ParseFault("delay:-5"), FaultSyntaxError);
  EXPECT_THROW(ParseFault("delay:5ms"), FaultSyntaxError);
}

TEST(ReplyXml, TheListHoldsAWindowOfTheOnlineServersEscaped) {
  const ServerSet servers = ParseServers("[a]\nname = A <1> & co\nplayers = x, y\n[b]\nonline = no\n[c]\nname = C\n");
  EXPECT_EQ(OnlineCount(servers), 2);
  const std::string xml = ListReply(servers, 0, 100);
  EXPECT_NE(xml.find("<name>A &lt;1&gt; &amp; co</name>"), std::string::npos);
  EXPECT_NE(xml.find("<current_players>2</current_players><player_names>x,y</player_names>"), std::string::npos);
  EXPECT_EQ(ListReply(servers, 1, 5).find("<name>A"), std::string::npos);  // from the second online one on
  EXPECT_NE(ListReply(servers, 1, 5).find("<name>C</name>"), std::string::npos);
  EXPECT_EQ(ListReply(servers, 0, 0).find("<server>"), std::string::npos);
  EXPECT_NE(CountReply(-3).find("<result><servers>-3</servers></result>"), std::string::npos);
}

}  // namespace
}  // namespace quorvex::mastersim
