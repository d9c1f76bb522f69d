// What the Qt tray's notifications about a server offer, and the servers an older
// notification's click finds.
#include "frontends/qt/balloon_actions.h"

#include <gtest/gtest.h>

#include "common/numbers.h"

namespace quorvex {
namespace {

TEST(JoinActions, AClickOnTheNotificationAndAJoinButtonWhereTheServerShowsButtons) {
  EXPECT_EQ(JoinActions(false), (std::vector<Text>{u"default", u"Join"}));
  EXPECT_EQ(JoinActions(true), (std::vector<Text>{u"default", u"Join", u"join", u"Join"}));
  for (const char16_t* key : {u"default", u"join"}) EXPECT_TRUE(JoinsServer(key));
  for (const char16_t* key : {u"", u"Join", u"dismiss", u"default "}) EXPECT_FALSE(JoinsServer(key)) << ToUtf8(key);
}

ServerRecord Numbered(int n) { return {.address = u"10.0.0." + FormatPlain(n), .port = static_cast<uint16_t>(n)}; }

// Each id finds its own server, the newest 32 of them; an id given again (a notification
// server that started anew) finds the newer server and counts as new.
TEST(BalloonServers, EachIdFindsItsOwnServerAndTheNewest32AreKept) {
  BalloonServers servers;
  EXPECT_FALSE(servers.Find(1));
  for (int id = 1; id <= 40; ++id) servers.Remember(static_cast<uint32_t>(id), Numbered(id));
  for (int id = 1; id <= 40; ++id) {
    const std::optional<ServerRecord> found = servers.Find(static_cast<uint32_t>(id));
    EXPECT_EQ(found, id > 8 ? std::optional(Numbered(id)) : std::nullopt) << id;
  }
  servers.Remember(9, Numbered(99));
  servers.Remember(41, Numbered(41));  // the oldest goes: 10, as 9 was given anew
  EXPECT_EQ(servers.Find(9), Numbered(99));
  EXPECT_FALSE(servers.Find(10));
  EXPECT_EQ(servers.Find(11), Numbered(11));
}

}  // namespace
}  // namespace quorvex
