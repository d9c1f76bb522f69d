#include "settings/address_check.h"

#include <algorithm>
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

// One dot-separated part of a host name (an IPv4 address's numbers are such parts too):
// letters, digits and hyphens that neither begin nor end it.
bool IsLabel(TextView label) {
  if (label.empty() || label.size() > kMaxLabelLength || label.front() == u'-' || label.back() == u'-') return false;
  return std::all_of(label.begin(), label.end(), [](char16_t c) { return IsLetterOrDigit(c) || c == u'-'; });
}

bool IsHostName(TextView host) {
  if (host.size() > kMaxHostLength) return false;
  for (size_t start = 0;;) {
    const size_t dot = host.find(u'.', start);
    if (!IsLabel(host.substr(start, dot == TextView::npos ? TextView::npos : dot - start))) return false;
    if (dot == TextView::npos) return true;
    start = dot + 1;
  }
}

bool IsPort(TextView port) {
  if (port.empty() || port.size() > 5) return false;
  int value = 0;
  for (const char16_t c : port) {
    if (c < u'0' || c > u'9') return false;
    value = value * 10 + (c - u'0');
  }
  return value >= 1 && value <= 65535;
}

bool IsHostAndPort(TextView text) {
  const size_t colon = text.find(u':');
  if (colon == TextView::npos) return IsHostName(text);
  return IsHostName(text.substr(0, colon)) && IsPort(text.substr(colon + 1));
}

}  // namespace

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

}  // namespace quorvex
