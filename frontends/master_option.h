// The --master option of the Linux front ends (quorvex, quorvex-console), checked before
// anything else runs by the one host-and-port rule Quorvex.ini's master= line follows.
#pragma once
#include <optional>
#include <string>

#include "common/host_rules.h"

namespace quorvex {

// Nothing for a host with an optional port; else why VALUE (UTF-8, as typed) is refused,
// naming the value and the rule.
inline std::optional<std::string> MasterOptionError(const std::string& value) {
  if (IsHostWithOptionalPort(FromUtf8(value))) return std::nullopt;
  return "--master \"" + value + "\" is not a host with an optional port (HOST or HOST:PORT, port 1-65535)";
}

}  // namespace quorvex
