#include "tray/tooltip_text.h"

#include "common/numbers.h"

namespace quorvex {

Text SummaryText(const PollFigures& figures, int blanksAfterMaxPlayers) {
  const Text crlf = u"\r\n";
  return crlf +                                                                     //
         u"Max Players:" + Text(static_cast<size_t>(blanksAfterMaxPlayers), u' ') +  //
         FormatSignedBlank(figures.maxPlayers) + crlf +                              //
         Text(18, u'_') + crlf + crlf +                                              //
         u"Total Players:   " + FormatSignedBlank(figures.totalPlayers) + crlf +     //
         u"Servers Online:" + FormatSignedBlank(figures.serverCount) + crlf +        //
         u"Player-Limit:    " + FormatSignedBlank(figures.playerLimit) + crlf +      //
         u"Server Watchers: " + FormatPlain(figures.watchers) + crlf +               //
         u" ";
}

Text AlertMessage(int32_t playerLimit, int16_t maxPlayers) {
  return u"Player-limit of " + FormatPlain(playerLimit) + u" reached!\r\nPlayers: " + FormatPlain(maxPlayers);
}

}  // namespace quorvex
