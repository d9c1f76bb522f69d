#include "servers/server_download.h"

#include "common/numbers.h"

namespace quorvex {

namespace {

const Text kListPath = u"/rwr_server_list/";
const Text kServersTag = u"<servers>";
constexpr char16_t kByteOrderMark = u'\uFEFF';

// Position of the first "<servers>". One that starts beyond 32,767 cannot be held in
// a 16-bit position; the rule then reads on as if there were none.
int16_t ServersTagPosition(const Text& reply) {
  try {
    return InStr(1, reply, kServersTag);
  } catch (const OverflowError&) {
    return 0;
  }
}

}  // namespace

Text ServerCountUrl(const Text& masterHost) {
  return u"http://" + masterHost + kListPath + u"get_server_count.php";
}

Text ServerListUrl(const Text& masterHost, int16_t serverCount) {
  return u"http://" + masterHost + kListPath + u"get_server_list.php?start=0&size=" + FormatPlain(serverCount);
}

int16_t ParseServerCount(const Text& reply) {
  const int16_t p = ServersTagPosition(reply);
  const int16_t s = AddInt16(p, static_cast<int16_t>(kServersTag.size()));
  const int16_t e = InStr(s, reply, u"</");
  const int32_t length = static_cast<int32_t>(e) - s;
  if (length < 0) throw ConversionError("the count reply has no \"</\" after the count");
  const int16_t count = ToInt16(reply.substr(static_cast<size_t>(s) - 1, static_cast<size_t>(length)));
  if (count < 0) throw ConversionError("the master reported a negative server count");
  return count;
}

Text DownloadLatestVersion(HttpRequest& request, const Text& url, EventPump& pump) {
  request.open(u"GET", url);
  request.send(pump);
  const int32_t status = request.status();
  if (status < 200 || status > 299) throw HttpError("latest version: HTTP status " + std::to_string(status));
  Text version = request.responseText();
  if (!version.empty() && version.front() == kByteOrderMark) version.erase(0, 1);
  version = ReplaceAll(version, u"beta ", u"");
  version = ReplaceAll(version, u"\n", u"");
  while (!version.empty() && version.back() == u'\r') version.pop_back();
  return version;
}

}  // namespace quorvex
