#include "frontends/qt/balloon_actions.h"

#include <algorithm>

namespace quorvex {

namespace {
const Text kDefaultAction = u"default", kJoinAction = u"join";
}

std::vector<Text> JoinActions(bool serverShowsActions) {
  // The default action's label is shown only by servers that list it among the others.
  std::vector<Text> actions = {kDefaultAction, u"Join"};
  if (serverShowsActions) actions.insert(actions.end(), {kJoinAction, u"Join"});
  return actions;
}

bool JoinsServer(const Text& actionKey) { return actionKey == kDefaultAction || actionKey == kJoinAction; }

void BalloonServers::Remember(uint32_t id, const ServerRecord& server) {
  std::erase_if(servers_, [&](const auto& entry) { return entry.first == id; });
  servers_.emplace_back(id, server);
  if (servers_.size() > kKept) servers_.pop_front();
}

std::optional<ServerRecord> BalloonServers::Find(uint32_t id) const {
  const auto found = std::find_if(servers_.begin(), servers_.end(), [&](const auto& entry) { return entry.first == id; });
  if (found == servers_.end()) return std::nullopt;
  return found->second;
}

}  // namespace quorvex
