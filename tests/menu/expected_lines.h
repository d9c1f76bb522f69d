// Expected menu lines for the tests, joined from the column texts as the layout table
// writes them, so no expectation is produced by the code under test.
#pragma once
#include "common/text.h"

namespace quorvex::testing {

inline Text Spaces(size_t count) { return Text(count, u' '); }

// One server line's columns exactly as they should appear, pads counted by hand.
struct ShownColumns {
  Text name;
  size_t namePad = 0;
  Text version;
  Text dedicated;
  Text mode;
  Text map;
  size_t mapPad = 0;
  Text players;
  Text bots;
  Text ping;
};

// The 17 segments: name, its pad, 13, version, 20, dedicated, 22, mode, 17, map, its pad,
// 7, players, 23, bots, 20, ping.
inline Text JoinSegments(const ShownColumns& c) {
  return c.name + Spaces(c.namePad) + Spaces(13) + c.version + Spaces(20) + c.dedicated + Spaces(22) + c.mode +
         Spaces(17) + c.map + Spaces(c.mapPad) + Spaces(7) + c.players + Spaces(23) + c.bots + Spaces(20) + c.ping;
}

}  // namespace quorvex::testing
