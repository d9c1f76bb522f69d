// PingHost's portable part: which address a host text means, and the text of the result.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>

#include "common/text.h"
#include "tray/icmp.h"
#include "tray/icmp_echo.h"

namespace quorvex {

// Longest host text PingHost takes, in UTF-16 code units.
inline constexpr size_t kMaxHostUnits = 64;

// "a.b.c.d" with exactly four decimal parts of one to three digits, each 0 to 255, and
// nothing else (no blanks, signs or hexadecimal): the address in network byte order.
std::optional<uint32_t> ParseDottedIpv4(const Text& host);

// One echo to `host`: " <ms>" or "999". Throws std::invalid_argument for a host longer
// than kMaxHostUnits before resolving or sending anything.
Text PingHost(const Text& host, Resolver& resolver, IcmpEcho& echo);

// The Pinger every platform hands out: PingHost over its own echo.
std::unique_ptr<Pinger> MakeEchoPinger(Resolver& resolver, std::unique_ptr<IcmpEcho> echo);

}  // namespace quorvex
