// The captions every menu renderer draws: text from the server list shows "&" as a character,
// the program's own captions keep their access keys.
#include "menu/menu_model.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(AccessKeyCaption, DoublesEveryAmpersandOfTheListsTextOnly) {
  const struct {
    const char* name;
    Text caption, drawn;
  } cases[] = {
      // the list's text: every "&" a character, "_" untouched
      {"menServername", u"x__y & z", u"x__y && z"},
      {"menServername", u"        a_b   C&amp;D", u"        a_b   C&&amp;D"},
      {"menServername", u"        _lead   tail_", u"        _lead   tail_"},
      {"menServername", u"&&", u"&&&&"},
      {"menServerTitle", u"R&amp;D_Team&", u"R&&amp;D_Team&&"},
      // the program's own captions keep their access keys
      {"menAbout", u"&Quorvex", u"&Quorvex"},
      {"menServer", u"Servers (3) & more", u"Servers (3) & more"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AccessKeyCaption(MenuItem{c.name, 1, c.caption}), c.drawn) << c.name << " " << ToUtf8(c.caption);
  }
}

TEST(ShownText, TheCaptionWithoutItsAccessKeyMarks) {
  const struct {
    Text accessKeyCaption, shown;
  } cases[] = {
      {u"&Quorvex", u"Quorvex"},
      {u"E&xit", u"Exit"},
      {u"x__y && z", u"x__y & z"},  // a server line: its "&" doubled
      {u"R&&amp;D_Team", u"R&amp;D_Team"},
      {u"&&&first", u"&first"},  // "&&" then a mark
      {u"&&&&", u"&&"},
      {u"tail&", u"tail"},  // a QMenu draws no last "&"
      {u"tail&&", u"tail&"},
      {u"&", u""},
      {u"Servers (3)", u"Servers (3)"},
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(ShownText(c.accessKeyCaption), c.shown) << ToUtf8(c.accessKeyCaption);
}

}  // namespace
}  // namespace quorvex
