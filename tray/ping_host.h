// The pings' portable part: which address each host text means, the look-ups of names,
// and the text of each result.
#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <stop_token>
#include <vector>

#include "common/text.h"
#include "tray/icmp.h"
#include "tray/icmp_echo.h"
#include "tray/name_lookups.h"

namespace quorvex {

// Longest host text that is pinged, in UTF-16 code units.
inline constexpr size_t kMaxHostUnits = 64;
// The longest all the name look-ups of one poll may take together.
inline constexpr auto kNameLookupLimit = std::chrono::seconds(1);

// "a.b.c.d" with exactly four decimal parts of one to three digits, each 0 to 255, and
// nothing else (no blanks, signs or hexadecimal): the address in network byte order.
std::optional<uint32_t> ParseDottedIpv4(const Text& host);

// The pings of `hosts` on the calling thread: the names are looked up first (all at once,
// ending early when `stop` is requested), then every address is echoed at once. Per
// host: " <ms>" or "999".
std::vector<Text> PingAll(const std::vector<Text>& hosts, NameLookups& lookups, IcmpEcho& echo,
                          std::stop_token stop = {});

// The Pinger every platform hands out: PingAll on a thread of its own while events run.
std::unique_ptr<Pinger> MakeEchoPinger(std::shared_ptr<Resolver> resolver, std::unique_ptr<IcmpEcho> echo);

}  // namespace quorvex
