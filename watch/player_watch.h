// Who of the watched players is online where, from one list reply to the next.
#pragma once
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/text.h"
#include "watch/listed_servers.h"

namespace quorvex {

enum class PlayerEvent { kOnline, kMoved };

// A watched name the latest reply tells about: it came online, or it moved, onto `server`.
struct PlayerNews {
  Text name;
  PlayerEvent event = PlayerEvent::kOnline;
  ServerPlace server;

  bool operator==(const PlayerNews&) const = default;
};

// A watched name the latest reply holds, and the first server that lists it.
struct OnlinePlayer {
  Text name;
  ServerPlace server;

  bool operator==(const OnlinePlayer&) const = default;
};

class PlayerWatch {
 public:
  // A name seen in a reply at most this long before the current one is still online.
  static constexpr int64_t kOnlineWindowMs = 300'000;

  // The patterns of the watch= lines (see WildcardMatch); none watches nobody.
  explicit PlayerWatch(const std::vector<Text>& patterns);

  bool WatchesAnyone() const { return !foldedPatterns_.empty(); }
  // Whether any pattern matches the whole name.
  bool IsWatched(const Text& playerName) const;

  // Takes in a reply that arrived at `nowMs` (the program's monotonic clock) and returns its
  // news in the reply's order. A watched name is online news when no reply of the last
  // kOnlineWindowMs held it (so the first reply reports everyone), and moved news when the
  // latest one that did had it on another server (address and port). A name on several
  // servers counts on the first of them. A failed poll is no reply: the caller skips it.
  std::vector<PlayerNews> TakeReply(const std::vector<ListedServer>& servers, int64_t nowMs);

  // The watched names of the latest reply taken, each once, sorted by name with ASCII letters
  // in either case alike ("ann" before "Bob"), then by code ("ANN" before "ann").
  const std::vector<OnlinePlayer>& OnlineNow() const { return online_; }

 private:
  // Where and when a watched name was last seen.
  struct Sighting {
    int64_t atMs = 0;
    Text address;
    Text port;
    uint64_t reply = 0;  // which TakeReply saw it, to count a name once per reply
  };

  bool MatchesAnyPattern(std::u16string_view foldedName) const;

  std::vector<Text> foldedPatterns_;  // see FoldAsciiCase
  std::unordered_map<Text, Sighting> lastSeen_;
  std::vector<OnlinePlayer> online_;
  uint64_t replies_ = 0;
};

}  // namespace quorvex
