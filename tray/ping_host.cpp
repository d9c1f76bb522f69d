#include "tray/ping_host.h"

#include <cstring>
#include <stdexcept>

#include "common/numbers.h"

namespace quorvex {
namespace {

const Text kNoAnswer = u"999";

// One dotted part: 1 to 3 decimal digits, at most 255. Leading zeros are read as decimal.
std::optional<uint32_t> ParseDottedPart(const Text& part) {
  if (part.empty() || part.size() > 3) return std::nullopt;
  uint32_t value = 0;
  for (char16_t unit : part) {
    if (unit < u'0' || unit > u'9') return std::nullopt;
    value = value * 10 + (unit - u'0');
  }
  if (value > 255) return std::nullopt;
  return value;
}

// The destination a host text names; nullopt when it names none.
std::optional<uint32_t> DestinationOf(const Text& host, Resolver& resolver) {
  if (host.empty()) return std::nullopt;
  // The system resolvers read a name up to its first NUL; a text with one in it is no name.
  if (host.find(u'\0') != Text::npos) return std::nullopt;
  if (auto dotted = ParseDottedIpv4(host)) return dotted;
  return resolver.ResolveIpv4(host);
}

class EchoPinger : public Pinger {
 public:
  EchoPinger(Resolver& resolver, std::unique_ptr<IcmpEcho> echo) : resolver_(resolver), echo_(std::move(echo)) {}
  Text PingHost(const Text& host) override { return quorvex::PingHost(host, resolver_, *echo_); }

 private:
  Resolver& resolver_;
  std::unique_ptr<IcmpEcho> echo_;
};

}  // namespace

std::optional<uint32_t> ParseDottedIpv4(const Text& host) {
  uint8_t bytes[4] = {};
  size_t partStart = 0;
  for (int index = 0; index < 4; ++index) {
    const size_t dot = host.find(u'.', partStart);
    const bool lastPart = index == 3;
    if (lastPart != (dot == Text::npos)) return std::nullopt;
    const size_t partEnd = lastPart ? host.size() : dot;
    const auto value = ParseDottedPart(host.substr(partStart, partEnd - partStart));
    if (!value) return std::nullopt;
    bytes[index] = static_cast<uint8_t>(*value);
    partStart = partEnd + 1;
  }
  // Network byte order is the order the parts are written in, byte for byte in memory.
  uint32_t address = 0;
  std::memcpy(&address, bytes, sizeof address);
  return address;
}

Text PingHost(const Text& host, Resolver& resolver, IcmpEcho& echo) {
  if (host.size() > kMaxHostUnits) {
    throw std::invalid_argument("host longer than 64 characters");
  }
  const auto destination = DestinationOf(host, resolver);
  // Address 0 is no server: an echo there only tells something about this machine.
  if (!destination || *destination == 0) return kNoAnswer;
  const auto roundTripMs = echo.Echo(*destination, kEchoTimeoutMs);
  if (!roundTripMs) return kNoAnswer;
  return FormatSignedBlank(*roundTripMs);
}

std::unique_ptr<Pinger> MakeEchoPinger(Resolver& resolver, std::unique_ptr<IcmpEcho> echo) {
  return std::make_unique<EchoPinger>(resolver, std::move(echo));
}

}  // namespace quorvex
