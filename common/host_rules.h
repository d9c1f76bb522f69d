// Where a server or the master list may be: the one rule for host names, dotted IPv4
// addresses and ports, shared by the join, the pings and Quorvex.ini's master= and
// latestVersionUrl= lines.
#pragma once
#include <cstdint>
#include <optional>

#include "common/text.h"

namespace quorvex {

// Dot-separated labels of ASCII letters, digits and hyphens, no label empty, longer than 63
// or with a hyphen at either end, at most 253 units in all. A dotted IPv4 address is such a
// name too, so this is the whole check of an address that may go into a command line.
bool IsHostName(const Text& text);
// A port a server can listen on.
constexpr bool IsPortNumber(int64_t value) { return value >= 1 && value <= 65535; }
// A host name or IPv4 address, optionally followed by ":" and a port 1 to 65535 written
// in one to five decimal digits.
bool IsHostWithOptionalPort(const Text& text);
// "http://", a host with an optional port as above, then nothing or a path of printable
// ASCII without blanks.
bool IsHttpUrl(const Text& text);

// "a.b.c.d" with exactly four decimal parts of one to three digits, each 0 to 255, and
// nothing else (no blanks, signs or hexadecimal): the address in network byte order.
std::optional<uint32_t> ParseDottedIpv4(const Text& text);

}  // namespace quorvex
