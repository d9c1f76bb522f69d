#include "frontends/qt/literal_text.h"

#include "frontends/qt/shown_text.h"

namespace quorvex {

Text DbusMenuLabel(const Text& actionText) {
  Text label;
  for (size_t i = 0; i < actionText.size(); ++i) {
    const char16_t c = actionText[i];
    if (c == u'_') {
      label += u"__";
    } else if (c == u'&' && i + 1 < actionText.size()) {
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
