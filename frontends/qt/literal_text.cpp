#include "frontends/qt/literal_text.h"

#include "menu/menu_model.h"

namespace quorvex {

Text DbusMenuLabel(const Text& actionText) {
  Text label;
  for (size_t i = 0; i < actionText.size(); ++i) {
    const char16_t c = actionText[i];
    if (c == u'_') {
      label += u"__";
    } else if (c == u'&') {
      if (i + 1 == actionText.size()) break;  // a last "&" is not shown, as in the QMenu
      const bool doubled = actionText[i + 1] == u'&';
      label += doubled ? u'&' : u'_';  // "&&" is one "&"; "&x" marks x, written next round
      if (doubled) ++i;
    } else {
      label += c;
    }
  }
  return label;
}

Text GnomeShellLabel(const Text& actionText) {
  const Text shown = ShownText(actionText);
  const bool onlyUnderscores = shown.find_first_not_of(u'_') == Text::npos;
  return onlyUnderscores ? shown : u"_" + shown;
}

Text NotificationBody(const Text& text, bool serverReadsMarkup) {
  if (!serverReadsMarkup) return text;
  return ReplaceAll(ReplaceAll(ReplaceAll(text, u"&", u"&amp;"), u"<", u"&lt;"), u">", u"&gt;");
}

}  // namespace quorvex
