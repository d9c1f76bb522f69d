#include "menu/server_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/steps.h"
#include "tests/menu/expected_lines.h"
#include "tests/support/counting_pump.h"

namespace quorvex {
namespace {

using testing::CountingPump;
using testing::JoinSegments;
using testing::Spaces;

const Text kMacrons(146, u'\u00AF');

// A record told apart by its player list, which shows as 8 spaces and the list itself.
ServerRecord Listed(const std::string& id, int16_t players = 0) {
  ServerRecord record;
  record.name = FromAscii("Server " + id);
  record.player_names = FromAscii("p-" + id);
  record.current_players = players;
  return record;
}

Text PlayerLineOf(const std::string& id) { return Spaces(8) + FromAscii("p-" + id); }

class ServerMenuTest : public ::testing::Test {
 protected:
  void Rebuild(int16_t count, int16_t sortColumn) { RebuildServerMenu(menu, servers, count, sortColumn, pump, shown); }
  const MenuItem& ServerItem(int index) const { return menu.Item("menServername", index); }
  void FillSlots(int last) {
    for (int i = 1; i <= last; ++i) servers.at(i) = Listed(std::to_string(i));
  }

  MenuTree menu = MakeDesignMenu();
  ServerTable servers;
  CountingPump pump;
  ShownServers shown{};
};

TEST_F(ServerMenuTest, VisibilityAndCaptionFollowTheServerCount) {
  struct Case {
    int16_t count;
    int lastVisible;
  };
  const Case cases[] = {{0, 0},   {1, 2},   {2, 5},   {5, 14},  {15, 44},
                        {16, 47}, {17, 48}, {20, 48}, {-3, 0}};
  FillSlots(16);
  for (const Case& c : cases) {
    Rebuild(c.count, 3);
    for (int k = 1; k <= 48; ++k) EXPECT_EQ(ServerItem(k).visible, k <= c.lastVisible) << "count " << c.count << " item " << k;
    EXPECT_EQ(menu.Item("menServer").caption, u"Servers (" + FromAscii(std::to_string(c.count)) + u")");
  }
}

TEST_F(ServerMenuTest, TwoServersReadTopToBottomInPingOrder) {
  ServerRecord mumble;
  mumble.name = u"Mumble";
  mumble.version = u"1.31";
  mumble.dedicated = u"*";
  mumble.mode = u"Coop";
  mumble.map_name = u"Island";
  mumble.current_players = 4;
  mumble.bots = 10;
  mumble.ping = 999;
  mumble.player_names = u"ann   bob";
  ServerRecord ixxxx;
  ixxxx.name = u"Ixxxx";
  ixxxx.version = u"1.31";
  ixxxx.dedicated = u" ";
  ixxxx.map_id = u"pack/maps/map5";
  ixxxx.ping = 35;
  servers.at(1) = mumble;
  servers.at(2) = ixxxx;

  Rebuild(2, 5);

  const Text header = Spaces(6) + u"Server" + Spaces(31) + u"Version" + Spaces(11) + u"Dedicated" + Spaces(17) +
                      u"Mode" + Spaces(17) + u"Map" + Spaces(20) + u"Players" + Spaces(17) + u"Bots" + Spaces(21) +
                      u"Ping\u00B9";
  EXPECT_EQ(menu.Item("menServerTitle").caption, header);
  EXPECT_EQ(menu.Item("menblub").caption, kMacrons);
  EXPECT_EQ(ServerItem(1).caption,
            JoinSegments({u"Ixxxx", 28, u"1.31", u" ", u"-----", u"map5", 20, u" 0", u"   0", u"    35"}));
  EXPECT_EQ(ServerItem(2).caption, Spaces(8));
  EXPECT_EQ(ServerItem(3).caption, kMacrons);
  EXPECT_EQ(ServerItem(4).caption,
            JoinSegments({u"Mumble", 20, u"1.31", u"*", u"Coop", u"Island", 17, u" 4", u"  10", u"   --"}));
  EXPECT_EQ(ServerItem(5).caption, Spaces(8) + u"ann   bob");
  for (int k = 1; k <= 5; ++k) EXPECT_TRUE(ServerItem(k).visible) << k;
  for (int k = 6; k <= 48; ++k) EXPECT_FALSE(ServerItem(k).visible) << k;
  EXPECT_EQ(menu.Item("menServer").caption, u"Servers (2)");
  EXPECT_EQ(shown[1], ixxxx);
  EXPECT_EQ(shown[2], mumble);
}

TEST_F(ServerMenuTest, NoServersHidesEverythingAndStillUpdatesTheCaptions) {
  FillSlots(3);
  Rebuild(3, 0);
  Rebuild(0, 4);
  for (int k = 1; k <= 48; ++k) EXPECT_FALSE(ServerItem(k).visible) << k;
  EXPECT_EQ(menu.Item("menServer").caption, u"Servers (0)");
  EXPECT_EQ(menu.Item("menServerTitle").caption.find(u"Bots\u00B9"), 155u);
  EXPECT_EQ(menu.Item("menServerTitle").caption.size(), 185u);
}

TEST_F(ServerMenuTest, YieldsOncePerSortPassTwicePerSlotAndOncePerHiddenItem) {
  FillSlots(16);  // equal player counts: the sort needs one pass
  struct Case {
    int16_t count;
    int yields;
  };
  for (const Case c : {Case{5, 1 + 32 + 34}, Case{0, 1 + 32 + 48}, Case{16, 1 + 32 + 1}, Case{20, 1 + 32}}) {
    pump.yields = 0;
    Rebuild(c.count, 3);
    EXPECT_EQ(pump.yields, c.yields) << "count " << c.count;
  }
}

TEST_F(ServerMenuTest, AShrinkingPollLeavesNoStaleLineAndNoLeftOverInView) {
  for (int i = 1; i <= 5; ++i) servers.at(i) = Listed("old" + std::to_string(i), static_cast<int16_t>(i));
  Rebuild(5, 3);
  // The next reply lists two servers: slots 1 and 2 are rewritten, 3 to 5 keep old records
  // with more players than either new one.
  servers.at(1) = Listed("new-a", 1);
  servers.at(2) = Listed("new-b", 2);
  Rebuild(2, 3);
  EXPECT_EQ(ServerItem(2).caption, PlayerLineOf("new-b"));
  EXPECT_EQ(ServerItem(5).caption, PlayerLineOf("new-a"));
  for (int k = 1; k <= 5; ++k) EXPECT_TRUE(ServerItem(k).visible) << k;
  for (int k = 6; k <= 48; ++k) EXPECT_FALSE(ServerItem(k).visible) << k;
  EXPECT_EQ(servers.at(3).player_names, u"p-old3");  // the left-overs did not move
  EXPECT_EQ(servers.at(4).player_names, u"p-old2");
  EXPECT_EQ(servers.at(5).player_names, u"p-old1");
  EXPECT_EQ(menu.Item("menServer").caption, u"Servers (2)");
}

TEST_F(ServerMenuTest, ShownRecordsAreTheOnesTheLinesWereWrittenFrom) {
  FillSlots(16);
  // Yield 1 is the sort's only pass, yields 2 and 3 frame slot 1: a poll in yield 3 replaces
  // slot 1 after its lines were composed.
  pump.onYield = [this](int yields) {
    if (yields == 3) servers.at(1) = Listed("moved-in");
  };
  Rebuild(16, 3);
  EXPECT_EQ(ServerItem(2).caption, PlayerLineOf("1"));
  EXPECT_EQ(shown[1].player_names, u"p-1");
  EXPECT_EQ(servers.at(1).player_names, u"p-moved-in");
  for (int i = 2; i <= 16; ++i) EXPECT_EQ(shown[static_cast<size_t>(i)], servers.at(i)) << i;
  // A later change of the table leaves the snapshot alone until the next rebuild.
  servers.at(2).player_names = u"changed";
  EXPECT_EQ(shown[2].player_names, u"p-2");
}

// Two menus are alike when the servers submenu reads and shows the same everywhere.
void ExpectSameServersMenu(const MenuTree& actual, const MenuTree& expected) {
  EXPECT_EQ(actual.Item("menServer").caption, expected.Item("menServer").caption);
  EXPECT_EQ(actual.Item("menServerTitle").caption, expected.Item("menServerTitle").caption);
  for (int k = 1; k <= 48; ++k) {
    EXPECT_EQ(actual.Item("menServername", k).caption, expected.Item("menServername", k).caption) << k;
    EXPECT_EQ(actual.Item("menServername", k).visible, expected.Item("menServername", k).visible) << k;
  }
}

// The form's use of the gate: every request rebuilds from the current count, sort and table.
class RebuildGateTest : public ServerMenuTest {
 protected:
  void SetUp() override {
    const int16_t players[] = {7, 3, 11, 5, 9};  // all different: one order whatever came before
    for (int i = 1; i <= 5; ++i) servers.at(i) = Listed(std::to_string(i), players[i - 1]);
  }
  void RequestRebuild() {
    gate.Run([this] {
      ++runs;
      Rebuild(serverCount, sort);
    });
  }
  // One complete rebuild, out of the gate's way, of the table as it is now.
  void ExpectEndStateOfOneRebuildOf(const ServerTable& table) {
    MenuTree expectedMenu = MakeDesignMenu();
    ServerTable expectedServers = table;
    ShownServers expectedShown{};
    CountingPump quietPump;
    RebuildServerMenu(expectedMenu, expectedServers, serverCount, sort, quietPump, expectedShown);
    ExpectSameServersMenu(menu, expectedMenu);
    for (int i = 1; i <= 16; ++i) {
      EXPECT_EQ(servers.at(i), expectedServers.at(i)) << i;
      EXPECT_EQ(shown[static_cast<size_t>(i)], expectedShown[static_cast<size_t>(i)]) << i;
    }
  }

  RebuildGate gate;
  int runs = 0;
  int16_t serverCount = 5;
  int16_t sort = 0;
};

TEST_F(RebuildGateTest, ASortClickDuringARebuildRunsOnceRightAfterIt) {
  int runsSeenByTheClick = -1;
  pump.onYield = [&](int yields) {
    if (yields != 10) return;
    sort = 3;  // menSort_Click stores the new column, then asks for a rebuild
    RequestRebuild();
    runsSeenByTheClick = runs;
  };
  RequestRebuild();
  EXPECT_EQ(runsSeenByTheClick, 1);  // the click's rebuild did not start inside the running one
  EXPECT_EQ(runs, 2);
  EXPECT_FALSE(gate.IsRunning());
  ExpectEndStateOfOneRebuildOf(servers);
  EXPECT_EQ(ServerItem(2).caption, PlayerLineOf("3"));  // 11 players first
  EXPECT_EQ(menu.Item("menServerTitle").caption.find(u"Players\u00B9"), 131u);
}

TEST_F(RebuildGateTest, APollDuringASortClickIsShownWithItsOwnCount) {
  ServerTable tableAfterPoll;
  pump.onYield = [&](int yields) {
    if (yields != 20) return;
    serverCount = 2;
    servers.at(1) = Listed("polled-a", 1);
    servers.at(2) = Listed("polled-b", 2);
    tableAfterPoll = servers;
    RequestRebuild();
  };
  sort = 3;
  RequestRebuild();
  EXPECT_EQ(runs, 2);
  ExpectEndStateOfOneRebuildOf(tableAfterPoll);
  EXPECT_EQ(menu.Item("menServer").caption, u"Servers (2)");
  EXPECT_FALSE(ServerItem(6).visible);
}

TEST_F(RebuildGateTest, ManyRequestsDuringOneRebuildMakeOneMoreRun) {
  pump.onYield = [&](int yields) {
    if (yields == 5 || yields == 10 || yields == 40) RequestRebuild();
  };
  RequestRebuild();
  EXPECT_EQ(runs, 2);
}

TEST_F(RebuildGateTest, ARequestDuringTheDeferredRunGetsItsOwnRun) {
  int requestedInRun = 0;
  pump.onYield = [&](int) {
    if (runs <= 2 && requestedInRun < runs) {
      requestedInRun = runs;
      RequestRebuild();
    }
  };
  RequestRebuild();
  EXPECT_EQ(runs, 3);
  EXPECT_FALSE(gate.IsRunning());
}

TEST_F(RebuildGateTest, AnAbortedRebuildDropsTheDeferredOneAndLeavesTheGateUsable) {
  pump.onYield = [&](int yields) {
    if (yields == 5) RequestRebuild();
    if (yields == 8) throw HandlerAborted{};
  };
  EXPECT_THROW(RequestRebuild(), HandlerAborted);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(gate.IsRunning());

  pump.onYield = nullptr;
  sort = 4;
  RequestRebuild();
  EXPECT_EQ(runs, 2);
  ExpectEndStateOfOneRebuildOf(servers);
}

}  // namespace
}  // namespace quorvex
