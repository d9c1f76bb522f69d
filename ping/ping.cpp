#include "ping/ping.h"

#include "common/host_rules.h"
#include "common/numbers.h"
#include "common/pumped_wait.h"
#include "ping/no_answer.h"

namespace quorvex {
namespace {

// A host the ping looks up or echoes: a host name or dotted address by the rule the join
// uses too, and no longer than a ping takes. Anything else from the list is sent nowhere.
bool IsPingable(const Text& host) { return host.size() <= kMaxHostUnits && IsHostName(host); }

// Every host's destination: its dotted address, or the address its name resolved to.
std::vector<std::optional<uint32_t>> Destinations(const std::vector<Text>& hosts, NameLookups& lookups,
                                                  std::stop_token stop) {
  std::vector<std::optional<uint32_t>> destinations(hosts.size());
  std::vector<Text> names;
  std::vector<size_t> named;
  for (size_t i = 0; i < hosts.size(); ++i) {
    if (!IsPingable(hosts[i])) continue;
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

// Runs the pings on a thread of their own while the events run through the pump.
class PumpingPinger : public Pinger {
 public:
  PumpingPinger(std::shared_ptr<Resolver> resolver, std::unique_ptr<Echoer> echoer)
      : lookups_(std::move(resolver)), echoer_(std::move(echoer)) {}

  std::vector<Text> PingHosts(const std::vector<Text>& hosts, EventPump& pump) override {
    std::stop_source stop;
    return WaitPumping(pump, [&] { return PingHostsBlocking(hosts, lookups_, *echoer_, stop.get_token()); },
                       [&] { stop.request_stop(); });
  }

 private:
  NameLookups lookups_;
  std::unique_ptr<Echoer> echoer_;
};

}  // namespace

std::vector<Text> PingHostsBlocking(const std::vector<Text>& hosts, NameLookups& lookups, Echoer& echoer,
                                    std::stop_token stop) {
  const auto destinations = Destinations(hosts, lookups, stop);
  std::vector<Text> results(hosts.size(), Text(kNoAnswerPing));
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
  const auto roundTrips = echoer.Echo(addresses, kEchoTimeoutMs);
  for (size_t k = 0; k < echoed.size() && k < roundTrips.size(); ++k) {
    if (roundTrips[k]) results[echoed[k]] = FormatSignedBlank(*roundTrips[k]);
  }
  return results;
}

std::unique_ptr<Pinger> MakePinger(std::shared_ptr<Resolver> resolver, std::unique_ptr<Echoer> echoer) {
  return std::make_unique<PumpingPinger>(std::move(resolver), std::move(echoer));
}

}  // namespace quorvex
