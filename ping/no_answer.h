// What the ping gives for a server that sent no good echo reply in time: the text "999",
// which the poll stores as the server's ping and the servers menu shows as "--". On its own
// and free of the rest of ping/, so that the menu reads the one value without the pings.
#pragma once
#include <string_view>

namespace quorvex {

inline constexpr std::u16string_view kNoAnswerPing = u"999";

}  // namespace quorvex
