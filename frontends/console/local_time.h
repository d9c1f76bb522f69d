// The local time's offset from UTC as this machine's time zone (TZ) has it.
#pragma once
#include <cstdint>

namespace quorvex {

// Minutes to add to the UTC instant `utcMs` for the local time then.
int32_t LocalOffsetMinutes(int64_t utcMs);

}  // namespace quorvex
