// A master-list reply of 16 servers shaped like the real one, for the benchmarks.
#pragma once
#include "common/text.h"

namespace quorvex::bench {

// Sixteen <server> elements with every tag the parser reads and a few it skips, names and
// player lists of mixed lengths, some beyond the layout's cuts.
Text SampleServerListReply();

}  // namespace quorvex::bench
