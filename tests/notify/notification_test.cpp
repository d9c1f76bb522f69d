// The variables a notifyCommand finds a balloon and its server in.
#include "notify/notification.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

namespace quorvex {
namespace {

using namespace std::string_literals;

std::map<std::string, std::string> Variables(const Notification& notification) {
  std::map<std::string, std::string> variables;
  for (const auto& [name, value] : NotifyEnvironment(notification)) variables[ToUtf8(name)] = ToUtf8(value);
  return variables;
}

ServerRecord Listed(const Text& name, const Text& address, uint16_t port) {
  return {.name = name, .address = address, .port = port, .fromLatestReply = kEveryFieldBit};
}

// Anyone can name a server: the name is handed on as the list gave it (LF for CR LF, no NUL),
// never read by anything on the way, and the link holds only the address and port.
TEST(NotifyEnvironmentTest, TheBalloonsServerIsNamedWithItsAddressPortAndJoinLink) {
  const Text hostile = u"$(touch /tmp/x) `id` \"q\" 'a' %TEMP% !v! a&calc|x^y \u65e5\r\nz\0"s;
  const auto variables = Variables({NotifyEvent::Watch, u"Quorvex", u"Ann is on\r\nS9", Listed(hostile, u"127.0.0.9", 40009)});
  EXPECT_EQ(variables, (std::map<std::string, std::string>{
                           {"QUORVEX_EVENT", "watch"},
                           {"QUORVEX_TITLE", "Quorvex"},
                           {"QUORVEX_TEXT", "Ann is on\nS9"},
                           {"QUORVEX_SERVER_NAME", "$(touch /tmp/x) `id` \"q\" 'a' %TEMP% !v! a&calc|x^y \xE6\x97\xA5\nz\xEF\xBF\xBD"},
                           {"QUORVEX_SERVER_ADDRESS", "127.0.0.9"},
                           {"QUORVEX_SERVER_PORT", "40009"},
                           {"QUORVEX_JOIN_URL", "steam://run/270150//server_address%3D127.0.0.9%20server_port%3D40009/"},
                       }));
}

// Every variable is set, so a command never reads one left over from its parent; a server a
// join would refuse keeps its name but gives no address, port or link to follow.
TEST(NotifyEnvironmentTest, NoServerOrOneAJoinRefusesLeavesTheJoinVariablesEmpty) {
  ServerRecord incomplete = Listed(u"S4", u"127.0.0.4", 40004);
  incomplete.fromLatestReply = kNameBit | kAddressBit;  // the port not from the latest reply
  const struct {
    const char* what;
    std::optional<ServerRecord> server;
    std::string name;
  } rows[] = {
      {"no single server", std::nullopt, ""},
      {"an address that is no host", Listed(u"S1", u"127.0.0.1&calc", 40001), "S1"},
      {"an address that would be an option", Listed(u"S2", u"-oProxyCommand=x", 40002), "S2"},
      {"port 0", Listed(u"S3", u"127.0.0.3", 0), "S3"},
      {"an incomplete entry", incomplete, "S4"},
  };
  for (const auto& row : rows) {
    const auto variables = Variables({NotifyEvent::Limit, u"Quorvex", u"t", row.server});
    EXPECT_EQ(variables.size(), 7u) << row.what;
    EXPECT_EQ(variables.at("QUORVEX_SERVER_NAME"), row.name) << row.what;
    EXPECT_EQ(variables.at("QUORVEX_SERVER_ADDRESS"), "") << row.what;
    EXPECT_EQ(variables.at("QUORVEX_SERVER_PORT"), "") << row.what;
    EXPECT_EQ(variables.at("QUORVEX_JOIN_URL"), "") << row.what;
    EXPECT_EQ(variables.at("QUORVEX_EVENT"), "limit") << row.what;
  }
}

}  // namespace
}  // namespace quorvex
