// The server-count rule and the latest-version download; the URLs are the form's tests.
#include "servers/server_download.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <tuple>
#include <vector>

#include "support/counting_pump.h"

namespace quorvex {
namespace {

TEST(ParseServerCount, ReadsTheNumberAfterTheFirstServersTagUpToTheNextClose) {
  const Text far(32800, u'x');
  const std::pair<Text, std::optional<int16_t>> cases[] = {
      {u"<?xml?>\n<servers> 3 </servers><servers>9</servers>", 3}, {u"<servers>0</x>", 0},
      {u"abcdefgh14</x>", 14},                                // without the tag the rule reads from position 9
      {u"abcdefgh6</a>" + far + u"<servers>4</servers>", 6},  // a tag past 32,767 cannot be held
      {far + u"<servers>4</servers>", {}}, {u"abcdefgh", {}}, {u"<servers>12", {}}, {u"<servers></servers>", {}},
      {u"<html><h1>404 Not Found</h1></html>", {}}, {u"<servers>40000</servers>", {}},
      {u"<servers> -1 </servers>", {}},  // a negative count would ask for a negative list
  };
  for (const auto& [reply, count] : cases) {
    if (count) {
      EXPECT_EQ(ParseServerCount(reply), *count) << ToUtf8(reply.substr(0, 40));
    } else {
      EXPECT_ANY_THROW(ParseServerCount(reply)) << ToUtf8(reply.substr(0, 40));
    }
  }
}

// Answers with one fixed reply; a status of 0 stands for a transfer that fails. Like a real
// transfer it wakes its waiter and waits, here for at most a minute.
class OneReply : public HttpRequest {
 public:
  OneReply(Text body, int32_t status) : body_(std::move(body)), status_(status) {}
  void open(const Text& method, const Text& url) override { opened.push_back(method + u" " + url); }
  void send(EventPump& pump) override {
    pump.DoEvents();
    pump.Wake();
    pump.WaitForEvents(60'000);
    if (status_ == 0) throw HttpError("no connection");
  }
  Text responseText() override { return body_; }
  int32_t status() override { return status_; }
  std::vector<Text> opened;

 private:
  Text body_;
  int32_t status_;
};

TEST(LatestVersion, IsA2xxBodyLessBetaLineFeedsTheByteOrderMarkAndTrailingCarriageReturns) {
  const std::tuple<Text, int32_t, std::optional<Text>> cases[] = {
      {u"1.80", 200, u"1.80"}, {u"beta 1.80\n", 204, u"1.80"}, {u"\uFEFFbeta 1.80\r\n", 299, u"1.80"},
      {u"beta 1.80\r\n\r\n", 200, u"1.80"}, {u"1.\n80", 200, u"1.80"}, {u"beta beta 1.80 beta ", 200, u"1.80 "},
      {u"Beta 1.80", 200, u"Beta 1.80"}, {u"1.80\r2", 200, u"1.80\r2"}, {u"1.80\uFEFF", 200, u"1.80\uFEFF"},
      {u"", 200, u""}, {u"1.80", 199, {}}, {u"1.80", 301, {}}, {u"1.80", 0, {}},
  };
  testing::CountingPump pump;
  for (const auto& [body, status, version] : cases) {
    OneReply http(body, status);
    if (version) {
      EXPECT_EQ(DownloadLatestVersion(http, u"http://h/v.txt", pump), *version) << ToUtf8(body);
    } else {
      EXPECT_THROW(DownloadLatestVersion(http, u"http://h/v.txt", pump), HttpError) << status;
    }
    EXPECT_EQ(http.opened, std::vector<Text>{u"GET http://h/v.txt"});
  }
  EXPECT_EQ(pump.yields, 13);  // every download ran events while it waited
}

TEST(HttpRequest, ASendWithNothingToRunSleepsOnlyUntilTheTransferWakesIt) {
  OneReply http(u"", 200);
  const auto start = std::chrono::steady_clock::now();
  static_cast<HttpRequest&>(http).send();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

}  // namespace
}  // namespace quorvex
