#include "tray/ping_host.h"

#include <cstring>

#include "common/numbers.h"
#include "common/pumped_wait.h"

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

// A text that is no host at all: nothing is looked up or sent for it.
bool IsNoHost(const Text& host) {
  // The system resolvers read a name up to its first NUL; a text with one in it is no name.
  return host.empty() || host.size() > kMaxHostUnits || host.find(u'\0') != Text::npos;
}

// Every host's destination: its dotted address, or the address its name resolved to.
std::vector<std::optional<uint32_t>> Destinations(const std::vector<Text>& hosts, NameLookups& lookups,
                                                  std::stop_token stop) {
  std::vector<std::optional<uint32_t>> destinations(hosts.size());
  std::vector<Text> names;
  std::vector<size_t> named;
  for (size_t i = 0; i < hosts.size(); ++i) {
    if (IsNoHost(hosts[i])) continue;
    destinations[i] = ParseDottedIpv4(hosts[i]);
    if (destinations[i]) continue;
    names.push_back(hosts[i]);
    named.push_back(i);
  }
  if (names.empty()) return destinations;
  const auto addresses = lookups.Resolve(names, kNameLookupLimit, stop);
  for (size_t k = 0; k < named.size(); ++k) destinations[named[k]] = addresses[k];
  return destinations;
}

class EchoPinger : public Pinger {
 public:
  EchoPinger(std::shared_ptr<Resolver> resolver, std::unique_ptr<IcmpEcho> echo)
      : lookups_(std::move(resolver)), echo_(std::move(echo)) {}

  std::vector<Text> PingHosts(const std::vector<Text>& hosts, EventPump& pump) override {
    std::stop_source stop;
    return WaitPumping(pump, [&] { return PingAll(hosts, lookups_, *echo_, stop.get_token()); },
                       [&] { stop.request_stop(); });
  }

 private:
  NameLookups lookups_;
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

std::vector<Text> PingAll(const std::vector<Text>& hosts, NameLookups& lookups, IcmpEcho& echo,
                          std::stop_token stop) {
  const auto destinations = Destinations(hosts, lookups, stop);
  std::vector<Text> results(hosts.size(), kNoAnswer);
  if (stop.stop_requested()) return results;
  // Address 0 is no server: an echo there only tells something about this machine.
  std::vector<uint32_t> addresses;
  std::vector<size_t> echoed;
  for (size_t i = 0; i < hosts.size(); ++i) {
    if (!destinations[i] || *destinations[i] == 0) continue;
    addresses.push_back(*destinations[i]);
    echoed.push_back(i);
  }
  if (addresses.empty()) return results;
  const auto roundTrips = echo.EchoAll(addresses, kEchoTimeoutMs);
  for (size_t k = 0; k < echoed.size() && k < roundTrips.size(); ++k) {
    if (roundTrips[k]) results[echoed[k]] = FormatSignedBlank(*roundTrips[k]);
  }
  return results;
}

std::unique_ptr<Pinger> MakeEchoPinger(std::shared_ptr<Resolver> resolver, std::unique_ptr<IcmpEcho> echo) {
  return std::make_unique<EchoPinger>(std::move(resolver), std::move(echo));
}

}  // namespace quorvex
