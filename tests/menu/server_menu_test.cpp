// Rewriting the servers submenu from the table, and the gate that keeps one rebuild out of
// another one's yields.
#include "menu/server_menu.h"

#include <gtest/gtest.h>

#include <string>

#include "common/numbers.h"
#include "common/steps.h"
#include "menu/line_layout.h"
#include "tests/menu/expected_lines.h"
#include "tests/support/counting_pump.h"

namespace quorvex {
namespace {

using testing::CountingPump;
using testing::JoinSegments;
using testing::Spaces;

// A record told apart by its player list, which shows as 8 spaces and the list itself.
ServerRecord Listed(const std::string& id, int16_t players = 0) {
  return ServerRecord{.name = FromAscii("S" + id), .current_players = players, .player_names = FromAscii("p-" + id)};
}
Text PlayerLineOf(const std::string& id) { return Spaces(8) + FromAscii("p-" + id); }

class ServerMenuTest : public ::testing::Test {
 protected:
  void Rebuild(int16_t count, int16_t sort) { RebuildServerMenu(menu, servers, count, sort, pump, shown); }
  const MenuItem& Line(int index) const { return menu.Item("menServername", index); }
  void Fill(int last) {
    for (int i = 1; i <= last; ++i) servers.at(i) = Listed(std::to_string(i));
  }
  int LastVisible() const {
    int last = 0;
    for (int k = 1; k <= 48; ++k)
      if (Line(k).visible) last = k;
    return last;
  }

  MenuTree menu = MakeDesignMenu();
  ServerTable servers;
  CountingPump pump;
  ShownServers shown{};
};

TEST_F(ServerMenuTest, VisibilityCaptionAndYieldsFollowTheServerCount) {
  Fill(16);  // equal player counts: the sort needs one pass
  struct Case {
    int16_t count;
    int lastVisible, yields;
  };
  for (const Case c : {Case{0, 0, 1 + 32 + 48}, Case{1, 2, 1 + 32 + 46}, Case{5, 14, 1 + 32 + 34},
                       Case{16, 47, 1 + 32 + 1}, Case{17, 48, 1 + 32}, Case{-3, 0, 1 + 32 + 48}}) {
    pump.yields = 0;
    Rebuild(c.count, 3);
    EXPECT_EQ(LastVisible(), c.lastVisible) << c.count;
    for (int k = 1; k <= c.lastVisible; ++k) EXPECT_TRUE(Line(k).visible) << c.count << " " << k;
    EXPECT_EQ(pump.yields, c.yields) << c.count;
    EXPECT_EQ(menu.Item("menServer").caption, u"Servers (" + FormatPlain(c.count) + u")");
    EXPECT_EQ(menu.Item("menServerTitle").caption, MarkedHeaderLine(3));
  }
}

TEST_F(ServerMenuTest, TwoServersReadTopToBottomInPingOrder) {
  const ServerRecord mumble{.name = u"Mumble", .dedicated = u"*", .map_name = u"Island", .current_players = 4,
                            .bots = 10, .ping = 999, .version = u"1.31", .player_names = u"ann   bob", .mode = u"Coop"};
  const ServerRecord ixxxx{.name = u"Ixxxx", .dedicated = u" ", .map_id = u"pack/maps/map5", .ping = 35, .version = u"1.31"};
  servers.at(1) = mumble;
  servers.at(2) = ixxxx;
  Rebuild(2, 5);
  const Text macrons(146, u'\u00AF');
  EXPECT_EQ(menu.Item("menblub").caption, macrons);
  EXPECT_EQ(Line(1).caption, JoinSegments({u"Ixxxx", 28, u"1.31", u" ", u"-----", u"map5", 20, u" 0", u"   0", u"    35"}));
  EXPECT_EQ(Line(2).caption, Spaces(8));
  EXPECT_EQ(Line(3).caption, macrons);
  EXPECT_EQ(Line(4).caption, JoinSegments({u"Mumble", 20, u"1.31", u"*", u"Coop", u"Island", 17, u" 4", u"  10", u"   --"}));
  EXPECT_EQ(Line(5).caption, Spaces(8) + u"ann   bob");
  EXPECT_EQ(LastVisible(), 5);
  EXPECT_EQ(shown[1], ixxxx);
  EXPECT_EQ(shown[2], mumble);
}

TEST_F(ServerMenuTest, AShrinkingPollSortsOnlyTheListedServers) {
  for (int i = 1; i <= 5; ++i) servers.at(i) = Listed("old" + std::to_string(i), static_cast<int16_t>(i));
  Rebuild(5, 3);
  servers.at(1) = Listed("new-a", 1);  // slots 3 to 5 keep busier records of the last poll
  servers.at(2) = Listed("new-b", 2);
  Rebuild(2, 3);
  EXPECT_EQ(Line(2).caption, PlayerLineOf("new-b"));
  EXPECT_EQ(Line(5).caption, PlayerLineOf("new-a"));
  EXPECT_EQ(LastVisible(), 5);
  EXPECT_EQ(servers.at(3).player_names, u"p-old3");  // the left-overs did not move
  EXPECT_EQ(servers.at(5).player_names, u"p-old1");
}

TEST_F(ServerMenuTest, ShownRecordsAreTheOnesTheLinesWereWrittenFrom) {
  Fill(16);
  // Yield 1 is the sort's pass, yields 2 and 3 frame slot 1: a poll in yield 3 replaces
  // slot 1 after its lines were composed.
  pump.onYield = [this](int yields) {
    if (yields == 3) servers.at(1) = Listed("moved-in");
  };
  Rebuild(16, 3);
  EXPECT_EQ(Line(2).caption, PlayerLineOf("1"));
  EXPECT_EQ(shown[1].player_names, u"p-1");
  for (int i = 2; i <= 16; ++i) EXPECT_EQ(shown[static_cast<size_t>(i)], servers.at(i)) << i;
}

// The form's use of the gate: every request rebuilds from the current count, sort and table.
class RebuildGateTest : public ServerMenuTest {
 protected:
  void SetUp() override {
    const int16_t players[] = {7, 3, 11, 5, 9};
    for (int i = 1; i <= 5; ++i) servers.at(i) = Listed(std::to_string(i), players[i - 1]);
  }
  void Request() {
    gate.Run([this] {
      ++runs;
      Rebuild(count, sort);
    });
  }
  // The menu is what one undisturbed rebuild of `table` makes.
  void ExpectOneRebuildOf(const ServerTable& table) {
    MenuTree expected = MakeDesignMenu();
    ServerTable sorted = table;
    ShownServers expectedShown{};
    CountingPump quiet;
    RebuildServerMenu(expected, sorted, count, sort, quiet, expectedShown);
    EXPECT_EQ(menu.Item("menServer").caption, expected.Item("menServer").caption);
    EXPECT_EQ(menu.Item("menServerTitle").caption, expected.Item("menServerTitle").caption);
    for (int k = 1; k <= 48; ++k) {
      EXPECT_EQ(Line(k).caption, expected.Item("menServername", k).caption) << k;
      EXPECT_EQ(Line(k).visible, expected.Item("menServername", k).visible) << k;
    }
    for (int i = 1; i <= 16; ++i) EXPECT_EQ(shown[static_cast<size_t>(i)], expectedShown[static_cast<size_t>(i)]) << i;
  }

  RebuildGate gate;
  int runs = 0;
  int16_t count = 5, sort = 0;
};

TEST_F(RebuildGateTest, RequestsInsideARebuildMakeOneMoreRunAfterIt) {
  int runsSeenByTheClick = -1, requestsInSecondRun = 0;
  pump.onYield = [&](int yields) {
    if (yields == 10) {
      sort = 3;  // a sort click: the new column, then a request
      Request();
      runsSeenByTheClick = runs;
    }
    if (yields == 20 || yields == 40) Request();  // many requests make one more run
    if (runs == 2 && requestsInSecondRun++ == 0) Request();  // one inside that run gets its own
  };
  Request();
  EXPECT_EQ(runsSeenByTheClick, 1);  // the click's rebuild did not start inside the running one
  EXPECT_EQ(runs, 3);
  EXPECT_FALSE(gate.IsRunning());
  ExpectOneRebuildOf(servers);
  EXPECT_EQ(Line(2).caption, PlayerLineOf("3"));  // 11 players first
}

TEST_F(RebuildGateTest, APollInsideARebuildIsShownWithItsOwnCount) {
  ServerTable afterPoll;
  pump.onYield = [&](int yields) {
    if (yields != 20) return;
    count = 2;
    servers.at(1) = Listed("polled-a", 1);
    servers.at(2) = Listed("polled-b", 2);
    afterPoll = servers;
    Request();
  };
  sort = 3;
  Request();
  EXPECT_EQ(runs, 2);
  ExpectOneRebuildOf(afterPoll);
}

TEST_F(RebuildGateTest, AnAbortDropsTheDeferredRebuildAndLeavesTheGateUsable) {
  pump.onYield = [&](int yields) {
    if (yields == 5) Request();
    if (yields == 8) throw HandlerAborted{};
  };
  EXPECT_THROW(Request(), HandlerAborted);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(gate.IsRunning());
  pump.onYield = nullptr;
  sort = 4;
  Request();
  EXPECT_EQ(runs, 2);
  ExpectOneRebuildOf(servers);
}

}  // namespace
}  // namespace quorvex
