#include "bench/sample_reply.h"

#include <array>

#include "common/numbers.h"

namespace quorvex::bench {

namespace {

const std::array<const char16_t*, 16> kNames = {
    u"[EU] Official #1",          u"[US] Official Invasion #2", u"Mumble",
    u"Ixxxx",                     u"Pacific Coop 24/7",         u"WWII Veterans Only",
    u"Dominance [no rules]",      u"casual",                    u"Ødegaard's Bunker",
    u"[RU] Оперативники",         u"Night Ops",                 u"Friday Fireteam",
    u"Map Testing Server (dev)",  u"JP 東京 Coop",              u"x",
    u"Long Weekend Marathon Server",
};

const std::array<const char16_t*, 6> kMaps = {u"Moorland Trenches", u"", u"Islands", u"Vigil Island",
                                              u"", u"Power Junction"};

Text Element(const Text& tag, const Text& value) { return u"<" + tag + u">" + value + u"</" + tag + u">"; }

// About ten names for the busy servers: long enough to be cut at 110 characters.
Text PlayerNames(int players) {
  Text names;
  for (int i = 1; i <= players; ++i) {
    if (i > 1) names += u",";
    names += u"Player" + FormatPlain(i * 37 % 1000) + (i % 3 == 0 ? Text(u"_the_Great") : Text());
  }
  return names;
}

Text ServerElement(int n) {
  const int players = (n * 7) % 25;
  const Text map = kMaps[static_cast<size_t>(n) % kMaps.size()];
  Text xml = u"<server>";
  xml += Element(u"name", kNames[static_cast<size_t>(n) - 1]);
  xml += Element(u"address", u"203.0.113." + FormatPlain(n * 11));
  xml += Element(u"port", FormatPlain(1234 + n * 1000));
  xml += Element(u"map_id", u"media/packages/vanilla/maps/map" + FormatPlain(n));
  xml += Element(u"map_name", map);
  xml += Element(u"bots", FormatPlain((n * 13) % 60));
  xml += Element(u"current_players", FormatPlain(players));
  xml += Element(u"max_players", u"32");
  xml += Element(u"dedicated", n % 4 == 0 ? u"0" : u"1");
  xml += Element(u"watchers", FormatPlain(n % 3));
  xml += Element(u"version", n % 5 == 0 ? Text(u"1.10") : Text(u"1.9"));
  xml += Element(u"comment", u"Welcome! Be nice, no team killing.");
  xml += Element(u"player_names", PlayerNames(players));
  xml += Element(u"mode", n % 6 == 0 ? Text(u"") : Text(u"COOP"));
  xml += Element(u"realm", u"official");
  return xml + u"</server>";
}

}  // namespace

Text SampleServerListReply() {
  Text xml = u"<result query_id=\"servers\">";
  for (int n = 1; n <= 16; ++n) xml += ServerElement(n);
  return xml + u"</result>";
}

}  // namespace quorvex::bench
