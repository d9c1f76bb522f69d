// One ICMP echo to a host: its round-trip time as text, or "999".
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>

#include "common/text.h"

namespace quorvex {

// Turns a host name into an IPv4 address (network byte order); nullopt when it does not
// resolve. Kept apart so tests never resolve a name.
class Resolver {
 public:
  virtual ~Resolver() = default;
  virtual std::optional<uint32_t> ResolveIpv4(const Text& hostName) = 0;
};

class Pinger {
 public:
  virtual ~Pinger() = default;
  // " 23" for an answer after 23 ms, "999" for none within 50 ms. A host longer than 64
  // characters throws std::invalid_argument before anything is sent.
  virtual Text PingHost(const Text& host) = 0;
};

std::unique_ptr<Resolver> MakeSystemResolver();
std::unique_ptr<Pinger> MakePinger(Resolver& resolver);

}  // namespace quorvex
