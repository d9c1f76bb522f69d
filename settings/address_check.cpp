#include "settings/address_check.h"

#include <regex>
#include <string>

namespace quorvex {

namespace {

// Dot-separated labels of letters, digits and inner hyphens, as DNS names and IPv4
// addresses are written; the port is checked for its range apart.
const std::regex kHostAndPort(
    R"(([A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?(\.[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?)*)(:([0-9]{1,5}))?)");
const std::regex kHttpUrl(R"(([Hh][Tt][Tt][Pp]://)([^/]*)(/[!-~]*)?)");

constexpr size_t kMaxHostLength = 253;  // the longest name DNS can carry
// Longer URLs are refused by common servers; the check also keeps std::regex, which
// recurses per character, away from texts of the settings file's full size.
constexpr size_t kMaxUrlLength = 2048;

bool IsHostAndPort(const std::string& text) {
  std::smatch parts;
  if (text.size() > kMaxHostLength + 6 || !std::regex_match(text, parts, kHostAndPort)) return false;
  if (static_cast<size_t>(parts.length(1)) > kMaxHostLength) return false;
  if (!parts[6].matched) return true;
  const int port = std::stoi(parts[6].str());
  return port >= 1 && port <= 65535;
}

}  // namespace

bool IsHostWithOptionalPort(const Text& text) { return IsHostAndPort(ToUtf8(text)); }

bool IsHttpUrl(const Text& text) {
  const std::string url = ToUtf8(text);
  std::smatch parts;
  return url.size() <= kMaxUrlLength && std::regex_match(url, parts, kHttpUrl) && IsHostAndPort(parts[2].str());
}

}  // namespace quorvex
