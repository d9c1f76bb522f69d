// The master-list URLs, the server-count rule and the latest-version download.
#include "servers/server_download.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "support/counting_pump.h"

namespace quorvex {
namespace {

TEST(ServerDownload, UrlsCarryTheHostAndTheWholeCount) {
  EXPECT_EQ(ServerCountUrl(u"127.0.0.1:28780"), u"http://127.0.0.1:28780/rwr_server_list/get_server_count.php");
  EXPECT_EQ(ServerListUrl(u"h", 300), u"http://h/rwr_server_list/get_server_list.php?start=0&size=300");
}

TEST(ParseServerCount, ReadsTheNumberAfterTheFirstServersTagUpToTheNextClose) {
  const Text far(32800, u'x');
  const std::pair<Text, std::optional<int16_t>> cases[] = {
      {u"<result><servers>12</servers></result>", 12},
      {u"<servers>  7 </servers>", 7},
      {u"<servers>0</servers>", 0},
      {u"<?xml?>\n<servers>3</servers><servers>9</servers>", 3},
      {u"<servers>5</x>", 5},
      {u"<servers>2.5</servers>", 2},  // half to even, as every conversion
      {u"abcdefgh14</x>", 14},         // without the tag the rule reads from position 9
      {u"abcdefgh6</a>" + far + u"<servers>4</servers>", 6},  // a tag past 32,767 cannot be held
      {far + u"<servers>4</servers>", {}},
      {u"abcdefgh", {}},
      {u"", {}},
      {u"<servers>12", {}},
      {u"<servers></servers>", {}},
      {u"<servers>twelve</servers>", {}},
      {u"<html><h1>404 Not Found</h1></html>", {}},
      {u"<servers>40000</servers>", {}},
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

// Answers every request with one fixed reply and records what was asked.
class OneReply : public HttpRequest {
 public:
  void open(const Text& method, const Text& url) override {
    opened.push_back(method + u" " + url);
    sent_ = false;
  }
  void send(EventPump& pump) override {
    pump.DoEvents();
    if (failSend) throw HttpError("no connection");
    sent_ = true;
  }
  Text responseText() override { return sent_ ? body : throw HttpError("no reply"); }
  int32_t status() override { return sent_ ? replyStatus : throw HttpError("no reply"); }

  Text body;
  int32_t replyStatus = 200;
  bool failSend = false;
  std::vector<Text> opened;

 private:
  bool sent_ = false;
};

TEST(LatestVersion, RemovesBetaLineFeedsTheByteOrderMarkAndTrailingCarriageReturns) {
  const std::pair<Text, Text> cases[] = {
      {u"1.80", u"1.80"}, {u"beta 1.80\n", u"1.80"}, {u"\uFEFFbeta 1.80\r\n", u"1.80"}, {u"beta 1.80\r\n\r\n", u"1.80"},
      {u"1.\n80", u"1.80"}, {u"beta beta 1.80 beta ", u"1.80 "}, {u"Beta 1.80", u"Beta 1.80"},
      {u"1.80\r2", u"1.80\r2"}, {u"1.80\uFEFF", u"1.80\uFEFF"}, {u"", u""},
  };
  testing::CountingPump pump;
  for (const auto& [body, version] : cases) {
    OneReply http;
    http.body = body;
    EXPECT_EQ(DownloadLatestVersion(http, u"http://h/v.txt", pump), version) << ToUtf8(body);
    EXPECT_EQ(http.opened, std::vector<Text>{u"GET http://h/v.txt"});
  }
}

TEST(LatestVersion, AnythingButA2xxReplyIsAFailedDownload) {
  testing::CountingPump pump;
  for (const int32_t status : {199, 204, 299, 301, 404, 500}) {
    OneReply http;
    http.body = u"1.80";
    http.replyStatus = status;
    if (status >= 200 && status <= 299) {
      EXPECT_EQ(DownloadLatestVersion(http, u"http://h/v.txt", pump), u"1.80");
    } else {
      EXPECT_THROW(DownloadLatestVersion(http, u"http://h/v.txt", pump), HttpError) << status;
    }
  }
  OneReply offline;
  offline.failSend = true;
  EXPECT_THROW(DownloadLatestVersion(offline, u"http://h/v.txt", pump), HttpError);
}

}  // namespace
}  // namespace quorvex
