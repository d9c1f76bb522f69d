// Who of the watched players is online, over a clock the test sets: online, the five-minute
// window, moved, a failed poll in between, a name on two servers.
#include "watch/player_watch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/watch/reply_steps.h"

namespace quorvex {
namespace {

// A server of a reply, known by its address (the port fixed) and named after it.
ListedServer On(const Text& address, std::vector<Text> players) {
  return ListedServer{.name = u"Server " + address, .address = address, .port = u"27000",
                      .current_players = {}, .playerNames = std::move(players)};
}

PlayerNews Online(const Text& name, const Text& address) { return {name, PlayerEvent::kOnline, u"Server " + address}; }
PlayerNews Moved(const Text& name, const Text& address) { return {name, PlayerEvent::kMoved, u"Server " + address}; }

using Step = ReplyStep<PlayerNews>;

void RunSteps(PlayerWatch& watch, const std::vector<Step>& steps) { RunReplySteps(watch, steps); }

constexpr int64_t kWindow = PlayerWatch::kOnlineWindowMs;

TEST(PlayerWatch, ReportsEveryoneAtTheFirstReplyThenOnlyComingsAndMoves) {
  PlayerWatch watch({u"bob", u"*[fr]*", u"an?a"});
  RunSteps(watch, {
      // Reply order decides the order of the news; unwatched names give none.
      {1'000, {On(u"a", {u"zed", u"Bob"}), On(u"b", {u"x[FR]", u"anna", u"ann"})},
       {Online(u"Bob", u"a"), Online(u"x[FR]", u"b"), Online(u"anna", u"b")}},
      {21'000, {On(u"a", {u"Bob"}), On(u"b", {u"x[FR]", u"anna"})}, {}},
      // anna moves; x[FR] leaves; a new watched name comes.
      {41'000, {On(u"a", {u"Bob", u"anna"}), On(u"c", {u"anja"})}, {Moved(u"anna", u"a"), Online(u"anja", u"c")}},
      // x[FR] back on its server exactly five minutes after its last reply: still no news.
      {21'000 + kWindow, {On(u"b", {u"x[FR]"}), On(u"a", {u"anna"})}, {}},
      // Bob's last reply was five minutes and 1 ms ago: online again; anna's was on a.
      {41'001 + kWindow, {On(u"b", {u"Bob", u"anna"})}, {Online(u"Bob", u"b"), Moved(u"anna", u"b")}},
      // Another letter case is another player.
      {41'002 + kWindow, {On(u"b", {u"BOB", u"Bob"})}, {Online(u"BOB", u"b")}},
  });
}

// The latest reply of the window decides where a name was: back on its server after a
// reply elsewhere is a move again, and a name that left and came back elsewhere within
// five minutes moved.
TEST(PlayerWatch, MovedComparesWithTheLatestReplyThatHeldTheName) {
  PlayerWatch watch({u"p"});
  RunSteps(watch, {
      {0, {On(u"a", {u"p"})}, {Online(u"p", u"a")}},
      {10'000, {On(u"b", {u"p"})}, {Moved(u"p", u"b")}},
      {20'000, {On(u"a", {u"p"})}, {Moved(u"p", u"a")}},
      {30'000, {On(u"a", {})}, {}},
      {200'000, {On(u"c", {u"p"})}, {Moved(u"p", u"c")}},
  });
}

// A server is its address and port: the same address on another port is another server,
// and a new name for the same server is no move. A name on two servers of one reply counts
// on the first of them, whichever that is.
TEST(PlayerWatch, AServerIsItsAddressAndPortAndANameCountsOnItsFirstServer) {
  PlayerWatch watch({u"p"});
  ListedServer renamed = On(u"a", {u"p"}), otherPort = On(u"a", {u"p"});
  renamed.name = u"Renamed";
  otherPort.port = u"27001";
  RunSteps(watch, {
      {0, {On(u"a", {u"p"}), On(u"b", {u"p", u"p"})}, {Online(u"p", u"a")}},
      {1'000, {renamed}, {}},
      {2'000, {otherPort}, {Moved(u"p", u"a")}},
      {3'000, {On(u"b", {u"p"}), On(u"a", {u"p"})}, {Moved(u"p", u"b")}},
      {4'000, {On(u"b", {u"p"}), On(u"a", {u"p"})}, {}},
  });
}

TEST(PlayerWatch, WithoutPatternsWatchesNobody) {
  PlayerWatch watch({});
  EXPECT_FALSE(watch.WatchesAnyone());
  EXPECT_FALSE(watch.IsWatched(u""));
  RunSteps(watch, {{0, {On(u"a", {u"p"})}, {}}});
  EXPECT_TRUE(PlayerWatch({u"x"}).WatchesAnyone());
}

}  // namespace
}  // namespace quorvex
