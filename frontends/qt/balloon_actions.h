// What a notification about a server offers, and which server a click on an older one joins.
// Plain C++ on Text, so that the unit tests check the rules without a desktop.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

#include "common/text.h"
#include "servers/server_table.h"

namespace quorvex {

// The actions of a notification about a server, as org.freedesktop.Notifications takes them
// (a key, then its label): "default", which a click on the notification invokes, and where
// the notification server lists the "actions" capability, a button "Join" too.
std::vector<Text> JoinActions(bool serverShowsActions);

// Whether the invoked action is one of JoinActions.
bool JoinsServer(const Text& actionKey);

// The servers of the notifications shown, by the id the notification server gave each: a
// notification centre keeps older ones, and a click on one of them joins its own server.
class BalloonServers {
 public:
  static constexpr size_t kKept = 32;  // the newest; a click on one older does nothing

  // A notification server that started anew gives ids again from the start: the newer wins.
  void Remember(uint32_t id, const ServerRecord& server);
  std::optional<ServerRecord> Find(uint32_t id) const;

 private:
  std::deque<std::pair<uint32_t, ServerRecord>> servers_;  // the oldest first
};

}  // namespace quorvex
