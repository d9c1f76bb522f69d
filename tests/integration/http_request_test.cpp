// The platform's HTTP client (libcurl natively, WinINet on Windows) against mastersim:
// the demo list, and what the client ends with, and how soon, when the master misbehaves.
// Run through tests/integration/with-mastersim, which sets QUORVEX_MASTERSIM.
#include "servers/http_request.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "common/steps.h"
#include "common/text.h"
#include "servers/server_download.h"

namespace quorvex {
namespace {

using Clock = std::chrono::steady_clock;

// Small limits keep the slow cases fast; the bounds below are stated against them.
constexpr int32_t kConnectMs = 1000;
constexpr int32_t kTransferMs = 2000;
// Slack for a loaded machine and for Wine's start of a connection.
constexpr double kSlackSeconds = 1.5;

HttpLimits SmallLimits() {
  HttpLimits limits;
  limits.connectTimeoutMs = kConnectMs;
  limits.transferTimeoutMs = kTransferMs;
  limits.maxBodyBytes = 1 << 20;
  return limits;
}

// The UI thread's side of a transfer: its yields are counted, and from `abortAt` on a
// yield throws, as it does when Exit ran inside it.
class TestPump : public EventPump {
 public:
  void DoEvents() override {
    ++yields;
    if (abortAt && Clock::now() >= *abortAt) throw HandlerAborted{};
  }
  void WaitForEvents(int32_t timeoutMs) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min(timeoutMs, 10)));
  }
  int yields = 0;
  std::optional<Clock::time_point> abortAt;
};

// What one request ended with.
struct Outcome {
  bool aborted = false;
  int yields = 0;
  bool failed = false;
  std::string error;
  int32_t status = 0;
  Text body;
  double seconds = 0;
};

size_t Count(const Text& text, const Text& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != Text::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class HttpRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* master = std::getenv("QUORVEX_MASTERSIM");
    if (master == nullptr || *master == '\0') GTEST_SKIP() << "QUORVEX_MASTERSIM is not set (run with with-mastersim)";
    host_ = FromUtf8(master);
    control_ = MakeHttpRequest();
    http_ = MakeHttpRequest(SmallLimits());
    Control(u"/control/fault?endpoint=all&mode=none");
    Control(u"/control/rewind");
  }

  void TearDown() override {
    if (control_) Control(u"/control/fault?endpoint=all&mode=none");
  }

  Text Url(const Text& pathAndQuery) const { return u"http://" + host_ + pathAndQuery; }

  void Control(const Text& pathAndQuery) {
    control_->open(u"POST", Url(pathAndQuery));
    control_->send();
    ASSERT_EQ(control_->status(), 200) << ToUtf8(control_->responseText());
  }

  void SetFault(const char* endpoint, const char* mode) {
    Control(u"/control/fault?endpoint=" + FromUtf8(endpoint) + u"&mode=" + FromUtf8(mode));
  }

  Outcome Get(const Text& url) {
    Outcome outcome;
    const Clock::time_point start = Clock::now();
    http_->open(u"GET", url);
    pump_.yields = 0;
    try {
      http_->send(pump_);
      outcome.status = http_->status();
      outcome.body = http_->responseText();
    } catch (const HttpError& error) {
      outcome.failed = true;
      outcome.error = error.what();
    } catch (const HandlerAborted&) {
      outcome.aborted = true;
    }
    outcome.yields = pump_.yields;
    outcome.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    // The log shows what each fault came to and how long the client took over it.
    const std::string ended = outcome.aborted  ? std::string("aborted")
                              : outcome.failed ? "failed: " + outcome.error
                                               : "status " + std::to_string(outcome.status);
    std::printf("  GET %s: %s after %.2f s\n", ToUtf8(url.substr(url.rfind(u'/'))).c_str(), ended.c_str(),
                outcome.seconds);
    return outcome;
  }

  Outcome GetCount() { return Get(ServerCountUrl(host_)); }
  Outcome GetList(int16_t size = 20) { return Get(ServerListUrl(host_, size)); }

  Text host_;
  TestPump pump_;
  std::unique_ptr<HttpRequest> control_;
  std::unique_ptr<HttpRequest> http_;
};

TEST_F(HttpRequestTest, OnePollReadsTheDemoCountListAndVersion) {
  const Outcome count = GetCount();
  ASSERT_FALSE(count.failed) << count.error;
  EXPECT_EQ(count.status, 200);
  EXPECT_EQ(ParseServerCount(count.body), 20);
  const Outcome list = GetList(20);
  ASSERT_FALSE(list.failed) << list.error;
  EXPECT_EQ(Count(list.body, u"<server>"), 20u);
  // Decoded from UTF-8: accents, Cyrillic, CJK and an emoji as a surrogate pair; entities
  // arrive as they were sent.
  for (const Text part : {u"<name>Sérvér Français</name>", u"<name>Сервер Москва</name>", u"[ASIA] 東京サーバー",
                          u"\U0001F3AE Emoji Base", u"Pacific &lt;Vanilla&gt; &amp; Friends", u"<port>65535</port>"})
    EXPECT_NE(list.body.find(part), Text::npos) << ToUtf8(part);
  EXPECT_EQ(list.body.find(u"\uFFFD"), Text::npos);
  EXPECT_EQ(DownloadLatestVersion(*http_, Url(u"/latest_version.txt")), u"1.80");
  http_->open(u"GET", ServerCountUrl(host_));  // open forgets the previous reply
  EXPECT_THROW(http_->responseText(), HttpError);
}

// Every way a master can misbehave: what the client ends with, and how soon. A failed
// transfer leaves no reply behind, and the same object serves the next poll.
TEST_F(HttpRequestTest, EachFaultEndsAsItShouldAndInTime) {
  const double limit = kTransferMs / 1000.0, connect = kConnectMs / 1000.0;
  struct Case {
    const char* endpoint;
    const char* mode;
    bool fails;
    int32_t status;
    double atLeast, below;
  };
  for (const Case& c : {
           Case{"", "nothing listening", true, 0, 0, connect + kSlackSeconds},
           Case{"list", "delay:700", false, 200, 0.65, limit},
           Case{"count", "delay:6000", true, 0, limit - 0.2, limit + kSlackSeconds},
           Case{"list", "hang", true, 0, limit - 0.2, limit + kSlackSeconds},
           Case{"list", "trickle:10", true, 0, limit - 0.2, limit + kSlackSeconds},  // 20 s at a byte per 10 ms
           // A reset before the reply once passed as a reply without a status line under Wine.
           Case{"count", "reset", true, 0, 0, kSlackSeconds},
           Case{"list", "truncated", true, 0, 0, kSlackSeconds},  // half a list is not the whole
           Case{"list", "huge", true, 0, 0, limit + kSlackSeconds},  // 10 MiB, past the size limit
           Case{"count", "status:500", false, 500, 0, kSlackSeconds},
           Case{"list", "status:404", false, 404, 0, kSlackSeconds},
           Case{"count", "garbage", false, 200, 0, kSlackSeconds},
       }) {
    SCOPED_TRACE(std::string(c.endpoint) + " " + c.mode);
    if (*c.endpoint) SetFault(c.endpoint, c.mode);
    const Outcome outcome = *c.endpoint == 0                     ? Get(u"http://127.0.0.1:1/x")
                            : std::string(c.endpoint) == "count" ? GetCount()
                                                                 : GetList();
    EXPECT_EQ(outcome.failed, c.fails) << outcome.error;
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_GE(outcome.seconds, c.atLeast);
    EXPECT_LT(outcome.seconds, c.below);
    if (c.fails) {
      EXPECT_THROW(http_->responseText(), HttpError);
      EXPECT_THROW(http_->status(), HttpError);
    } else if (c.status != 200) {
      EXPECT_NE(outcome.body.find(FromUtf8(std::to_string(c.status) + " Error")), Text::npos) << "the body still comes";
    }
    if (std::string(c.mode) == "garbage") {  // bytes that are no UTF-8, and NULs that end nothing
      EXPECT_NE(outcome.body.find(u'\uFFFD'), Text::npos);
      EXPECT_NE(outcome.body.find(u'\0'), Text::npos);
      EXPECT_GT(outcome.body.size(), 1000u);
    }
    Control(u"/control/fault?endpoint=all&mode=none");
    const Outcome next = GetList();
    EXPECT_EQ(next.status, 200) << next.error;
    EXPECT_GT(Count(next.body, u"<server>"), 0u);
  }
}

}  // namespace
}  // namespace quorvex
