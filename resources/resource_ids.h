// Resource numbers shared by quorvex.rc and the code that loads the resources.
#pragma once

// The normal icon has the lowest number, so it is the executable's own icon.
#define QUORVEX_ICON_NORMAL 101
#define QUORVEX_ICON_ALERT 102
