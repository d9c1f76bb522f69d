// The favourite-server rules of the alert= lines, from one list reply to the next: which
// server has reached a rule's player count, told once until it has been below it again.
#pragma once
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/text.h"
#include "watch/alert_rule.h"
#include "watch/listed_servers.h"

namespace quorvex {

// A server that reached a rule, and its player count in the reply.
struct ServerNews {
  ServerPlace server;
  int32_t players = 0;

  bool operator==(const ServerNews&) const = default;
};

class ServerAlerts {
 public:
  // A told server is told again only after a reply at least this long after the telling
  // showed it below the rule's count.
  static constexpr int64_t kRearmDelayMs = 600'000;

  // The rules of the alert= lines; none tells nothing.
  explicit ServerAlerts(const std::vector<AlertRule>& rules);

  bool HasRules() const { return !rules_.empty(); }

  // Takes in a reply that arrived at `nowMs` (the program's monotonic clock) and returns
  // the servers to tell about, in the reply's order. A server (the first element of its
  // address and port) is told when a rule whose pattern matches its name is armed for it and
  // its count is at least the rule's; every such rule then disarms for it, and re-arms at a
  // reply kRearmDelayMs or more after that showing the count below the rule's, or no longer
  // listing the server. A count that is no whole number changes nothing for the server. A
  // failed poll is no reply: the caller skips it.
  std::vector<ServerNews> TakeReply(const std::vector<ListedServer>& servers, int64_t nowMs);

 private:
  struct ServerKey {
    Text address;
    Text port;
    bool operator==(const ServerKey&) const = default;
  };
  struct ServerKeyHash {
    size_t operator()(const ServerKey& key) const;
  };
  struct Rule {
    int32_t players = 0;
    Text foldedPattern;  // see FoldAsciiCase
    // The servers the rule is disarmed for, with when it told them.
    std::unordered_map<ServerKey, int64_t, ServerKeyHash> toldAtMs;
  };

  // Whether an armed rule tells about the server now; re-arms or disarms the rule for it.
  static bool Reached(Rule& rule, const ServerKey& key, int32_t players, int64_t nowMs);

  std::vector<Rule> rules_;
};

}  // namespace quorvex
