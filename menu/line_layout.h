// The fixed-width texts of the servers menu: header, server line and player line.
#pragma once
#include <cstdint>

#include "common/text.h"
#include "servers/server_table.h"

namespace quorvex {

// How often `character` occurs in `text`, compared by code ("m" is not "M").
int CountChar(const Text& text, char16_t character);

// Estimated display width of a server name in average characters, at most 18: wide and
// narrow letters weigh more or less than one, rounded half-even after every letter kind.
int NameWidth(const Text& name);

// Name, version, dedicated, mode, map, players, bots and ping lined up with spaces.
Text FormatServerLine(const ServerRecord& record);

// Eight spaces and the player names, cut after the last space within 110 characters.
Text FormatPlayerLine(const ServerRecord& record);

// The column captions over the server lines (184 characters).
const Text& HeaderLine();

// The header with U+00B9 after the caption of sort column `sort` (0..5). A column that
// does not exist sorts nothing, so nothing is marked and the plain header comes back.
Text MarkedHeaderLine(int16_t sort);

}  // namespace quorvex
