// The pings of a poll: one ICMP echo to every server at once, each result as text. The
// family: a Pinger pings hosts (names looked up, then echoed) while events run; an Echoer
// (ping/echoer.h) sends the echoes to addresses; a Resolver (ping/name_lookups.h) looks up
// one name.
#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <stop_token>
#include <vector>

#include "common/event_pump.h"
#include "common/text.h"
#include "ping/echoer.h"
#include "ping/name_lookups.h"
#include "ping/no_answer.h"

namespace quorvex {

// Longest host text that is pinged, in UTF-16 code units.
inline constexpr size_t kMaxHostUnits = 64;
// The longest all the name look-ups of one poll may take together.
inline constexpr auto kNameLookupLimit = std::chrono::seconds(1);

class Pinger {
 public:
  virtual ~Pinger() = default;
  // One echo to every host at once; the results in the hosts' order: " 23" for an answer
  // after 23 ms, "999" (kNoAnswerPing) when none came within 50 ms, when a name did not
  // resolve within a second, for a text that is no host name (common/host_rules.h:
  // IsHostName, the join's rule) or for a host longer than 64 characters (no server has
  // such a name). Events run through `pump` meanwhile; when a yield throws (Exit), the
  // pings and look-ups are abandoned at once and the exception goes on.
  virtual std::vector<Text> PingHosts(const std::vector<Text>& hosts, EventPump& pump) = 0;
};

// The pings of `hosts` on the calling thread: the names are looked up first (all at once,
// ending early when `stop` is requested), then every address is echoed at once. Per
// host: " <ms>" or "999".
std::vector<Text> PingHostsBlocking(const std::vector<Text>& hosts, NameLookups& lookups, Echoer& echoer,
                                    std::stop_token stop = {});

// A Pinger that runs PingHostsBlocking on a thread of its own while events run.
std::unique_ptr<Pinger> MakePinger(std::shared_ptr<Resolver> resolver, std::unique_ptr<Echoer> echoer);
// The platform's Pinger: MakePinger over the system's resolver and echoer.
std::unique_ptr<Pinger> MakeSystemPinger();

}  // namespace quorvex
