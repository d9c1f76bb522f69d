// One ICMP echo request to an IPv4 address, sent the way the platform allows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace quorvex {

// What every echo carries, whatever sends it.
inline constexpr int kEchoTimeoutMs = 50;
inline constexpr int kEchoTimeToLive = 255;
inline constexpr size_t kEchoPayloadSize = 32;
inline constexpr unsigned char kEchoPayloadByte = 'A';

class IcmpEcho {
 public:
  virtual ~IcmpEcho() = default;
  // The round trip in whole milliseconds (truncated), or nullopt when no matching reply
  // arrived within `timeoutMs` or the echo could not be sent at all.
  virtual std::optional<int32_t> Echo(uint32_t addressNetworkOrder, int timeoutMs) = 0;
};

// The platform's own echo (defined beside MakePinger).
std::unique_ptr<IcmpEcho> MakeSystemIcmpEcho();

}  // namespace quorvex
