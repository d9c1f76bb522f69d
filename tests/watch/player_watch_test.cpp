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

ServerPlace PlaceOn(const Text& address) { return {u"Server " + address, address, u"27000"}; }
PlayerNews Online(const Text& name, const Text& address) { return {name, PlayerEvent::kOnline, PlaceOn(address)}; }
PlayerNews Moved(const Text& name, const Text& address) { return {name, PlayerEvent::kMoved, PlaceOn(address)}; }

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
      {2'000, {otherPort}, {{u"p", PlayerEvent::kMoved, PlaceOf(otherPort)}}},
      {3'000, {On(u"b", {u"p"}), On(u"a", {u"p"})}, {Moved(u"p", u"b")}},
      {4'000, {On(u"b", {u"p"}), On(u"a", {u"p"})}, {}},
  });
}

// Who is online is the latest reply's alone, whoever the five minutes remember: each watched
// name once, on the first server that lists it, sorted by name with ASCII letters folded to
// lower case ("_" before "a") and then by code; other letters by their code.
TEST(PlayerWatch, OnlineNowIsTheLatestReplysWatchedNamesSortedByFoldedName) {
  PlayerWatch watch({u"*"});
  using Online = std::vector<OnlinePlayer>;
  const std::pair<std::vector<ListedServer>, Online> replies[] = {
      {{On(u"a", {u"bob", u"Ann", u"\u00c5sa", u"ann"}), On(u"b", {u"ANN", u"Bob", u"bob", u"_x", u"Zed"})},
       {{u"_x", PlaceOn(u"b")}, {u"ANN", PlaceOn(u"b")}, {u"Ann", PlaceOn(u"a")}, {u"ann", PlaceOn(u"a")},
        {u"Bob", PlaceOn(u"b")}, {u"bob", PlaceOn(u"a")}, {u"Zed", PlaceOn(u"b")}, {u"\u00c5sa", PlaceOn(u"a")}}},
      {{On(u"c", {u"Zed"})}, {{u"Zed", PlaceOn(u"c")}}},
      {{}, {}},
  };
  int64_t nowMs = 0;
  for (const auto& [reply, online] : replies) {
    watch.TakeReply(reply, nowMs += 1'000);
    EXPECT_EQ(watch.OnlineNow(), online) << "at " << nowMs;
  }
  PlayerWatch some({u"b*"});
  some.TakeReply({On(u"a", {u"Cy", u"bea", u"Al", u"Bo"})}, 0);
  EXPECT_EQ(some.OnlineNow(), (Online{{u"bea", PlaceOn(u"a")}, {u"Bo", PlaceOn(u"a")}}));
}

TEST(PlayerWatch, WithoutPatternsWatchesNobody) {
  PlayerWatch watch({});
  EXPECT_FALSE(watch.WatchesAnyone());
  EXPECT_FALSE(watch.IsWatched(u""));
  RunSteps(watch, {{0, {On(u"a", {u"p"})}, {}}});
  EXPECT_TRUE(watch.OnlineNow().empty());
  EXPECT_TRUE(PlayerWatch({u"x"}).WatchesAnyone());
}

}  // namespace
}  // namespace quorvex
