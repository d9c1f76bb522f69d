#include "frontends/qt/shown_text.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(ShownText, TheTextWithoutItsAccessKeyMark) {
  const struct {
    Text actionText, shown;
  } cases[] = {
      {u"&Quorvex", u"Quorvex"},
      {u"E&xit", u"Exit"},
      {u"x__y && z", u"x__y & z"},             // a server line: its "&" doubled for Qt
      {u"R&&amp;D_Team", u"R&amp;D_Team"},
      {u"&&&first", u"&first"},                // "&&" then a mark
      {u"tail&", u"tail&"},                    // a last "&" marks nothing
      {u"Servers (3)", u"Servers (3)"},
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(ShownText(c.actionText), c.shown) << ToUtf8(c.actionText);
}

}  // namespace
}  // namespace quorvex
