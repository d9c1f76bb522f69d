#include "join/join_link.h"

#include "join/join.h"

namespace quorvex {

namespace {

bool IsUnreserved(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
         byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

}  // namespace

Text SteamRunLink(const ServerRecord& server) {
  // LaunchArguments begins with a blank the command line does not.
  return u"steam://run/" + Text(kSteamAppId) + u"//" + PercentEncoded(LaunchArguments(server).substr(1)) + u"/";
}

Text PercentEncoded(const Text& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  Text encoded;
  for (const char byte : ToUtf8(text)) {
    const auto value = static_cast<unsigned char>(byte);
    if (IsUnreserved(value)) {
      encoded += static_cast<char16_t>(value);
    } else {
      encoded += {u'%', static_cast<char16_t>(kHex[value >> 4]), static_cast<char16_t>(kHex[value & 15])};
    }
  }
  return encoded;
}

}  // namespace quorvex
