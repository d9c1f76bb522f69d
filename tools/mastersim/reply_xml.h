// The XML texts of the count and list replies, as the real master list shapes them.
#pragma once
#include <string>
#include <string_view>

#include "tools/mastersim/scenario.h"

namespace quorvex::mastersim {

// "&", "<" and ">" as entities. The program takes element text verbatim, so a name
// with "&" reaches its menu as "&amp;": that is what the real list sends too.
std::string EscapeXml(std::string_view text);

// The servers that are online, in file order.
int OnlineCount(const ServerSet& servers);

std::string CountReply(int count);
// At most `size` online servers from the `start`-th (0-based); negative values count as 0.
std::string ListReply(const ServerSet& servers, int start, int size);

}  // namespace quorvex::mastersim
