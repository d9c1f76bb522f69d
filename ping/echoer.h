// ICMP echo requests to IPv4 addresses, sent all at once the way the platform allows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace quorvex {

// What every echo carries, whatever sends it.
inline constexpr int kEchoTimeoutMs = 50;
inline constexpr int kEchoTimeToLive = 255;
inline constexpr size_t kEchoPayloadSize = 32;
inline constexpr unsigned char kEchoPayloadByte = 'A';

// The ones' complement sum of an ICMP message (RFC 1071), over its bytes as sent.
inline uint16_t InternetChecksum(const unsigned char* bytes, size_t size) {
  uint32_t sum = 0;
  for (size_t i = 0; i + 1 < size; i += 2) sum += (bytes[i] << 8) | bytes[i + 1];
  if (size % 2 == 1) sum += bytes[size - 1] << 8;
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint16_t>(~sum);
}

class Echoer {
 public:
  virtual ~Echoer() = default;
  // Sends one echo to every address at once and waits at most `timeoutMs` for all of
  // them. Per address, in their order: the round trip in whole milliseconds (truncated),
  // or nullopt when no matching reply came within `timeoutMs` of its request or the echo
  // could not be sent at all. An address may appear more than once.
  virtual std::vector<std::optional<int32_t>> Echo(const std::vector<uint32_t>& addressesNetworkOrder,
                                                   int timeoutMs) = 0;
};

// The platform's own echoer (defined in ping/ping_*.cpp, beside MakeSystemPinger).
std::unique_ptr<Echoer> MakeSystemEchoer();

}  // namespace quorvex
