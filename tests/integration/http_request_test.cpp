// The platform's HTTP client (libcurl natively, WinINet on Windows) against mastersim: for
// each fault mode of the master, what the client ends with and how soon. The parse rules of
// the replies are the unit tier's. Run through tests/integration/with-mastersim.
#include "servers/http_request.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/steps.h"
#include "servers/server_download.h"
#include "tests/support/counting_pump.h"

namespace quorvex {
namespace {

using Clock = std::chrono::steady_clock;

// Small limits keep the slow cases short; the bounds below are stated against them.
constexpr int32_t kConnectMs = 1000;
constexpr int32_t kTransferMs = 2000;
constexpr double kLimit = kTransferMs / 1000.0;
constexpr double kSlack = 1.5;  // a loaded machine, and Wine's start of a connection

enum class Ends { Reply, Failure, Exit };

struct Fault {
  std::string endpoint;  // "count" or "list" of mastersim, or "closed" for a port nobody listens on
  const char* mode;
  Ends ends;
  double atLeast, below;  // seconds the request takes
  int32_t status = 0;
  std::vector<Text> bodyHas = {};
};

const Fault kFaults[] = {
    // Decoded from UTF-8: accents, Cyrillic, and an emoji as a surrogate pair.
    {"list", "none", Ends::Reply, 0, kSlack, 200,
     {u"Sérvér Français", u"Сервер Москва", u"\U0001F3AE Emoji Base"}},
    {"closed", "none", Ends::Failure, 0, kConnectMs / 1000.0 + kSlack},
    {"list", "delay:700", Ends::Reply, 0.65, kLimit, 200, {u"<server>"}},
    // Exit from a yield 300 ms in; WinINet under Wine goes on with a closed request's send.
    {"list", "hang", Ends::Exit, 0.3, 0.8},
    {"count", "delay:6000", Ends::Failure, kLimit - 0.2, kLimit + kSlack},
    {"list", "hang", Ends::Failure, kLimit - 0.2, kLimit + kSlack},
    // A byte every 10 ms keeps the connection alive; the whole list would take 20 s.
    {"list", "trickle:10", Ends::Failure, kLimit - 0.2, kLimit + kSlack},
    // A reset before the reply shows under Wine as a request sent with no status.
    {"count", "reset", Ends::Failure, 0, kSlack},
    {"list", "truncated", Ends::Failure, 0, kSlack},  // half a list is not the whole
    {"list", "huge", Ends::Failure, 0, kLimit + kSlack},
    // A NUL does not end the text; bytes that are no UTF-8 become replacement characters.
    {"count", "garbage", Ends::Reply, 0, kSlack, 200, {u"\uFFFD", Text(1, u'\0')}},
    {"count", "status:500", Ends::Reply, 0, kSlack, 500, {u"500 Error"}},
};

TEST(HttpRequest, EachFaultEndsAsItShouldWithinItsTimeAndTheNextRequestWorks) {
  const char* master = std::getenv("QUORVEX_MASTERSIM");
  if (master == nullptr) GTEST_SKIP() << "QUORVEX_MASTERSIM is not set (run with with-mastersim)";
  const Text host = FromUtf8(master);
  const auto control = MakeHttpRequest();
  const auto setFault = [&](const std::string& endpoint, const std::string& mode) {
    control->open(u"POST", u"http://" + host + FromUtf8("/control/fault?endpoint=" + endpoint + "&mode=" + mode));
    control->send();
    ASSERT_EQ(control->status(), 200);
  };
  const auto http = MakeHttpRequest({kConnectMs, kTransferMs, 1 << 20});
  for (const Fault& fault : kFaults) {
    const std::string& endpoint = fault.endpoint;
    SCOPED_TRACE(endpoint + " " + fault.mode);
    const Text url = endpoint == "closed" ? u"http://127.0.0.1:1/rwr_server_list/get_server_count.php"
                     : endpoint == "count"  ? ServerCountUrl(host)
                                            : ServerListUrl(host, 20);
    setFault(endpoint == "closed" ? "all" : endpoint, fault.mode);
    testing::CountingPump pump;
    const Clock::time_point start = Clock::now();
    pump.onYield = [&](int) {
      if (fault.ends == Ends::Exit && Clock::now() > start + std::chrono::milliseconds(300)) pump.exited = true;
    };
    Ends ended = Ends::Reply;
    http->open(u"GET", url);
    try {
      http->send(pump);
    } catch (const HttpError& error) {
      std::printf("  %s\n", error.what());
      ended = Ends::Failure;
    } catch (const HandlerAborted&) {
      ended = Ends::Exit;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("  %s %s took %.2f s\n", endpoint.c_str(), fault.mode, seconds);
    EXPECT_EQ(ended, fault.ends);
    EXPECT_GE(seconds, fault.atLeast);
    EXPECT_LT(seconds, fault.below);
    EXPECT_TRUE(fault.atLeast < 0.5 || pump.yields >= 5) << "events did not run while the reply was awaited";
    if (ended == Ends::Reply) {
      EXPECT_EQ(http->status(), fault.status);
      const Text body = http->responseText();
      for (const Text& part : fault.bodyHas) EXPECT_NE(body.find(part), Text::npos) << ToUtf8(part);
    } else {
      EXPECT_THROW(http->responseText(), HttpError);
    }
    http->open(u"GET", url);  // forgets the last reply
    EXPECT_THROW(http->status(), HttpError);

    // The same object serves the next poll.
    setFault("all", "none");
    http->open(u"GET", ServerListUrl(host, 20));
    http->send();
    EXPECT_EQ(http->status(), 200);
  }
}

}  // namespace
}  // namespace quorvex
