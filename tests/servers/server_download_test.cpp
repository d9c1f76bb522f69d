// The master-list URLs, the server-count rule and the latest-version download.
#include "servers/server_download.h"

#include <gtest/gtest.h>

#include "support/counting_pump.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace quorvex {
namespace {

// Answers every request with one fixed reply and records what was asked.
class FakeHttpRequest : public HttpRequest {
 public:
  Text body;
  int32_t replyStatus = 200;
  bool failSend = false;
  std::vector<Text> opened;
  int sends = 0;

  void open(const Text& method, const Text& url) override {
    opened.push_back(method + u" " + url);
    sent_ = false;
  }
  void send(EventPump&) override {
    ++sends;
    if (failSend) throw HttpError("no connection");
    sent_ = true;
  }
  Text responseText() override {
    if (!sent_) throw HttpError("no reply");
    return body;
  }
  int32_t status() override {
    if (!sent_) throw HttpError("no reply");
    return replyStatus;
  }

 private:
  bool sent_ = false;
};

TEST(ServerDownloadUrls, CountAndListUrlsCarryTheHostAndTheCount) {
  EXPECT_EQ(ServerCountUrl(u"127.0.0.1:28780"), u"http://127.0.0.1:28780/rwr_server_list/get_server_count.php");
  EXPECT_EQ(ServerListUrl(u"master.test", 12), u"http://master.test/rwr_server_list/get_server_list.php?start=0&size=12");
  EXPECT_EQ(ServerListUrl(u"h", 0), u"http://h/rwr_server_list/get_server_list.php?start=0&size=0");
  // Above the table's 16 slots the whole count is still asked for.
  EXPECT_EQ(ServerListUrl(u"h", 300), u"http://h/rwr_server_list/get_server_list.php?start=0&size=300");
}

TEST(ParseServerCount, ReadsTheNumberUpToTheNextClosingTag) {
  EXPECT_EQ(ParseServerCount(u"<result><servers>12</servers></result>"), 12);
  EXPECT_EQ(ParseServerCount(u"<result><servers>  7 </servers></result>"), 7);
  EXPECT_EQ(ParseServerCount(u"<servers>40</servers>"), 40);
  EXPECT_EQ(ParseServerCount(u"<servers>0</servers>"), 0);
  // Text before the element is skipped; only the first <servers> counts.
  EXPECT_EQ(ParseServerCount(u"<?xml version=\"1.0\"?>\n<result><servers>3</servers><servers>9</servers></result>"), 3);
  // The number ends at the first "</", whatever element it closes.
  EXPECT_EQ(ParseServerCount(u"<servers>5</x>"), 5);
  // A fraction rounds half to even, as every number conversion of the program does.
  EXPECT_EQ(ParseServerCount(u"<servers>2.5</servers>"), 2);
}

TEST(ParseServerCount, RejectsRepliesWithoutACount) {
  EXPECT_THROW(ParseServerCount(u""), std::exception);
  EXPECT_THROW(ParseServerCount(u"<result><servers>12"), std::exception);  // no "</"
  EXPECT_THROW(ParseServerCount(u"<servers></servers>"), std::exception);
  EXPECT_THROW(ParseServerCount(u"<servers>twelve</servers>"), std::exception);
  EXPECT_THROW(ParseServerCount(u"<html><body><h1>404 Not Found</h1></body></html>"), std::exception);
  EXPECT_THROW(ParseServerCount(u"<servers>40000</servers>"), std::exception);  // beyond 16 bits
}

TEST(ParseServerCount, RejectsANegativeCountSoNoListAsksForANegativeSize) {
  EXPECT_THROW(ParseServerCount(u"<servers>-3</servers>"), std::exception);
  EXPECT_THROW(ParseServerCount(u"<servers> -1 </servers>"), std::exception);
}

TEST(ParseServerCount, WithoutTheTagReadsFromTheNinthCharacter) {
  // "<servers>" is missing, so the rule starts at position 9: "abcdefgh" is skipped.
  EXPECT_EQ(ParseServerCount(u"abcdefgh14</x>"), 14);
  EXPECT_THROW(ParseServerCount(u"abcdefgh"), std::exception);  // start beyond the text
}

TEST(ParseServerCount, ATagBeyondSixteenBitPositionsIsNotReachable) {
  // The <servers> found past character 32,767 cannot be held; the rule reads on from
  // position 9 as if there were none and meets no number there.
  const Text reply = Text(32800, u'x') + u"<servers>4</servers>";
  EXPECT_THROW(ParseServerCount(reply), std::exception);
  // The same reply with a number at position 9 and a close right after it converts.
  const Text early = u"abcdefgh6</a>" + Text(32800, u'x') + u"<servers>4</servers>";
  EXPECT_EQ(ParseServerCount(early), 6);
}

class LatestVersionTest : public ::testing::Test {
 protected:
  Text Download(const Text& body, int32_t status = 200) {
    http.body = body;
    http.replyStatus = status;
    return DownloadLatestVersion(http, u"http://127.0.0.1:1/latest_version.txt", pump);
  }
  FakeHttpRequest http;
  testing::CountingPump pump;
};

TEST_F(LatestVersionTest, GetsTheFileOnceWithGet) {
  EXPECT_EQ(Download(u"1.80"), u"1.80");
  ASSERT_EQ(http.opened.size(), 1u);
  EXPECT_EQ(http.opened[0], u"GET http://127.0.0.1:1/latest_version.txt");
  EXPECT_EQ(http.sends, 1);
}

TEST_F(LatestVersionTest, RemovesBetaLineFeedsByteOrderMarkAndTrailingCarriageReturns) {
  EXPECT_EQ(Download(u"beta 1.80\n"), u"1.80");
  EXPECT_EQ(Download(u"beta 1.80\r\n"), u"1.80");
  EXPECT_EQ(Download(u"\uFEFFbeta 1.80\r\n"), u"1.80");
  EXPECT_EQ(Download(u"beta 1.80\r\n\r\n"), u"1.80");
  EXPECT_EQ(Download(u"1.\n80"), u"1.80");
  EXPECT_EQ(Download(u"beta beta 1.80 beta "), u"1.80 ");
}

TEST_F(LatestVersionTest, KeepsWhatIsNotNamedForRemoval) {
  EXPECT_EQ(Download(u"Beta 1.80"), u"Beta 1.80");  // the match is case-sensitive
  EXPECT_EQ(Download(u"1.80\r2"), u"1.80\r2");      // a carriage return inside stays
  EXPECT_EQ(Download(u"1.80\uFEFF"), u"1.80\uFEFF");  // a mark that is not first stays
  EXPECT_EQ(Download(u""), u"");
}

TEST_F(LatestVersionTest, AStatusOutside2xxIsAFailedDownload) {
  EXPECT_THROW(Download(u"<html>Not Found</html>", 404), HttpError);
  EXPECT_THROW(Download(u"oops", 500), HttpError);
  EXPECT_THROW(Download(u"moved", 301), HttpError);
  EXPECT_THROW(Download(u"", 199), HttpError);
  EXPECT_EQ(Download(u"1.80", 204), u"1.80");
  EXPECT_EQ(Download(u"1.80", 299), u"1.80");
}

TEST_F(LatestVersionTest, AFailedTransferPropagates) {
  http.failSend = true;
  EXPECT_THROW(Download(u"1.80"), HttpError);
}

}  // namespace
}  // namespace quorvex
