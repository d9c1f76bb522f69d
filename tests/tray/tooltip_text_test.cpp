// The tooltip's status summary (two or four blanks after "Max Players:") and the alert's message.
#include "tray/tooltip_text.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(TooltipText, TheTooltipAndTheAlertMessage) {
  EXPECT_EQ(SummaryText({12, 34, 10, 16, 3}, 2),
            u"\r\nMax Players:   12\r\n__________________\r\n\r\nTotal Players:    34\r\n"
            u"Servers Online: 10\r\nPlayer-Limit:     16\r\nServer Watchers: 3\r\n ");
  EXPECT_EQ(SummaryText({-1, 0, 0, 4, -2}, 4),
            u"\r\nMax Players:    -1\r\n__________________\r\n\r\nTotal Players:    0\r\n"
            u"Servers Online: 0\r\nPlayer-Limit:     4\r\nServer Watchers: -2\r\n ");
  EXPECT_EQ(AlertMessage(16, 17), u"Player-limit of 16 reached!\r\nPlayers: 17");
}

}  // namespace
}  // namespace quorvex
