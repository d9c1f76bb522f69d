// What the summary makes of the balloons held: the watch's lines read back by player and by
// server, the lines a full balloon left out, the summary's length and the server its click joins;
// and the game's executable names.
#include "quiet/held_balloons.h"

#include <gtest/gtest.h>

#include "quiet/game_check.h"

namespace quorvex {
namespace {

ServerRecord At(const Text& name, const Text& address, uint16_t port) {
  return ServerRecord{.name = name, .address = address, .port = port};
}

TEST(HeldBalloons, EachPlayerAndServerOnceWithItsLatestLine) {
  HeldBalloons held;
  EXPECT_TRUE(held.IsEmpty());
  EXPECT_EQ(held.TakeSummary(true, u"\n"), std::nullopt);
  // A name holding " on " is read up to the first " on " or " moved to ", whichever first.
  held.HoldNews(u"Ann on Fun on Sunday\r\nS9 has 12 players\r\nBo moved to X on Y", At(u"Fun on Sunday", u"127.0.0.5", 5));
  held.HoldNews(u"Bo on S2\nS9 has 19 players\nT9 has 10 players\nEve on Sea has few players\nand 3 more",
                At(u"S2", u"127.0.0.2", 2));
  held.HoldNews(u"Cy on S3\nodd has  players\nDy on S3", std::nullopt);
  held.HoldNews(u"has 5 players", At(u"S4", u"127.0.0.4", 4));
  EXPECT_FALSE(held.IsEmpty());
  const std::optional<NewsBalloon> summary = held.TakeSummary(true, u"\n");
  ASSERT_TRUE(summary);
  EXPECT_EQ(summary->text, u"Ann on Fun on Sunday\nBo on S2\nEve on Sea has few players\nCy on S3\nodd has  players\nDy on S3\n"
                           u"has 5 players\nS9 has 19 players\nT9 has 10 players");
  EXPECT_EQ(summary->server, (ServerPlace{u"Fun on Sunday", u"127.0.0.5", u"5"}));
  EXPECT_TRUE(held.IsEmpty());
}

// The limit first, when asked for; a line's server is the one its balloon's click joined,
// known for its first line only, unless the same line was known before.
TEST(HeldBalloons, TheLimitFirstAndTheClickJoinsTheFirstLinesServer) {
  HeldBalloons held;
  held.HoldLimit(u"Player-limit of 8 reached!\r\nPlayers: 9", At(u"Old", u"127.0.0.8", 8));
  held.HoldLimit(u"Player-limit of 8 reached!\r\nPlayers: 12", At(u"Busy", u"127.0.0.1", 1));
  held.HoldNews(u"Ann on S1\nBo on S2", At(u"S1", u"127.0.0.1", 1));
  held.HoldNews(u"Cy on S3\nAnn on S1", At(u"S3", u"127.0.0.3", 3));
  HeldBalloons copy = held;
  std::optional<NewsBalloon> summary = held.TakeSummary(true, u"\r\n");
  ASSERT_TRUE(summary);
  EXPECT_EQ(summary->text, u"Player-limit of 8 reached!\r\nPlayers: 12\r\nAnn on S1\r\nBo on S2\r\nCy on S3");
  EXPECT_EQ(summary->server, (ServerPlace{u"Busy", u"127.0.0.1", u"1"}));
  summary = copy.TakeSummary(false, u"\r\n");
  ASSERT_TRUE(summary);
  EXPECT_EQ(summary->text, u"Ann on S1\r\nBo on S2\r\nCy on S3");
  EXPECT_EQ(summary->server, (ServerPlace{u"S1", u"127.0.0.1", u"1"}));

  held.HoldNews(u"Ann on S1\nBo on S2", At(u"S1", u"127.0.0.1", 1));
  held.HoldNews(u"Cy on S3\nAnn moved to S2", At(u"S3", u"127.0.0.3", 3));
  summary = held.TakeSummary(false, u"\n");
  ASSERT_TRUE(summary);
  EXPECT_EQ(summary->text, u"Ann moved to S2\nBo on S2\nCy on S3");
  EXPECT_EQ(summary->server, std::nullopt) << "the server of Ann's latest line is not known";

  held.HoldLimit(u"Player-limit of 8 reached!", std::nullopt);
  EXPECT_EQ(held.TakeSummary(false, u"\n"), std::nullopt) << "the limit alone, not asked for";
  EXPECT_TRUE(held.IsEmpty());
  held.HoldLimit(u"Player-limit of 8 reached!", std::nullopt);
  held.ForgetLimit();
  EXPECT_TRUE(held.IsEmpty());
}

// The summary keeps to a balloon's 255 units as the watch's balloon does: whole lines, then
// "and N more"; when not even the first fits, no server.
TEST(HeldBalloons, ASummaryOverABalloonsLengthEndsWithAndNMore) {
  HeldBalloons held;
  for (char16_t c = u'a'; c <= u'z'; ++c) held.HoldNews(Text(12, c) + u" on S1", At(u"S1", u"127.0.0.1", 1));
  std::optional<NewsBalloon> summary = held.TakeSummary(false, u"\n");
  ASSERT_TRUE(summary);
  EXPECT_LE(summary->text.size(), 255u);
  EXPECT_TRUE(summary->text.ends_with(u"\nand 14 more")) << ToUtf8(summary->text);
  EXPECT_TRUE(summary->server);
  held.HoldLimit(Text(300, u'x'), At(u"S1", u"127.0.0.1", 1));
  summary = held.TakeSummary(true, u"\n");
  ASSERT_TRUE(summary);
  EXPECT_EQ(summary->text, u"and 1 more");
  EXPECT_EQ(summary->server, std::nullopt);
}

// The game's executable by its name alone: the Windows one in any letter case, the native one
// as it is named.
TEST(GameExecutable, IsRwrGameExeInAnyCaseOrANativeRwrGame) {
  for (const char16_t* name : {u"rwr_game.exe", u"RWR_GAME.EXE", u"Rwr_Game.Exe", u"rwr_game"})
    EXPECT_TRUE(IsGameExecutable(name)) << ToUtf8(name);
  for (const char16_t* name : {u"RWR_GAME", u"rwr_game.ex", u"rwr_game.exe ", u"/x/rwr_game", u"rwr_game2", u"", u"rwr-game.exe"})
    EXPECT_FALSE(IsGameExecutable(name)) << ToUtf8(name);
}

}  // namespace
}  // namespace quorvex
