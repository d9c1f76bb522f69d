#include "watch/listed_servers.h"

#include <array>
#include <utility>

namespace quorvex {

namespace {

std::u16string_view TrimBlanks(std::u16string_view text) {
  const size_t first = text.find_first_not_of(u" \t");
  if (first == std::u16string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(u" \t") - first + 1);
}

// The text after the first `tag` of the element up to the next "</"; empty without the tag.
// The element ends with "</server>", so a found tag always has its "</".
std::u16string_view FieldText(std::u16string_view element, std::u16string_view tag) {
  const size_t found = element.find(tag);
  if (found == std::u16string_view::npos) return {};
  const size_t start = found + tag.size();
  return element.substr(start, element.find(u"</", start) - start);
}

ListedServer ReadServer(std::u16string_view element, bool withPlayerNames) {
  ListedServer server;
  server.name = DecodeXmlEntities(FieldText(element, u"<name>"));
  server.address = Text(FieldText(element, u"<address>"));
  server.port = Text(FieldText(element, u"<port>"));
  server.current_players = WholeNumber(FieldText(element, u"<current_players>"));
  if (withPlayerNames) server.playerNames = SplitPlayerNames(FieldText(element, u"<player_names>"));
  return server;
}

}  // namespace

std::vector<ListedServer> ScanListedServers(std::u16string_view reply, bool withPlayerNames) {
  constexpr std::u16string_view kOpen = u"<server>", kClose = u"</server>";
  std::vector<ListedServer> servers;
  size_t from = 0;
  for (size_t open; (open = reply.find(kOpen, from)) != std::u16string_view::npos;) {
    const size_t close = reply.find(kClose, open + kOpen.size());
    if (close == std::u16string_view::npos) break;  // a cut-off element is no server
    // The element includes its "</server>", so every field inside finds a "</".
    servers.push_back(ReadServer(reply.substr(open, close + kClose.size() - open), withPlayerNames));
    from = close + kClose.size();
  }
  return servers;
}

Text DecodeXmlEntities(std::u16string_view text) {
  static constexpr std::array<std::pair<std::u16string_view, char16_t>, 5> kEntities = {{
      {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&quot;", u'"'}, {u"&apos;", u'\''},
  }};
  Text decoded;
  decoded.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const size_t ampersand = text.find(u'&', i);
    decoded.append(text.substr(i, ampersand - i));
    if (ampersand == std::u16string_view::npos) break;
    i = ampersand + 1;
    decoded.push_back(u'&');
    for (const auto& [entity, character] : kEntities) {
      if (text.substr(ampersand, entity.size()) == entity) {
        decoded.back() = character;
        i = ampersand + entity.size();
        break;
      }
    }
  }
  return decoded;
}

std::vector<Text> SplitPlayerNames(std::u16string_view text) {
  std::vector<Text> names;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(u',', start);
    if (comma == std::u16string_view::npos) comma = text.size();
    const std::u16string_view name = TrimBlanks(text.substr(start, comma - start));
    if (!name.empty()) names.push_back(DecodeXmlEntities(name));
    start = comma + 1;
  }
  return names;
}

std::optional<int32_t> WholeNumber(std::u16string_view text) {
  const std::u16string_view digits = TrimBlanks(text);
  if (digits.empty()) return std::nullopt;
  int64_t value = 0;
  for (const char16_t digit : digits) {
    if (digit < u'0' || digit > u'9') return std::nullopt;
    value = value * 10 + (digit - u'0');
    if (value > INT32_MAX) return std::nullopt;
  }
  return static_cast<int32_t>(value);
}

}  // namespace quorvex
