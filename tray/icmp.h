// The pings of a poll: one ICMP echo to every server at once, each result as text.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "common/event_pump.h"
#include "common/text.h"

namespace quorvex {

// Turns a host name into an IPv4 address (network byte order); nullopt when it does not
// resolve. Blocks for as long as the system's resolver takes. Kept apart so tests never
// resolve a name.
class Resolver {
 public:
  virtual ~Resolver() = default;
  virtual std::optional<uint32_t> ResolveIpv4(const Text& hostName) = 0;
};

class Pinger {
 public:
  virtual ~Pinger() = default;
  // One echo to every host at once; the results in the hosts' order: " 23" for an answer
  // after 23 ms, "999" when none came within 50 ms, when a name did not resolve within a
  // second, or for a host longer than 64 characters (no server has such a name). Events
  // run through `pump` meanwhile; when a yield throws (Exit), the pings and look-ups are
  // abandoned at once and the exception goes on.
  virtual std::vector<Text> PingHosts(const std::vector<Text>& hosts, EventPump& pump) = 0;
};

std::unique_ptr<Resolver> MakeSystemResolver();
// The platform's echo over the system's resolver.
std::unique_ptr<Pinger> MakePinger();

}  // namespace quorvex
