#include "common/host_rules.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace quorvex {

namespace {

using TextView = std::u16string_view;

constexpr size_t kMaxHostLength = 253;  // the longest name DNS can carry
constexpr size_t kMaxLabelLength = 63;
constexpr size_t kMaxUrlLength = 2048;  // longer ones are refused by common servers

bool IsLetterOrDigit(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// One to `maxDigits` ASCII decimal digits and nothing else; leading zeros are read as decimal.
std::optional<uint32_t> DecimalValue(TextView digits, size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  uint32_t value = 0;
  for (const char16_t c : digits) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  return value;
}

// One dot-separated part of a host name (an IPv4 address's numbers are such parts too):
// letters, digits and hyphens that neither begin nor end it.
bool IsLabel(TextView label) {
  if (label.empty() || label.size() > kMaxLabelLength || label.front() == u'-' || label.back() == u'-') return false;
  return std::all_of(label.begin(), label.end(), [](char16_t c) { return IsLetterOrDigit(c) || c == u'-'; });
}

bool IsHostNameView(TextView host) {
  if (host.size() > kMaxHostLength) return false;
  for (size_t start = 0;;) {
    const size_t dot = host.find(u'.', start);
    if (!IsLabel(host.substr(start, dot == TextView::npos ? TextView::npos : dot - start))) return false;
    if (dot == TextView::npos) return true;
    start = dot + 1;
  }
}

bool IsPort(TextView port) {
  const auto value = DecimalValue(port, 5);
  return value && IsPortNumber(*value);
}

bool IsHostAndPort(TextView text) {
  const size_t colon = text.find(u':');
  if (colon == TextView::npos) return IsHostNameView(text);
  return IsHostNameView(text.substr(0, colon)) && IsPort(text.substr(colon + 1));
}

}  // namespace

bool IsHostName(const Text& text) { return IsHostNameView(text); }

bool IsHostWithOptionalPort(const Text& text) { return IsHostAndPort(text); }

bool IsHttpUrl(const Text& text) {
  constexpr TextView kScheme = u"http://";
  const TextView url(text);
  if (url.size() > kMaxUrlLength || !url.starts_with(kScheme)) return false;
  const TextView rest = url.substr(kScheme.size());
  const size_t slash = rest.find(u'/');
  const TextView path = slash == TextView::npos ? TextView() : rest.substr(slash);
  return IsHostAndPort(rest.substr(0, slash)) &&
         std::all_of(path.begin(), path.end(), [](char16_t c) { return c >= u'!' && c <= u'~'; });
}

std::optional<uint32_t> ParseDottedIpv4(const Text& text) {
  const TextView host(text);
  uint8_t bytes[4] = {};
  size_t partStart = 0;
  for (int index = 0; index < 4; ++index) {
    const size_t dot = host.find(u'.', partStart);
    const bool lastPart = index == 3;
    if (lastPart != (dot == TextView::npos)) return std::nullopt;
    const size_t partEnd = lastPart ? host.size() : dot;
    const auto value = DecimalValue(host.substr(partStart, partEnd - partStart), 3);
    if (!value || *value > 255) return std::nullopt;
    bytes[index] = static_cast<uint8_t>(*value);
    partStart = partEnd + 1;
  }
  // Network byte order is the order the parts are written in, byte for byte in memory.
  uint32_t address = 0;
  std::memcpy(&address, bytes, sizeof address);
  return address;
}

}  // namespace quorvex
