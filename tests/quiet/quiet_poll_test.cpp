// Quiet while playing in the poll: while the game runs neither balloon nor sound, the tooltip
// and the notifyCommand as ever; the first answered poll after it ended shows the one balloon
// of what happened meanwhile. The game check is a stand-in the test switches.
#include <gtest/gtest.h>

#include "support/form1_fakes.h"

namespace quorvex::testing {
namespace {

struct SwitchedGame : GameCheck {
  bool GameRuns() override {
    ++looks;
    return running;
  }
  bool running = false;
  int looks = 0;
};

// Limit 8, sound on, a notifyCommand; Ann and b* watched; the quiet line unless told otherwise.
class QuietPoll : public ::testing::Test {
 protected:
  Form1& Start(const std::vector<ServerRecord>& servers, const std::string& quietLine = "quietWhilePlaying=1\r\n") {
    rig.makeFeatures = MakeFeaturesWith(nullptr, &game);
    rig.Start(SettingsFile(8, 20, 1, 0, 0) + quietLine + "watch=ann\r\nwatch=b*\r\nnotifyCommand=notify\r\n", servers, false);
    rig.log.clear();
    RunHandler([&] { rig.Form().Timer3_Timer(); });
    return rig.Form();
  }
  void Poll(const std::vector<ServerRecord>& servers, bool gameRuns) {
    game.running = gameRuns;
    rig.Serve(servers);
    rig.log.clear();
    rig.Poll();
  }
  // The balloons the tray showed in the latest poll (their texts), and the sounds.
  std::vector<std::string> Balloons() {
    std::vector<std::string> texts;
    for (const TrayIconData& data : rig.trayData)
      if (data.uFlags & kNifInfo) texts.push_back(ToUtf8(data.szInfo));
    rig.trayData.clear();
    return texts;
  }
  size_t Sounds() const { return rig.Entries("sound ").size(); }
  // Each notifyCommand's event and text, in the order they ran.
  std::vector<std::string> Commands() {
    std::vector<std::string> told;
    for (const CommandRequest& request : rig.Commands()) {
      std::string line;
      for (const auto& [name, value] : request.environment)
        if (name == u"QUORVEX_EVENT" || name == u"QUORVEX_TEXT") line += (line.empty() ? "" : " ") + ToUtf8(value);
      told.push_back(line);
    }
    return told;
  }

  Form1Rig rig;
  SwitchedGame game;
};

std::vector<ServerRecord> Online(int16_t s1Players, const Text& s1Names, const Text& s2Names) {
  std::vector<ServerRecord> servers = WithPlayers({s1Players, 2});
  servers[0].player_names = s1Names;
  servers[1].player_names = s2Names;
  return servers;
}

// The limit reached and players coming and moving while the game runs: the tooltip goes on,
// every notifyCommand runs in its poll, and neither balloon nor sound comes until the game
// ended. Then one balloon: the limit (still reached), then each player once with the latest
// server; its click joins the busiest server, as the limit balloon's would have. The watch's
// own news of that poll waits for the next.
TEST_F(QuietPoll, WhileTheGameRunsNothingShowsThenOneBalloonTellsWhatHappened) {
  game.running = true;
  Start(Online(9, u"Ann", u""));
  EXPECT_EQ(Balloons(), std::vector<std::string>{});
  EXPECT_EQ(Sounds(), 0u);
  EXPECT_NE(ToUtf8(rig.Tip()).find("Max Players:   9"), std::string::npos) << ToUtf8(rig.Tip());
  EXPECT_TRUE(rig.Form().LimitReached());
  EXPECT_FALSE(rig.Form().BalloonServer());

  Poll(Online(9, u"", u"Ann, Bob"), true);
  Poll(Online(10, u"Ann, Bea", u"Bob"), true);
  EXPECT_EQ(Balloons(), std::vector<std::string>{});
  EXPECT_EQ(Sounds(), 0u);
  EXPECT_NE(ToUtf8(rig.Tip()).find("Max Players:   10"), std::string::npos) << ToUtf8(rig.Tip());
  EXPECT_EQ(Commands(), (std::vector<std::string>{"limit Player-limit of 8 reached!\nPlayers: 9",
                                                   "watch Ann moved to S2\nBob on S2",
                                                   "watch Ann moved to S1\nBea on S1"}));
  EXPECT_EQ(game.looks, 3);

  Poll(Online(10, u"Ann, Bea, Bill", u"Bob"), false);
  EXPECT_EQ(Balloons(), std::vector<std::string>{
                            "Player-limit of 8 reached!\r\nPlayers: 9\r\nAnn moved to S1\r\nBob on S2\r\nBea on S1"});
  EXPECT_EQ(Sounds(), 1u);
  ASSERT_TRUE(rig.Form().BalloonServer());
  EXPECT_EQ(rig.Form().BalloonServer()->address, u"127.0.0.1");
  EXPECT_EQ(Commands().size(), 3u) << "the command was told each of these at once, not again";

  Poll(Online(10, u"Ann, Bea, Bill", u"Bob"), false);
  EXPECT_EQ(Balloons(), std::vector<std::string>{"Bill on S1"});
  Poll(Online(10, u"Ann, Bea, Bill", u"Bob"), false);
  EXPECT_EQ(Balloons(), std::vector<std::string>{});
  EXPECT_EQ(game.looks, 6);
}

// A limit no longer reached when the game ends is not told; the balloon's click then joins
// the server of its first line.
TEST_F(QuietPoll, TheLimitPartOnlyWhenTheLimitIsStillReached) {
  game.running = true;
  Start(Online(9, u"", u""));
  Poll(Online(3, u"", u"Ann"), true);
  Poll(Online(3, u"", u"Ann"), false);
  EXPECT_EQ(Balloons(), std::vector<std::string>{"Ann on S2"});
  ASSERT_TRUE(rig.Form().BalloonServer());
  EXPECT_EQ(rig.Form().BalloonServer()->address, u"127.0.0.2");
  // Only the limit, no longer reached: nothing to tell.
  Poll(Online(9, u"", u"Ann"), true);
  Poll(Online(3, u"", u"Ann"), false);
  EXPECT_EQ(Balloons(), std::vector<std::string>{});
  EXPECT_EQ(Sounds(), 0u);
  // Exactly at the limit when the game ends is still reaching it.
  Poll(Online(9, u"", u"Ann"), true);
  Poll(Online(8, u"", u"Ann"), false);
  EXPECT_EQ(Balloons(), std::vector<std::string>{"Player-limit of 8 reached!\r\nPlayers: 9"});
}

// The limit reached again in the very poll the game ended shows its own balloon at once; the
// summary after it does not tell the limit again.
TEST_F(QuietPoll, ALimitBalloonShownAsTheGameEndedIsNotToldAgain) {
  game.running = true;
  Start(Online(9, u"", u"Ann"));
  Poll(Online(3, u"", u"Ann"), true);
  Poll(Online(9, u"", u"Ann"), false);
  EXPECT_EQ(Balloons(), std::vector<std::string>{"Player-limit of 8 reached!\r\nPlayers: 9"});
  EXPECT_EQ(Sounds(), 1u);
  Poll(Online(9, u"", u"Ann"), false);
  EXPECT_EQ(Balloons(), std::vector<std::string>{"Ann on S2"});
  Poll(Online(9, u"", u"Ann"), false);
  EXPECT_EQ(Balloons(), std::vector<std::string>{});
}

// A poll whose list is not answered looks at no process: what the last look found holds
// until a list is answered again, which then shows the summary.
TEST_F(QuietPoll, AnUnansweredListKeepsTheLastLookUntilTheNextAnswer) {
  game.running = true;
  Start(Online(9, u"", u""));
  game.running = false;
  rig.replies.erase(Form1Rig::ListUrl(2));
  rig.log.clear();
  rig.Poll();
  EXPECT_EQ(game.looks, 1);
  EXPECT_EQ(Balloons(), std::vector<std::string>{});
  Poll(Online(9, u"", u""), false);
  EXPECT_EQ(Balloons(), std::vector<std::string>{"Player-limit of 8 reached!\r\nPlayers: 9"});
  EXPECT_EQ(game.looks, 2);
}

// A game that started and ended between two looks was never seen: the balloons come as ever.
// Without the line the game is never looked for and changes nothing.
TEST_F(QuietPoll, AGameNotSeenRunningOrNoLineChangesNothing) {
  Start(Online(9, u"Ann", u""));
  EXPECT_EQ(Balloons(), std::vector<std::string>{"Player-limit of 8 reached!\r\nPlayers: 9"});
  EXPECT_EQ(Sounds(), 1u);
  Poll(Online(9, u"Ann", u""), false);
  EXPECT_EQ(Balloons(), std::vector<std::string>{"Ann on S1"});

  Form1Rig plain;
  SwitchedGame unasked;
  unasked.running = true;
  plain.makeFeatures = MakeFeaturesWith(nullptr, &unasked);
  plain.Start(SettingsFile(8, 20, 1, 0, 0) + "quietWhilePlaying=yes\r\nwatch=ann\r\n", Online(9, u"Ann", u""));
  EXPECT_EQ(plain.Entries("tray balloon").size(), 1u);
  EXPECT_EQ(plain.Entries("sound "), Log{"bing.wav"});
  EXPECT_EQ(unasked.looks, 0);
}

// Exit while balloons are held: they end with the program, unshown.
TEST_F(QuietPoll, ExitWhileHeldShowsNothing) {
  game.running = true;
  Start(Online(9, u"Ann", u""));
  game.running = false;
  rig.log.clear();
  RunHandler([&] { rig.Form().menExit_Click(); });
  EXPECT_EQ(Balloons(), std::vector<std::string>{});
  EXPECT_EQ(Sounds(), 0u);
  EXPECT_EQ(rig.Entries("end"), Log{""});
  EXPECT_EQ(game.looks, 1);
}

}  // namespace
}  // namespace quorvex::testing
