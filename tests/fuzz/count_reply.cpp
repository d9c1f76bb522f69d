// The count reply: whatever comes, the count is a number of servers or the failure is
// one of the program's own errors, which the poll skips.
#include "common/numbers.h"
#include "fuzz_support.h"
#include "servers/server_download.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvex;
  try {
    const int16_t count = ParseServerCount(FromUtf8(fuzz::Bytes(data, size)));
    fuzz::Require(count >= 0, "a server count is never negative");
    ServerListUrl(u"127.0.0.1:28780", count);
  } catch (const ConversionError&) {
  } catch (const OverflowError&) {
  }
  return 0;
}
