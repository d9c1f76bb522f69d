// The two master-list URLs, the server-count rule and the latest-version download.
#pragma once
#include <cstdint>

#include "common/text.h"
#include "servers/http_request.h"

namespace quorvex {

// "http://HOST/rwr_server_list/get_server_count.php"; the host may carry ":PORT".
Text ServerCountUrl(const Text& masterHost);
// The list request for `serverCount` servers from the first one on.
Text ServerListUrl(const Text& masterHost, int16_t serverCount);

// The number between the first "<servers>" and the next "</" of a count reply. Throws
// when there is no such text, when it is no 16-bit number, or when it is negative (a
// negative count would make the list request ask for a negative size).
int16_t ParseServerCount(const Text& reply);

// GETs the latest-version file, running events through `pump` meanwhile, and returns the
// version text: a byte-order mark, every "beta ", every line feed and the carriage returns
// left at the end are removed. Throws when the transfer fails or the status is outside
// 2xx, so an error page never becomes the version.
Text DownloadLatestVersion(HttpRequest& request, const Text& url, EventPump& pump);

}  // namespace quorvex
