// Every <server> element of a master-list reply, as the watch reads it: not only the 16 the
// server table holds.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "common/text.h"

namespace quorvex {

struct ListedServer {
  Text name;     // the five XML entities decoded
  Text address;  // address and port as the reply wrote them: together they name the server
  Text port;
  std::optional<int32_t> current_players;  // nothing when the text is no whole number
  std::vector<Text> playerNames;           // in the reply's order, entities decoded

  bool operator==(const ListedServer&) const = default;
};

// Which server of a reply a line is about: its decoded name, and its address and port as the
// reply wrote them, which together name it. A click on the line's balloon or menu item joins
// it there, whatever a later reply lists.
struct ServerPlace {
  Text name;
  Text address;
  Text port;

  bool operator==(const ServerPlace&) const = default;
};

inline ServerPlace PlaceOf(const ListedServer& server) { return {server.name, server.address, server.port}; }

// Each complete "<server>...</server>" element in the order of the reply. A field is the text
// from its opening tag to the next "</", as the server table reads it; a tag the element
// lacks leaves the field empty. Time and memory grow with the reply's length only. Without
// `withPlayerNames` the names are not read (playerNames stays empty): the player history
// needs only the counts, and splitting the names is most of a scan's time.
std::vector<ListedServer> ScanListedServers(std::u16string_view reply, bool withPlayerNames = true);

// "&amp;" "&lt;" "&gt;" "&quot;" "&apos;" as the characters they stand for, in one pass (so
// "&amp;lt;" is "&lt;"); any other "&" stays as it is.
Text DecodeXmlEntities(std::u16string_view text);

// The names of a <player_names> text: split at ",", trimmed of blanks, empty ones dropped,
// entities decoded.
std::vector<Text> SplitPlayerNames(std::u16string_view text);

// The value of a text that is, blanks around it aside, only the digits 0-9 and fits 31 bits;
// nothing for anything else (a sign, a fraction, an empty text).
std::optional<int32_t> WholeNumber(std::u16string_view text);

}  // namespace quorvex
