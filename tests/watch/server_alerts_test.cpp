// The favourite-server rules over a clock the test sets: the first reply tells, a count that
// swings around the rule's within ten minutes does not, below it after ten minutes re-arms.
#include "watch/server_alerts.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "tests/watch/reply_steps.h"

namespace quorvex {
namespace {

// A server of a reply, known by its address (the port fixed).
ListedServer Server(const Text& address, const Text& name, std::optional<int32_t> players) {
  return ListedServer{.name = name, .address = address, .port = u"27000", .current_players = players, .playerNames = {}};
}

ServerNews Told(const ListedServer& server) {
  return {server.name, server.address, server.port, server.current_players.value()};
}

using Step = ReplyStep<ServerNews>;

void RunSteps(ServerAlerts& watch, const std::vector<Step>& steps) { RunReplySteps(watch, steps); }

constexpr int64_t kRearm = ServerAlerts::kRearmDelayMs;

TEST(ServerAlerts, TellsOnceThenAgainOnlyAfterTenMinutesAndAReplyBelowTheCount) {
  ServerAlerts alerts({{12, u"our *"}});
  const auto a = [](std::optional<int32_t> players) { return Server(u"a", u"Our A", players); };
  const auto c = [](std::optional<int32_t> players) { return Server(u"c", u"OUR C", players); };
  RunSteps(alerts, {
      // Already busy at start-up: told. Names that do not match, counts below: nothing.
      {0, {Server(u"b", u"Their B", 40), a(12), c(30), Server(u"d", u"Our D", 11)}, {Told(a(12)), Told(c(30))}},
      // Swinging around 12 within the ten minutes tells nothing.
      {60'000, {a(11), c(3)}, {}},
      {120'000, {a(13), c(31)}, {}},
      {kRearm - 1, {a(5), c(40)}, {}},
      {kRearm, {a(12), c(3)}, {}},  // a was not re-armed 1 ms early; c re-arms at exactly ten minutes
      {kRearm + 500, {a(11), c(std::nullopt)}, {}},
      {kRearm + 1'000, {a(12), c(40)}, {Told(a(12)), Told(c(40))}},
      // A count that is no whole number neither tells nor re-arms.
      {3 * kRearm, {a(std::nullopt), Server(u"e", u"Our E", std::nullopt)}, {}},
      {3 * kRearm + 1, {a(20)}, {}},
  });
}

// A server gone from the list is offline: ten minutes after its report that re-arms it.
TEST(ServerAlerts, AServerNoLongerListedTenMinutesAfterItsReportIsToldAgain) {
  ServerAlerts alerts({{5, u"*"}});
  const ListedServer a = Server(u"a", u"A", 9), b = Server(u"b", u"B", 1);
  RunSteps(alerts, {
      {0, {a}, {Told(a)}},
      {kRearm - 1, {b}, {}},  // gone for a while within the ten minutes: still told
      {kRearm, {a}, {}},
      {2 * kRearm, {b}, {}},
      {2 * kRearm + 1, {a}, {Told(a)}},
  });
}

// A server is the first element of its address and port; another port is another server.
TEST(ServerAlerts, OnlyTheFirstElementOfAnAddressAndPortCounts) {
  ServerAlerts alerts({{5, u"*"}});
  ListedServer otherPort = Server(u"a", u"A", 9);
  otherPort.port = u"27001";
  RunSteps(alerts, {
      {0, {Server(u"a", u"A", std::nullopt), Server(u"a", u"A", 9), otherPort}, {Told(otherPort)}},
      {1, {Server(u"b", u"B", 6), Server(u"b", u"B2", 7)}, {Told(Server(u"b", u"B", 6))}},
      {2, {Server(u"a", u"A", 9)}, {Told(Server(u"a", u"A", 9))}},
  });
}

// A server that reaches several armed rules is told once and each of them disarms for it; a
// rule it matches but has not reached stays armed.
TEST(ServerAlerts, SeveralRulesTellAServerOnceAndEachRuleItReachedDisarms) {
  ServerAlerts alerts({{10, u"our*"}, {20, u"*SERVER"}, {1, u"nothing"}});
  const auto s = [](int32_t players) { return Server(u"s", u"Our server", players); };
  const auto u = [](int32_t players) { return Server(u"u", u"Our big server", players); };
  RunSteps(alerts, {
      {0, {s(12), u(40)}, {Told(s(12)), Told(u(40))}},
      {10'000, {s(25), u(40)}, {Told(s(25))}},  // s reaches the armed 20; u reached both at 0
      {20'000, {s(30), u(45)}, {}},
      // s below 20, not below 10: the 20 re-arms alone; u at 20 is not below it.
      {10'000 + kRearm, {s(15), u(20)}, {}},
      {20'000 + kRearm, {s(22), u(22)}, {Told(s(22))}},
  });
}

TEST(ServerAlerts, WithoutRulesTellsNothing) {
  ServerAlerts alerts({});
  EXPECT_FALSE(alerts.HasRules());
  RunSteps(alerts, {{0, {Server(u"a", u"A", 100)}, {}}});
  EXPECT_TRUE(ServerAlerts({{1, u"x"}}).HasRules());
}

}  // namespace
}  // namespace quorvex
