// The forms Quorvex.ini's master= and latestVersionUrl= lines must have to be used.
#pragma once
#include "common/text.h"

namespace quorvex {

// A host name or IPv4 address, optionally followed by ":" and a port 1 to 65535.
bool IsHostWithOptionalPort(const Text& text);
// "http://", a host with an optional port as above, then nothing or a path of printable
// ASCII without blanks.
bool IsHttpUrl(const Text& text);

}  // namespace quorvex
