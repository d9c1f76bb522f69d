#include "notify/notification.h"

#include "common/numbers.h"
#include "join/join.h"
#include "join/join_link.h"

namespace quorvex {

namespace {

Text EventName(NotifyEvent event) { return event == NotifyEvent::Limit ? u"limit" : u"watch"; }

// A text as the command gets it: lines joined by LF on every system, and no NUL, which
// would cut the value short there.
Text EnvironmentText(const Text& text) {
  Text value = ReplaceAll(text, u"\r\n", u"\n");
  for (char16_t& unit : value) {
    if (unit == u'\0') unit = u'\uFFFD';
  }
  return value;
}

// The same checks a join makes before it starts the game.
bool WouldJoin(const ServerRecord& server) { return IsCompleteInLatestList(server) && IsJoinable(server); }

}  // namespace

std::vector<std::pair<Text, Text>> NotifyEnvironment(const Notification& notification) {
  const std::optional<ServerRecord>& server = notification.server;
  const bool joinable = server && WouldJoin(*server);
  return {{u"QUORVEX_EVENT", EventName(notification.event)},
          {u"QUORVEX_TITLE", EnvironmentText(notification.title)},
          {u"QUORVEX_TEXT", EnvironmentText(notification.text)},
          {u"QUORVEX_SERVER_NAME", server ? EnvironmentText(server->name) : u""},
          {u"QUORVEX_SERVER_ADDRESS", joinable ? server->address : u""},
          {u"QUORVEX_SERVER_PORT", joinable ? FormatPlain(server->port) : u""},
          {u"QUORVEX_JOIN_URL", joinable ? SteamRunLink(*server) : u""}};
}

}  // namespace quorvex
