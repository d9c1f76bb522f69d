// The XML replies of the count and list endpoints.
#include "tools/mastersim/reply_xml.h"

#include <gtest/gtest.h>


namespace quorvex::mastersim {
namespace {

ServerSet ThreeServers() {
  return ParseServers(R"(
[a]
name = A <1> & co
address = 127.0.0.2
port = 1
players = x, y
[b]
name = B
address = 127.0.0.3
port = 2
online = no
[c]
name = C
address = 127.0.0.4
port = 3
)");
}

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(ReplyXml, ListHoldsTheOnlineServersWithAllTwelveElements) {
  const std::string xml = ListReply(ThreeServers(), 0, 100);
  EXPECT_EQ(Occurrences(xml, "<server>"), 2u);
  for (const char* tag : {"<current_players>", "<name>", "<map_id>", "<map_name>", "<address>", "<port>", "<bots>",
                          "<dedicated>", "<watchers>", "<version>", "<player_names>", "<mode>"}) {
    EXPECT_EQ(Occurrences(xml, tag), 2u) << tag;
  }
  EXPECT_NE(xml.find("<name>A &lt;1&gt; &amp; co</name>"), std::string::npos);
  EXPECT_NE(xml.find("<current_players>2</current_players><player_names>x,y</player_names>"), std::string::npos);
  EXPECT_EQ(xml.find("<name>B</name>"), std::string::npos);  // offline
  EXPECT_NE(CountReply(-3).find("<result><servers>-3</servers></result>"), std::string::npos);
}

TEST(ReplyXml, StartAndSizeSelectAWindowOfTheOnlineServers) {
  const ServerSet servers = ThreeServers();
  EXPECT_EQ(Occurrences(ListReply(servers, 0, 1), "<server>"), 1u);
  EXPECT_NE(ListReply(servers, 1, 5).find("<name>C</name>"), std::string::npos);
  EXPECT_EQ(Occurrences(ListReply(servers, 1, 5), "<server>"), 1u);
  EXPECT_EQ(Occurrences(ListReply(servers, 0, 0), "<server>"), 0u);
  EXPECT_EQ(Occurrences(ListReply(servers, 7, 5), "<server>"), 0u);
  EXPECT_EQ(OnlineCount(servers), 2);
}

}  // namespace
}  // namespace quorvex::mastersim
