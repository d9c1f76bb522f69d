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
constexpr double kTransferSeconds = kTransferMs / 1000.0;
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

  // A failed transfer leaves no reply behind; the program then reads the empty text.
  void ExpectNoReply() {
    EXPECT_THROW(http_->responseText(), HttpError);
    EXPECT_THROW(http_->status(), HttpError);
  }

  // The same object must serve the next poll after any failure.
  void ExpectNextRequestWorks() {
    Control(u"/control/fault?endpoint=all&mode=none");
    const Outcome next = GetList();
    EXPECT_FALSE(next.failed) << next.error;
    EXPECT_EQ(next.status, 200);
    EXPECT_GT(Count(next.body, u"<server>"), 0u);
  }

  Text host_;
  TestPump pump_;
  std::unique_ptr<HttpRequest> control_;
  std::unique_ptr<HttpRequest> http_;
};

TEST_F(HttpRequestTest, OnePollReadsTheDemoCountAndTwentyServers) {
  const Outcome count = GetCount();
  ASSERT_FALSE(count.failed) << count.error;
  EXPECT_EQ(count.status, 200);
  const int16_t serverCount = ParseServerCount(count.body);
  EXPECT_EQ(serverCount, 20);

  const Outcome list = GetList(serverCount);
  ASSERT_FALSE(list.failed) << list.error;
  EXPECT_EQ(Count(list.body, u"<server>"), 20u);
  EXPECT_EQ(Count(list.body, u"<player_names>"), 20u);
  // Decoded from UTF-8: accents, Cyrillic, CJK and an emoji as a surrogate pair.
  EXPECT_NE(list.body.find(u"<name>Sérvér Français</name>"), Text::npos);
  EXPECT_NE(list.body.find(u"<name>Сервер Москва</name>"), Text::npos);
  EXPECT_NE(list.body.find(u"[ASIA] 東京サーバー"), Text::npos);
  EXPECT_NE(list.body.find(u"\U0001F3AE Emoji Base"), Text::npos);
  // Entities arrive as they were sent; ports above 32,767 and empty elements are there.
  EXPECT_NE(list.body.find(u"Pacific &lt;Vanilla&gt; &amp; Friends"), Text::npos);
  EXPECT_NE(list.body.find(u"<port>65535</port>"), Text::npos);
  EXPECT_NE(list.body.find(u"<map_name></map_name>"), Text::npos);
  EXPECT_NE(list.body.find(u"<mode></mode>"), Text::npos);
  EXPECT_EQ(list.body.find(u"\uFFFD"), Text::npos);
}

TEST_F(HttpRequestTest, TheListFollowsTheStepOfTheLastCount) {
  // Step 2 of the demo brings a 21st server online.
  for (int poll = 0; poll < 3; ++poll) ASSERT_FALSE(GetCount().failed);
  const Outcome list = GetList(30);
  ASSERT_FALSE(list.failed) << list.error;
  EXPECT_EQ(Count(list.body, u"<server>"), 21u);
  EXPECT_EQ(Count(GetList(5).body, u"<server>"), 5u);  // never more than size
}

TEST_F(HttpRequestTest, LatestVersionIsTheNumberAlone) {
  EXPECT_EQ(DownloadLatestVersion(*http_, Url(u"/latest_version.txt"), pump_), u"1.80");
}

TEST_F(HttpRequestTest, NothingListeningFailsQuickly) {
  const Outcome outcome = Get(u"http://127.0.0.1:1/rwr_server_list/get_server_count.php");
  EXPECT_TRUE(outcome.failed);
  EXPECT_LT(outcome.seconds, kConnectMs / 1000.0 + kSlackSeconds);
  ExpectNoReply();
}

TEST_F(HttpRequestTest, ADelayWithinTheLimitIsWaitedFor) {
  SetFault("list", "delay:700");
  const Outcome outcome = GetList();
  EXPECT_FALSE(outcome.failed) << outcome.error;
  EXPECT_EQ(Count(outcome.body, u"<server>"), 20u);
  EXPECT_GE(outcome.seconds, 0.65);
  EXPECT_LT(outcome.seconds, kTransferSeconds);
  EXPECT_GE(outcome.yields, 5) << "events did not keep running while the reply was awaited";
}

TEST_F(HttpRequestTest, AnExitInsideTheWaitAbandonsAHungTransferAtOnce) {
  SetFault("list", "hang");
  pump_.abortAt = Clock::now() + std::chrono::milliseconds(300);
  const Outcome outcome = GetList();
  pump_.abortAt.reset();
  EXPECT_TRUE(outcome.aborted);
  EXPECT_LT(outcome.seconds, 0.3 + 0.5);
  ExpectNoReply();
  ExpectNextRequestWorks();
}

TEST_F(HttpRequestTest, ADelayPastTheLimitFailsAtTheLimit) {
  SetFault("count", "delay:6000");
  const Outcome outcome = GetCount();
  EXPECT_TRUE(outcome.failed);
  EXPECT_GE(outcome.seconds, kTransferSeconds - 0.2);
  EXPECT_LT(outcome.seconds, kTransferSeconds + kSlackSeconds);
  ExpectNoReply();
  ExpectNextRequestWorks();
}

TEST_F(HttpRequestTest, AMasterThatNeverAnswersFailsAtTheLimit) {
  SetFault("list", "hang");
  const Outcome outcome = GetList();
  EXPECT_TRUE(outcome.failed);
  EXPECT_GE(outcome.seconds, kTransferSeconds - 0.2);
  EXPECT_LT(outcome.seconds, kTransferSeconds + kSlackSeconds);
  ExpectNoReply();
  ExpectNextRequestWorks();
}

TEST_F(HttpRequestTest, ATrickleCannotHoldTheCallerPastTheLimit) {
  // The list would take 20 s at a byte per 10 ms; every byte keeps the connection alive.
  SetFault("list", "trickle:10");
  const Outcome outcome = GetList();
  EXPECT_TRUE(outcome.failed);
  EXPECT_GE(outcome.seconds, kTransferSeconds - 0.2);
  EXPECT_LT(outcome.seconds, kTransferSeconds + kSlackSeconds);
  ExpectNoReply();
  ExpectNextRequestWorks();
}

TEST_F(HttpRequestTest, AResetConnectionFailsAtOnce) {
  SetFault("count", "reset");
  const Outcome outcome = GetCount();
  EXPECT_TRUE(outcome.failed);
  EXPECT_LT(outcome.seconds, kSlackSeconds);
  ExpectNoReply();
  ExpectNextRequestWorks();
}

TEST_F(HttpRequestTest, ATruncatedBodyIsAFailedTransfer) {
  SetFault("list", "truncated");
  const Outcome outcome = GetList();
  EXPECT_TRUE(outcome.failed) << "half a list was taken as the whole";
  EXPECT_LT(outcome.seconds, kSlackSeconds);
  ExpectNoReply();
  ExpectNextRequestWorks();
}

TEST_F(HttpRequestTest, AHugeBodyIsRefusedAtTheSizeLimit) {
  SetFault("list", "huge");
  const Outcome outcome = GetList();
  EXPECT_TRUE(outcome.failed) << "a 10 MiB body was accepted";
  EXPECT_LT(outcome.seconds, kTransferSeconds + kSlackSeconds);
  ExpectNoReply();
  ExpectNextRequestWorks();
}

TEST_F(HttpRequestTest, GarbageBytesArriveAsReplacementCharactersAndNuls) {
  SetFault("count", "garbage");
  const Outcome outcome = GetCount();
  ASSERT_FALSE(outcome.failed) << outcome.error;
  EXPECT_EQ(outcome.status, 200);
  EXPECT_NE(outcome.body.find(u'\uFFFD'), Text::npos);
  EXPECT_NE(outcome.body.find(u'\0'), Text::npos);
  EXPECT_GT(outcome.body.size(), 1000u);  // a NUL does not end the text
  EXPECT_THROW(ParseServerCount(outcome.body), std::exception);
}

TEST_F(HttpRequestTest, AnErrorStatusStillDeliversItsBody) {
  SetFault("count", "status:500");
  const Outcome count = GetCount();
  ASSERT_FALSE(count.failed) << count.error;
  EXPECT_EQ(count.status, 500);
  EXPECT_NE(count.body.find(u"500 Error"), Text::npos);
  EXPECT_THROW(ParseServerCount(count.body), std::exception);

  SetFault("list", "status:404");
  const Outcome list = GetList();
  ASSERT_FALSE(list.failed) << list.error;
  EXPECT_EQ(list.status, 404);
  EXPECT_NE(list.body.find(u"404 Error"), Text::npos);
}

TEST_F(HttpRequestTest, AnErrorStatusIsNoLatestVersion) {
  SetFault("version", "status:404");
  EXPECT_THROW(DownloadLatestVersion(*http_, Url(u"/latest_version.txt"), pump_), HttpError);
  SetFault("version", "status:500");
  EXPECT_THROW(DownloadLatestVersion(*http_, Url(u"/latest_version.txt"), pump_), HttpError);
}

TEST_F(HttpRequestTest, ANegativeCountIsRejected) {
  SetFault("count", "negative");
  const Outcome outcome = GetCount();
  ASSERT_FALSE(outcome.failed) << outcome.error;
  EXPECT_NE(outcome.body.find(u"<servers>-21</servers>"), Text::npos);
  EXPECT_THROW(ParseServerCount(outcome.body), std::exception);
}

TEST_F(HttpRequestTest, ACountAboveTheListGetsOnlyTheListedServers) {
  SetFault("count", "disagree");
  const Outcome count = GetCount();
  ASSERT_FALSE(count.failed) << count.error;
  const int16_t serverCount = ParseServerCount(count.body);
  EXPECT_EQ(serverCount, 25);
  const Outcome list = GetList(serverCount);
  ASSERT_FALSE(list.failed) << list.error;
  EXPECT_EQ(Count(list.body, u"<server>"), 20u);
}

TEST_F(HttpRequestTest, OpenForgetsThePreviousReply) {
  ASSERT_FALSE(GetCount().failed);
  http_->open(u"GET", ServerCountUrl(host_));
  ExpectNoReply();
}

}  // namespace
}  // namespace quorvex
